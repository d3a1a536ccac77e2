// Numbering of the resources that have no "id": per type from 10000 upwards, with the
// high-resolution variants of a PNGI image numbered right after their base image.
#include "ResourceIds.h"

#include <array>
#include <cstring>
#include <map>
#include <vector>

#include "ExitStatus.h"
#include "kelutilsStrings.h"

namespace kel::rez {

namespace {

/// The variant suffixes of one resolution, in lookup order.
using VariantGroup = std::array<const char*, 3>;

const std::array<VariantGroup, 4> variantGroups = {{
    {"@2x", "@2x.png", "@2x.PNG"},
    {"@3to2x", "@3to2x.png", "@3to2x.PNG"},
    {"@3x", "@3x.png", "@3x.PNG"},
    {"@4x", "@4x.png", "@4x.PNG"},
}};

bool endsWith(const std::string& text, const char* suffix)
{
    const std::size_t length = std::strlen(suffix);
    return text.size() >= length && text.compare(text.size() - length, length, suffix) == 0;
}

/// A variant has at least one character before its suffix: "@2x" alone is a base.
bool isVariantName(const std::string& name)
{
    for (const VariantGroup& group : variantGroups)
        for (const char* suffix : group)
            if (name.size() > std::strlen(suffix) && endsWith(name, suffix))
                return true;
    return false;
}

/// The base name that variant suffixes attach to: the name without ".png" / ".PNG".
std::string stemOf(const std::string& name)
{
    if (name.size() > 4 && (endsWith(name, ".png") || endsWith(name, ".PNG")))
        return name.substr(0, name.size() - 4);
    return name;
}

class IdCounters
{
public:
    /// Gives resource the next ID of its type; false after the message when none is left.
    bool assignNext(Resource& resource)
    {
        auto counter = nextIdByType.try_emplace(resource.type, lowestResourceId).first;
        if (counter->second > highestResourceId) {
            printError("too many resources of type " + resource.type +
                       "; IDs are limited to the range " + kel::utils::itoa(lowestResourceId) +
                       "-" + kel::utils::itoa(highestResourceId) + "(other values are reserved)");
            return false;
        }
        resource.id = static_cast<std::int16_t>(counter->second++);
        return true;
    }

private:
    std::map<std::string, int> nextIdByType;
};

/// The unnumbered PNGI records: the first of each name by name, the rest in input order.
/// The records belong to the by-type table, which outlives the numbering.
struct UnnumberedPngs {
    std::map<std::string, Resource*> byName;
    std::vector<Resource*> sharingName;
};

bool numberPlainTypes(ResourcesByType& resourcesByType, IdCounters& counters, UnnumberedPngs& pngs)
{
    for (auto& [type, resources] : resourcesByType)
        for (const ResourcePtr& resource : resources) {
            if (resource->id != 0)
                continue;
            if (type != resourceTypePNGI) {
                if (!counters.assignNext(*resource))
                    return false;
            } else if (!pngs.byName.emplace(resource->name, resource.get()).second) {
                pngs.sharingName.push_back(resource.get());
            }
        }
    return true;
}

/// The first unnumbered record among stem + each suffix of the group, or null. A record
/// numbered already (through a base with the same stem) does not count. variantName is
/// only a buffer, reused so that the lookups allocate nothing.
Resource* findUnnumberedVariant(const UnnumberedPngs& pngs, const std::string& stem,
                                const VariantGroup& group, std::string& variantName)
{
    for (const char* suffix : group) {
        variantName.assign(stem).append(suffix);
        auto found = pngs.byName.find(variantName);
        if (found != pngs.byName.end() && found->second->id == 0)
            return found->second;
    }
    return nullptr;
}

bool numberPngBases(UnnumberedPngs& pngs, IdCounters& counters)
{
    std::string variantName;
    for (auto& [name, resource] : pngs.byName) {
        if (name.empty() || isVariantName(name))
            continue;
        if (!counters.assignNext(*resource))
            return false;
        const std::string stem = stemOf(name);
        for (const VariantGroup& group : variantGroups) {
            Resource* variant = findUnnumberedVariant(pngs, stem, group, variantName);
            if (variant && !counters.assignNext(*variant))
                return false;
        }
    }
    return true;
}

bool numberPngLeftovers(UnnumberedPngs& pngs, IdCounters& counters)
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

int assignResourceIds(ResourcesByType& resourcesByType)
{
    IdCounters counters;
    UnnumberedPngs pngs;
    if (!numberPlainTypes(resourcesByType, counters, pngs) || !numberPngBases(pngs, counters) ||
        !numberPngLeftovers(pngs, counters))
        return statusTooManyIds;
    return statusSuccess;
}

}  // namespace kel::rez
