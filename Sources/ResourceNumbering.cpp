// Numbering of the resources that have no "id": per type from 10000 upwards, with the
// high-resolution variants of a PNGI image numbered right after their base image.
#include "ResourceIds.h"

#include <array>
#include <map>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ExitStatus.h"
#include "kelutilsStrings.h"

namespace kel::rez {

namespace {

/// The variant suffixes of one resolution, in lookup order.
using VariantGroup = std::array<std::string_view, 3>;

constexpr std::array<VariantGroup, 4> variantGroups = {{
    {"@2x", "@2x.png", "@2x.PNG"},
    {"@3to2x", "@3to2x.png", "@3to2x.PNG"},
    {"@3x", "@3x.png", "@3x.PNG"},
    {"@4x", "@4x.png", "@4x.PNG"},
}};

bool endsWith(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

/// True when name is stem + suffix for some stem of at least one character: "@2x" alone is
/// a base.
bool hasVariantSuffix(std::string_view name, std::string_view suffix)
{
    return name.size() > suffix.size() && endsWith(name, suffix);
}

bool isVariantName(std::string_view name)
{
    for (const VariantGroup& group : variantGroups)
        for (std::string_view suffix : group)
            if (hasVariantSuffix(name, suffix))
                return true;
    return false;
}

/// The base name that variant suffixes attach to: the name without ".png" / ".PNG".
std::string_view stemOf(std::string_view name)
{
    if (name.size() > 4 && (endsWith(name, ".png") || endsWith(name, ".PNG")))
        name.remove_suffix(4);
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
        for (std::size_t i = 0; i < resources.size(); ++i) {
            prefetchAhead(resources, i);
            const ResourcePtr& resource = resources[i];
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

/// The unnumbered variants by stem: for each group, the record named stem + each suffix
/// of the group, or null. Looking a stem up once replaces a dozen name lookups per base.
/// The views point into the keys of the name table, which outlives the index.
using VariantsOfStem = std::array<std::array<Resource*, 3>, variantGroups.size()>;
using VariantsByStem = std::unordered_map<std::string_view, VariantsOfStem>;

VariantsByStem indexVariantsByStem(const UnnumberedPngs& pngs)
{
    VariantsByStem variantsByStem;
    for (const auto& [name, resource] : pngs.byName)
        for (std::size_t group = 0; group < variantGroups.size(); ++group)
            for (std::size_t rank = 0; rank < 3; ++rank) {
                const std::string_view suffix = variantGroups[group][rank];
                if (!hasVariantSuffix(name, suffix))
                    continue;
                const std::string_view stem(name.data(), name.size() - suffix.size());
                variantsByStem[stem][group][rank] = resource;
            }
    return variantsByStem;
}

/// The first record of the group still without an ID, or null. A record numbered already
/// (through a base with the same stem) does not count.
Resource* firstUnnumbered(const std::array<Resource*, 3>& group)
{
    for (Resource* variant : group)
        if (variant != nullptr && variant->id == 0)
            return variant;
    return nullptr;
}

bool numberPngBases(UnnumberedPngs& pngs, IdCounters& counters)
{
    const VariantsByStem variantsByStem = indexVariantsByStem(pngs);
    for (auto& [name, resource] : pngs.byName) {
        if (name.empty() || isVariantName(name))
            continue;
        if (!counters.assignNext(*resource))
            return false;
        const auto variants = variantsByStem.find(stemOf(name));
        if (variants == variantsByStem.end())
            continue;
        for (const auto& group : variants->second) {
            Resource* variant = firstUnnumbered(group);
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
