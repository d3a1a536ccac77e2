#include "strict/StrictPlaces.h"

#include <cstdlib>

namespace kel::rez {

namespace {

constexpr std::size_t __none = StrictValue::none;

/// The element index a path part names, or none for a part that is not a decimal index.
std::size_t __indexOf(const std::string& part)
{
    if (part.empty() || part.find_first_not_of("0123456789") != std::string::npos)
        return __none;
    return static_cast<std::size_t>(std::strtoull(part.c_str(), nullptr, 10));
}

}  // namespace

StrictPlaces::StrictPlaces(std::vector<StrictValue> values)
    : __values(std::move(values))
{
    if (!__values.empty() && isA(0, StrictValue::Kind::array))
        __entries = childrenOf(0);
}

std::vector<std::size_t> StrictPlaces::childrenOf(std::size_t container) const
{
    std::vector<std::size_t> children;
    for (std::size_t child = __values[container].firstChild; child != __none;
         child = __values[child].nextSibling)
        children.push_back(child);
    return children;
}

std::size_t StrictPlaces::member(std::size_t object, std::string_view name) const
{
    if (!isA(object, StrictValue::Kind::object))
        return __none;
    std::size_t child = __values[object].firstChild;
    while (child != __none && __values[child].name != name)
        child = __values[child].nextSibling;
    return child;
}

std::size_t StrictPlaces::entryMember(std::size_t entry, EntryMemberKind kind) const
{
    for (std::string_view spelling : entryMemberNames[kind])
        if (const std::size_t found = member(entry, spelling); found != __none)
            return found;
    return __none;
}

std::size_t StrictPlaces::__child(std::size_t container, const std::string& name,
                                  bool entryMember) const
{
    if (isA(container, StrictValue::Kind::array)) {
        const std::vector<std::size_t> children = childrenOf(container);
        const std::size_t index = __indexOf(name);
        return index < children.size() ? children[index] : __none;
    }
    // The entry's members by their first spelling, which stands for every spelling.
    std::size_t kind = 0, rank = 0;
    if (entryMember && entryMemberKindOf(name, kind, rank) && rank == 0)
        return this->entryMember(container, static_cast<EntryMemberKind>(kind));
    return member(container, name);
}

std::size_t StrictPlaces::valueAt(const Place& where) const
{
    if (where.entry >= __entries.size())
        return __none;
    std::size_t value = __entries[where.entry];
    for (std::size_t depth = 0; depth < where.path.size(); ++depth) {
        const std::size_t child = __child(value, where.path[depth], depth == 0);
        if (child == __none)
            break;
        value = child;
    }
    return value;
}

std::size_t StrictPlaces::offsetOf(const Place& where) const
{
    const std::size_t value = valueAt(where);
    return value == __none ? Place::unknown : __values[value].offset;
}

}  // namespace kel::rez
