#include "strict/StrictDuplicates.h"

#include <algorithm>
#include <string>
#include <tuple>

#include "common/ExitStatus.h"
#include "pipl/Pipl.h"

namespace kel::rez {

namespace {

// One resource of the output: its type and ID, and the entry it comes from.
struct __Claim {
    const std::string* type;
    int id;
    std::size_t entryIndex;
    bool isTerminology;
};

std::vector<__Claim> __claims(const ResourcesByType& resourcesByType)
{
    const TerminologyIds listedTerminologyIds = listedTerminologyResourceIds(resourcesByType);
    std::vector<__Claim> claims;
    for (const auto& [type, resources] : resourcesByType)
        for (const ResourcePtr& resource : resources) {
            claims.push_back({&type, resource->id, resource->entryIndex, false});
            // The terminology resource the PiPL compiler adds after the description.
            if (resource->type == resourceTypePiPL && resource->dataObject)
                if (int id = piplTerminologyResourceId(*resource->dataObject.get(),
                                                       listedTerminologyIds))
                    claims.push_back({&resourceTypeAETE, id, resource->entryIndex, true});
        }
    return claims;
}

/// Where an entry's problem is shown: the name of its "id", or the entry when it has none.
struct __EntryPlace {
    std::size_t offset;
    bool explicitId;
};

__EntryPlace __entryPlace(std::size_t entryIndex, const StrictPlaces& places)
{
    const std::size_t value = places.valueAt({Place::unknown, entryIndex, {"id"}});
    if (value == StrictValue::none)
        return {Place::unknown, false};
    const StrictValue& idOrEntry = places[value];
    const bool explicitId = idOrEntry.keyOffset != StrictValue::none;
    return {explicitId ? idOrEntry.keyOffset : idOrEntry.offset, explicitId};
}

// An explicit "id" is what the user would change: the later one's, else the earlier one's.
// A terminology resource has no "id" of its own, so the later PiPL entry is shown.
std::size_t __placeOf(const __Claim& first, const __Claim& later, const StrictPlaces& places)
{
    if (later.isTerminology)
        return places.offsetOf({Place::unknown, later.entryIndex});
    const __EntryPlace earlier = __entryPlace(first.entryIndex, places);
    const __EntryPlace shown = __entryPlace(later.entryIndex, places);
    return !shown.explicitId && earlier.explicitId ? earlier.offset : shown.offset;
}

}  // namespace

void checkDuplicateIds(const ResourcesByType& resourcesByType, const StrictPlaces& places,
                       Diagnostics& diagnostics)
{
    std::vector<__Claim> claims = __claims(resourcesByType);
    std::stable_sort(claims.begin(), claims.end(), [](const __Claim& a, const __Claim& b) {
        return std::tie(*a.type, a.id, a.entryIndex) < std::tie(*b.type, b.id, b.entryIndex);
    });
    std::size_t first = 0;
    for (std::size_t i = 1; i < claims.size(); ++i) {
        if (*claims[i].type != *claims[first].type || claims[i].id != claims[first].id) {
            first = i;
            continue;
        }
        diagnostics.fail(statusStrictCheckFailed,
                         "entries " + std::to_string(claims[first].entryIndex) + " and "
                             + std::to_string(claims[i].entryIndex) + " are both " + *claims[i].type
                             + " resource " + std::to_string(claims[i].id),
                         {__placeOf(claims[first], claims[i], places)});
    }
}

}  // namespace kel::rez
