// Names derived from file paths, and the numbering of resources that have no "id".
#ifndef VANTREL_RESOURCE_IDS_H
#define VANTREL_RESOURCE_IDS_H

#include <string>

#include "Resource.h"

namespace kel::rez {

/// Explicit IDs must lie in this range; generated IDs count up from its start.
inline constexpr int lowestResourceId = 10000;
inline constexpr int highestResourceId = 32767;

/// The resource name a file path stands for: res/icons/arrow@2x.png gives arrow@2x.
std::string nameFromFilePath(const std::string& file);

/// Gives every record with id 0 the next ID of its type. Returns 0, or 88 after printing
/// its message when a type runs out of IDs.
int assignResourceIds(ResourcesByType& resourcesByType);

}  // namespace kel::rez

#endif
