// The --strict check that runs after numbering: two resources of one type with one ID,
// which both resource compilers would quietly reduce to one.
#ifndef VANTREL_STRICT_DUPLICATES_H
#define VANTREL_STRICT_DUPLICATES_H

#include <vector>

#include "strict/StrictChecks.h"
#include "strict/StrictProblems.h"
#include "resources/Resource.h"

namespace kel::rez {

/// Adds a problem for every entry whose resource has the type and ID of an earlier entry's,
/// explicit and generated IDs alike, counting the "aete" resource that each Photoshop PiPL
/// brings. places holds the place of each entry by its index.
void checkDuplicateIds(const ResourcesByType& resourcesByType,
                       const std::vector<StrictEntryPlace>& places, StrictProblems& problems);

}  // namespace kel::rez

#endif
