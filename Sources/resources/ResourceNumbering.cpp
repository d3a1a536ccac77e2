// Numbering of the resources that have no "id": per type from 10000 upwards, with the
// high-resolution variants of a PNGI image numbered right after their base image.
#include "resources/ResourceNumbering.h"

#include <algorithm>
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

/// The next ID of one type.
class __IdCounter
{
public:
    /// Gives resource the next ID; false after the message when none is left.
    bool assignNext(Resource& resource, Diagnostics& diagnostics)
    {
        if (__next > highestResourceId)
            return diagnostics.fail(
                statusTooManyIds,
                "too many resources of type " + resource.type + "; IDs are limited to the range "
                    + kel::utils::itoa(lowestResourceId) + "-" + kel::utils::itoa(highestResourceId)
                    + "(other values are reserved)",
                resourcePlace(resource));
        resource.id = static_cast<std::int16_t>(__next++);
        return true;
    }

private:
    int __next = lowestResourceId;
};

/// The counters of the types, each made on first use. Plain types fetch theirs once for all
/// of their records; the few types numbered by name fetch it for each record.
class __IdCounters
{
public:
    explicit __IdCounters(Diagnostics& diagnostics)
        : __diagnostics(diagnostics)
    {
    }

    bool assignNext(__IdCounter& counter, Resource& resource)
    {
        return counter.assignNext(resource, __diagnostics);
    }
    bool assignNext(Resource& resource) { return assignNext(of(resource.type), resource); }
    __IdCounter& of(const std::string& type) { return __byType[type]; }

private:
    Diagnostics& __diagnostics;
    std::map<std::string, __IdCounter> __byType;
};

/// An unnumbered PNGI record under its name, and its place among them in input order. The
/// record belongs to the by-type table, which outlives the numbering, and so does the name.
struct __NamedPng {
    std::string_view name;
    std::size_t order;
    Resource* resource;
};

bool __sortsBefore(const __NamedPng& png, std::string_view name)
{
    return png.name < name;
}

bool __namedBefore(const __NamedPng& left, const __NamedPng& right)
{
    return left.name < right.name;
}

bool __comesBefore(const __NamedPng& left, const __NamedPng& right)
{
    return left.order < right.order;
}

/// The unnumbered PNGI records: the first of each name sorted by name, the rest in input
/// order. A sorted list, searched by halves, costs a map's comparisons without a node, a
/// copy of the name and a trip through the heap for each record.
struct __UnnumberedPngs {
    std::vector<__NamedPng> byName;
    std::vector<Resource*> sharingName;
};

/// Sorts the records by name and moves all but the first of each name to sharingName, which
/// keeps their input order.
void __sortByName(__UnnumberedPngs& pngs)
{
    std::vector<__NamedPng>& byName = pngs.byName;
    std::stable_sort(byName.begin(), byName.end(), __namedBefore);
    std::vector<__NamedPng> sharing;
    std::size_t kept = 0;
    for (const __NamedPng& png : byName) {
        if (kept != 0 && byName[kept - 1].name == png.name)
            sharing.push_back(png);
        else
            byName[kept++] = png;
    }
    byName.resize(kept);
    std::sort(sharing.begin(), sharing.end(), __comesBefore);
    for (const __NamedPng& png : sharing)
        pngs.sharingName.push_back(png.resource);
}

bool __numberPlainTypes(ResourcesByType& resourcesByType, __IdCounters& counters,
                        __UnnumberedPngs& pngs)
{
    for (auto& [type, resources] : resourcesByType) {
        const bool byName = resourceTypeTraits(type).numbersVariantsAfterBase;
        __IdCounter& counter = counters.of(type);
        for (const ResourcePtr& resource : resources) {
            if (resource->id != 0)
                continue;
            if (!byName) {
                if (!counters.assignNext(counter, *resource))
                    return false;
            } else {
                pngs.byName.push_back({resource->name, pngs.byName.size(), resource.get()});
            }
        }
    }
    __sortByName(pngs);
    return true;
}

using __PngRange =
    std::pair<std::vector<__NamedPng>::const_iterator, std::vector<__NamedPng>::const_iterator>;

/// The records whose names start with stem: a run of the sorted list, which holds every
/// variant of the stem, so that each variant is then looked up among a few names.
__PngRange __namesStartingWith(const std::vector<__NamedPng>& byName, std::string_view stem)
{
    const auto first = std::lower_bound(byName.begin(), byName.end(), stem, __sortsBefore);
    const auto last = std::partition_point(first, byName.end(), [&](const __NamedPng& png) {
        return png.name.substr(0, stem.size()) == stem;
    });
    return {first, last};
}

/// The first unnumbered record among stem + each suffix of the group, or null. A record
/// numbered already (through a base with the same stem) does not count. variantName is
/// only a buffer, reused so that the lookups allocate nothing.
Resource* __findUnnumberedVariant(const __PngRange& withStem, std::string_view stem,
                                  const __VariantGroup& group, std::string& variantName)
{
    for (std::string_view suffix : group) {
        variantName.assign(stem).append(suffix);
        auto found = std::lower_bound(withStem.first, withStem.second, variantName, __sortsBefore);
        if (found != withStem.second && found->name == variantName && found->resource->id == 0)
            return found->resource;
    }
    return nullptr;
}

bool __numberPngBases(__UnnumberedPngs& pngs, __IdCounters& counters)
{
    std::string variantName;
    for (const __NamedPng& base : pngs.byName) {
        if (base.name.empty() || __isVariantName(base.name))
            continue;
        if (!counters.assignNext(*base.resource))
            return false;
        const std::string_view stem = pngBaseStem(base.name);
        const __PngRange withStem = __namesStartingWith(pngs.byName, stem);
        for (const __VariantGroup& group : __variantGroups) {
            Resource* variant = __findUnnumberedVariant(withStem, stem, group, variantName);
            if (variant && !counters.assignNext(*variant))
                return false;
        }
    }
    return true;
}

bool __numberPngLeftovers(__UnnumberedPngs& pngs, __IdCounters& counters)
{
    for (const __NamedPng& png : pngs.byName)
        if (png.resource->id == 0 && !counters.assignNext(*png.resource))
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
