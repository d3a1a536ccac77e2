// Numbering of the resources that have no "id": per type from 10000 upwards, with the
// high-resolution variants of a PNGI image numbered right after their base image.
#include "resources/ResourceNumbering.h"

#include <array>
#include <map>
#include <string_view>
#include <vector>

#include "common/Diagnostics.h"
#include "common/ExitStatus.h"
#include "kelutilsStrings.h"
#include "resources/ResourceType.h"

namespace kel::rez {

namespace {

/// The variant suffixes of one resolution, in lookup order.
using __VariantGroup = std::array<std::string_view, 3>;

constexpr std::array<__VariantGroup, 4> __variantGroups = {{
    {"@2x", "@2x.png", "@2x.PNG"},
    {"@3to2x", "@3to2x.png", "@3to2x.PNG"},
    {"@3x", "@3x.png", "@3x.PNG"},
    {"@4x", "@4x.png", "@4x.PNG"},
}};

/// Each group's later suffixes extend its first, so that one prefix search in the sorted
/// names can tell whether any name of the group is there.
constexpr bool __groupsExtendTheirFirstSuffix()
{
    for (const __VariantGroup& group : __variantGroups)
        for (std::string_view suffix : group)
            if (suffix.substr(0, group[0].size()) != group[0])
                return false;
    return true;
}
static_assert(__groupsExtendTheirFirstSuffix());

bool __isVariantName(std::string_view name)
{
    return !pngVariantStem(name).empty();
}

}  // namespace

std::string_view pngVariantStem(std::string_view name)
{
    for (const __VariantGroup& group : __variantGroups)
        for (std::string_view suffix : group)
            if (nameEndsWith(name, suffix))
                return name.substr(0, name.size() - suffix.size());
    return {};
}

std::string_view pngBaseStem(std::string_view name)
{
    if (nameEndsWith(name, ".png") || nameEndsWith(name, ".PNG"))
        name.remove_suffix(4);
    return name;
}

namespace {

class __IdCounters
{
public:
    explicit __IdCounters(Diagnostics& diagnostics)
        : __diagnostics(diagnostics)
    {
    }

    /// Gives resource the next ID of its type; false after the message when none is left.
    bool assignNext(Resource& resource)
    {
        auto counter = __nextIdByType.try_emplace(resource.type, lowestResourceId).first;
        if (counter->second > highestResourceId)
            return __diagnostics.fail(
                statusTooManyIds,
                "too many resources of type " + resource.type + "; IDs are limited to the range "
                    + kel::utils::itoa(lowestResourceId) + "-" + kel::utils::itoa(highestResourceId)
                    + "(other values are reserved)",
                resourcePlace(resource));
        resource.id = static_cast<std::int16_t>(counter->second++);
        return true;
    }

private:
    Diagnostics& __diagnostics;
    std::map<std::string, int> __nextIdByType;
};

/// The unnumbered PNGI records: the first of each name by name, the rest in input order.
/// The records belong to the by-type table, which outlives the numbering. The names are
/// copied: compared where they lie in the map, they cost no trip to each record.
struct __UnnumberedPngs {
    std::map<std::string, Resource*> byName;
    std::vector<Resource*> sharingName;
};

bool __numberPlainTypes(ResourcesByType& resourcesByType, __IdCounters& counters,
                        __UnnumberedPngs& pngs)
{
    for (auto& [type, resources] : resourcesByType) {
        const bool byName = resourceTypeTraits(type).numbersVariantsAfterBase;
        for (const ResourcePtr& resource : resources) {
            if (resource->id != 0)
                continue;
            if (!byName) {
                if (!counters.assignNext(*resource))
                    return false;
            } else if (!pngs.byName.emplace(resource->name, resource.get()).second) {
                pngs.sharingName.push_back(resource.get());
            }
        }
    }
    return true;
}

/// Whether a name begins with prefix: the names that do follow one another in the map, from
/// where prefix itself would stand.
bool __holdsNameStartingWith(const __UnnumberedPngs& pngs, const std::string& prefix)
{
    const auto first = pngs.byName.lower_bound(prefix);
    return first != pngs.byName.end() && first->first.compare(0, prefix.size(), prefix) == 0;
}

/// The first unnumbered record among stem + each suffix of the group, or null. A record
/// numbered already (through a base with the same stem) does not count. variantName is
/// only a buffer, reused so that the lookups allocate nothing. Most images lack most
/// resolutions: one search for the group's first suffix then stands for the group's three.
Resource* __findUnnumberedVariant(const __UnnumberedPngs& pngs, std::string_view stem,
                                  const __VariantGroup& group, std::string& variantName)
{
    if (!__holdsNameStartingWith(pngs, variantName.assign(stem).append(group[0])))
        return nullptr;
    for (std::string_view suffix : group) {
        variantName.assign(stem).append(suffix);
        auto found = pngs.byName.find(variantName);
        if (found != pngs.byName.end() && found->second->id == 0)
            return found->second;
    }
    return nullptr;
}

bool __numberPngBases(__UnnumberedPngs& pngs, __IdCounters& counters)
{
    std::string variantName;
    for (auto& [name, resource] : pngs.byName) {
        if (name.empty() || __isVariantName(name))
            continue;
        if (!counters.assignNext(*resource))
            return false;
        for (const __VariantGroup& group : __variantGroups) {
            Resource* variant = __findUnnumberedVariant(pngs, pngBaseStem(name), group, variantName);
            if (variant && !counters.assignNext(*variant))
                return false;
        }
    }
    return true;
}

bool __numberPngLeftovers(__UnnumberedPngs& pngs, __IdCounters& counters)
{
    for (auto& [name, resource] : pngs.byName)
        if (resource->id == 0 && !counters.assignNext(*resource))
            return false;
    for (Resource* resource : pngs.sharingName)
        if (!counters.assignNext(*resource))
            return false;
    return true;
}

}  // namespace

int assignResourceIds(ResourcesByType& resourcesByType, Diagnostics& diagnostics)
{
    __IdCounters counters(diagnostics);
    __UnnumberedPngs pngs;
    if (!__numberPlainTypes(resourcesByType, counters, pngs) || !__numberPngBases(pngs, counters)
        || !__numberPngLeftovers(pngs, counters))
        return statusTooManyIds;
    return statusSuccess;
}

}  // namespace kel::rez
