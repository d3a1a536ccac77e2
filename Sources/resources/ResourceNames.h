// Names derived from file paths, for resources given by file without a "name".
#ifndef VANTREL_RESOURCE_NAMES_H
#define VANTREL_RESOURCE_NAMES_H

#include <string>

namespace kel::rez {

/// The resource name a file path stands for: res/icons/arrow@2x.png gives arrow@2x.
std::string nameFromFilePath(const std::string& file);

}  // namespace kel::rez

#endif
