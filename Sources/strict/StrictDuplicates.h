// The --strict check that runs after numbering: two resources of one type with one ID,
// which both resource compilers would quietly reduce to one.
#ifndef VANTREL_STRICT_DUPLICATES_H
#define VANTREL_STRICT_DUPLICATES_H

#include "common/Diagnostics.h"
#include "resources/Resource.h"
#include "strict/StrictPlaces.h"

namespace kel::rez {

/// Reports every entry whose resource has the type and ID of an earlier entry's, explicit
/// and generated IDs alike, counting the "aete" resource that each Photoshop PiPL brings.
/// places are those of the list the resources were loaded from.
void checkDuplicateIds(const ResourcesByType& resourcesByType, const StrictPlaces& places,
                       Diagnostics& diagnostics);

}  // namespace kel::rez

#endif
