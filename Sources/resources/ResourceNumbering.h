// The numbering of resources that have no "id".
#ifndef VANTREL_RESOURCE_NUMBERING_H
#define VANTREL_RESOURCE_NUMBERING_H

#include <string_view>

#include "common/Diagnostics.h"
#include "resources/Resource.h"

namespace kel::rez {

/// Gives every record with id 0 the next ID of its type. Returns 0, or 88 after reporting
/// its message when a type runs out of IDs.
int assignResourceIds(ResourcesByType& resourcesByType, Diagnostics& diagnostics);

/// The stem of a PNGI variant name, which its base image shares: "arrow" for "arrow@2x" and
/// "arrow@3x.png"; empty when name ends with no variant suffix after at least one character.
std::string_view pngVariantStem(std::string_view name);

/// The stem of a base image name, to which its variants' suffixes attach: "arrow" for "arrow"
/// and "arrow.png".
std::string_view pngBaseStem(std::string_view name);

}  // namespace kel::rez

#endif
