// Numbering of the resources that have no "id": per type from 10000 upwards, with the
// high-resolution variants of a PNGI image numbered right after their base image.
#include "resources/ResourceNumbering.h"

#include <algorithm>
#include <array>
#include <map>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "driver/ExitStatus.h"
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

/// True when name is a stem of at least one character followed by a variant suffix.
bool isVariantName(std::string_view name)
{
    for (const VariantGroup& group : variantGroups)
        for (std::string_view suffix : group)
            if (nameEndsWith(name, suffix))
                return true;
    return false;
}

/// The base name that variant suffixes attach to: the name without ".png" / ".PNG".
std::string_view stemOf(std::string_view name)
{
    if (nameEndsWith(name, ".png") || nameEndsWith(name, ".PNG"))
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

/// An unnumbered PNGI record under its name, with its place among the unnumbered records
/// in input order. The name is copied so that ordering compares names that lie side by
/// side in one array, rather than reaching into records spread over memory.
struct NamedPng {
    std::string name;
    Resource* resource;
    std::size_t inputIndex;
};

/// The unnumbered PNGI records: the first of each name in the byte order of the names, the
/// others in input order. The records belong to the by-type table, which outlives the
/// numbering.
struct UnnumberedPngs {
    std::vector<NamedPng> byName;
    std::vector<Resource*> sharingName;
};

bool numberPlainTypes(ResourcesByType& resourcesByType, IdCounters& counters, UnnumberedPngs& pngs)
{
    for (auto& [type, resources] : resourcesByType)
        for (const ResourcePtr& record : resources) {
            Resource& resource = *record;
            if (resource.id != 0)
                continue;
            if (type == resourceTypePNGI)
                pngs.byName.push_back({resource.name, &resource, pngs.byName.size()});
            else if (!counters.assignNext(resource))
                return false;
        }
    return true;
}

/// Sorts the collected records by name and moves every record whose name an earlier record
/// already has to sharingName, in input order.
void orderByName(UnnumberedPngs& pngs)
{
    std::vector<NamedPng>& records = pngs.byName;
    // Stable, so that of records sharing a name the first in input order comes first.
    std::stable_sort(records.begin(), records.end(),
                     [](const NamedPng& a, const NamedPng& b) { return a.name < b.name; });
    std::vector<NamedPng> sharing;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (kept > 0 && records[i].name == records[kept - 1].name) {
            sharing.push_back(std::move(records[i]));
        } else {
            if (kept != i)
                records[kept] = std::move(records[i]);
            ++kept;
        }
    }
    records.resize(kept);
    std::sort(sharing.begin(), sharing.end(),
              [](const NamedPng& a, const NamedPng& b) { return a.inputIndex < b.inputIndex; });
    for (const NamedPng& record : sharing)
        pngs.sharingName.push_back(record.resource);
}

/// The unnumbered variants by stem: for each group, the record named stem + each suffix
/// of the group, or null. Looking a stem up once replaces a dozen name lookups per base.
/// The views point into the names of the ordered records, which outlive the index.
using VariantsOfStem = std::array<std::array<Resource*, 3>, variantGroups.size()>;
using VariantsByStem = std::unordered_map<std::string_view, VariantsOfStem>;

VariantsByStem indexVariantsByStem(const UnnumberedPngs& pngs)
{
    VariantsByStem variantsByStem;
    for (const NamedPng& png : pngs.byName)
        for (std::size_t group = 0; group < variantGroups.size(); ++group)
            for (std::size_t rank = 0; rank < 3; ++rank) {
                const std::string_view suffix = variantGroups[group][rank];
                if (!nameEndsWith(png.name, suffix))
                    continue;
                const std::string_view stem(png.name.data(), png.name.size() - suffix.size());
                variantsByStem[stem][group][rank] = png.resource;
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
    for (const NamedPng& png : pngs.byName) {
        if (png.name.empty() || isVariantName(png.name))
            continue;
        if (!counters.assignNext(*png.resource))
            return false;
        const auto variants = variantsByStem.find(stemOf(png.name));
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
    for (const NamedPng& png : pngs.byName)
        if (png.resource->id == 0 && !counters.assignNext(*png.resource))
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
    if (!numberPlainTypes(resourcesByType, counters, pngs))
        return statusTooManyIds;
    orderByName(pngs);
    if (!numberPngBases(pngs, counters) || !numberPngLeftovers(pngs, counters))
        return statusTooManyIds;
    return statusSuccess;
}

}  // namespace kel::rez
