// The raw byte image of Illustrator property lists, for the --pipl file.
#ifndef VANTREL_PIPL_BYTE_IMAGE_H
#define VANTREL_PIPL_BYTE_IMAGE_H

#include <string>
#include <vector>

#include "pipl/PiplPropertyList.h"

namespace kel::rez {

/// Appends one block: 'ivrs', 'kind', an empty 'mi32' and the zero-terminated plug-in name.
void __appendByteImage(const PiplKind& kind, const std::string& pluginName,
                       std::vector<unsigned char>& bytes);

}  // namespace kel::rez

#endif
