#include "strict/StrictDuplicates.h"

#include <algorithm>
#include <string>
#include <tuple>

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

/// The ID of the terminology resource the PiPL compiler adds after the resource, or 0.
int __terminologyId(const Resource& resource, const TerminologyIds& listedTerminologyIds)
{
    if (resource.type != resourceTypePiPL || !resource.dataObject)
        return 0;
    return piplTerminologyResourceId(*resource.dataObject.get(), listedTerminologyIds);
}

std::vector<__Claim> __claims(const ResourcesByType& resourcesByType)
{
    const TerminologyIds listedTerminologyIds = listedTerminologyResourceIds(resourcesByType);
    std::vector<__Claim> claims;
    for (const auto& [type, resources] : resourcesByType)
        for (const ResourcePtr& resource : resources) {
            claims.push_back({&type, resource->id, resource->entryIndex, false});
            if (int terminologyId = __terminologyId(*resource, listedTerminologyIds))
                claims.push_back({&resourceTypeAETE, terminologyId, resource->entryIndex, true});
        }
    return claims;
}

// Where an entry's problem is shown: the name of its "id", or the entry when it has none.
std::size_t __idPlace(std::size_t entryIndex, const std::vector<StrictEntryPlace>& places)
{
    if (entryIndex >= places.size())
        return 0;
    const StrictEntryPlace& place = places[entryIndex];
    return place.idName != StrictValue::none ? place.idName : place.entry;
}

bool __hasExplicitId(std::size_t entryIndex, const std::vector<StrictEntryPlace>& places)
{
    return entryIndex < places.size() && places[entryIndex].idName != StrictValue::none;
}

// An explicit "id" is what the user would change: the later one's, else the earlier one's.
// A terminology resource has no "id" of its own, so the later PiPL entry is shown.
std::size_t __placeOf(const __Claim& first, const __Claim& later,
                      const std::vector<StrictEntryPlace>& places)
{
    if (later.isTerminology)
        return later.entryIndex < places.size() ? places[later.entryIndex].entry : 0;
    if (!__hasExplicitId(later.entryIndex, places) && __hasExplicitId(first.entryIndex, places))
        return __idPlace(first.entryIndex, places);
    return __idPlace(later.entryIndex, places);
}

}  // namespace

void checkDuplicateIds(const ResourcesByType& resourcesByType,
                       const std::vector<StrictEntryPlace>& places, StrictProblems& problems)
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
        problems.add(__placeOf(claims[first], claims[i], places),
                     "entries " + std::to_string(claims[first].entryIndex) + " and "
                         + std::to_string(claims[i].entryIndex) + " are both " + *claims[i].type
                         + " resource " + std::to_string(claims[i].id));
    }
}

}  // namespace kel::rez
