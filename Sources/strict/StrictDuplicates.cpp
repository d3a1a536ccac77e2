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

/// Where the entry names its "id"; none when it gives none.
std::size_t __idName(std::size_t entryIndex, const StrictPlaces& places)
{
    const std::size_t id = places.valueAt({Place::unknown, entryIndex, {"id"}});
    return id == StrictValue::none ? id : places[id].keyOffset;
}

// An explicit "id" is what the user would change: the later one's, else the earlier one's.
// A terminology resource has no "id" of its own, so the later PiPL entry is shown.
std::size_t __placeOf(const __Claim& first, const __Claim& later, const StrictPlaces& places)
{
    const std::size_t entry = places.offsetOf({Place::unknown, later.entryIndex});
    if (later.isTerminology)
        return entry;
    const std::size_t shown = __idName(later.entryIndex, places);
    const std::size_t earlier = __idName(first.entryIndex, places);
    return shown != StrictValue::none ? shown : earlier != StrictValue::none ? earlier : entry;
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
