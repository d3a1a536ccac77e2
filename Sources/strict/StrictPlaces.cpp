#include "strict/StrictPlaces.h"

#include <cstdlib>

#include "resources/ResourceLoader.h"

namespace kel::rez {

namespace {

constexpr std::size_t __none = StrictValue::none;

/// The spellings the loader accepts for an entry member named by its first spelling; just
/// name for any other.
std::vector<std::string_view> __spellingsOf(const std::string& name)
{
    for (const auto& spellings : entryMemberNames)
        if (spellings[0] == name)
            return {std::begin(spellings), std::end(spellings)};
    return {name};
}

/// The element index a path part names, or none for a part that is not a decimal index.
std::size_t __indexOf(const std::string& part)
{
    if (part.empty() || part.find_first_not_of("0123456789") != std::string::npos)
        return __none;
    return static_cast<std::size_t>(std::strtoull(part.c_str(), nullptr, 10));
}

}  // namespace

StrictPlaces::StrictPlaces(const StrictDocument& document, const std::string& text)
    : __values(document.values)
{
    __names.reserve(__values.size());
    for (const StrictValue& value : __values)
        __names.push_back(value.keyOffset == __none
                              ? std::string()
                              : strictStringText(text, value.keyOffset, value.keyEnd));
}

std::size_t StrictPlaces::__child(std::size_t container, const std::string& name,
                                  bool entryMember) const
{
    const StrictValue& parent = __values[container];
    if (parent.kind == StrictValue::Kind::array) {
        std::size_t index = __indexOf(name);
        std::size_t child = parent.firstChild;
        for (; child != __none && index != 0 && index != __none; --index)
            child = __values[child].nextSibling;
        return index == 0 ? child : __none;
    }
    if (parent.kind != StrictValue::Kind::object)
        return __none;
    // The first spelling present wins, as in the loader; for other names the first member.
    for (std::string_view spelling :
         entryMember ? __spellingsOf(name) : std::vector<std::string_view>{name})
        for (std::size_t child = parent.firstChild; child != __none;
             child = __values[child].nextSibling)
            if (__names[child] == spelling)
                return child;
    return __none;
}

std::size_t StrictPlaces::offsetOf(const Place& where) const
{
    if (where.entry == Place::unknown || __values.empty()
        || __values[0].kind != StrictValue::Kind::array)
        return Place::unknown;
    std::size_t value = __child(0, std::to_string(where.entry), false);
    if (value == __none)
        return Place::unknown;
    for (std::size_t depth = 0; depth < where.path.size(); ++depth) {
        const std::size_t child = __child(value, where.path[depth], depth == 0);
        if (child == __none)
            break;
        value = child;
    }
    return __values[value].offset;
}

}  // namespace kel::rez
