// Where the values of a --strict run's input lie, kept after the text is gone: the member
// checks walk it, and the problems the loader, the numbering and the output pass find are
// placed by it at their line and column.
#ifndef VANTREL_STRICT_PLACES_H
#define VANTREL_STRICT_PLACES_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/Diagnostics.h"
#include "resources/ResourceLoader.h"

namespace kel::rez {

/// Where one value lies in the text, by byte offsets.
struct StrictValue {
    enum class Kind : unsigned char { object, array, string, number, literal };
    static constexpr std::size_t none = Place::unknown;

    Kind kind;
    std::size_t offset;             // its first byte
    std::size_t end = none;         // strings: one past the closing quote
    std::size_t keyOffset = none;   // in an object: the opening quote of its member name
    std::string name = {};          // that name as the lenient parser reads it
    std::size_t firstChild = none;  // containers: their first member or element
    std::size_t nextSibling = none;
};

class StrictPlaces
{
public:
    StrictPlaces() = default;
    /// values in text order, values[0] being the root.
    explicit StrictPlaces(std::vector<StrictValue> values);

    const std::vector<StrictValue>& values() const { return __values; }
    const StrictValue& operator[](std::size_t value) const { return __values[value]; }
    bool isA(std::size_t value, StrictValue::Kind kind) const
    {
        return value != StrictValue::none && __values[value].kind == kind;
    }

    /// The elements of the root array; none when the root is no array.
    const std::vector<std::size_t>& entries() const { return __entries; }
    std::vector<std::size_t> childrenOf(std::size_t container) const;

    /// The first member of object named name; none when it has none.
    std::size_t member(std::size_t object, std::string_view name) const;
    /// The entry's member of kind that the loader reads: the first spelling present wins.
    std::size_t entryMember(std::size_t entry, EntryMemberKind kind) const;

    /// The value where.path leads to in the entry where.entry (the entry itself for an empty
    /// path), or the deepest value on the way that exists: a missing member is placed at the
    /// object that lacks it. The path's first name is matched with every spelling the loader
    /// accepts for it. none when the entry is not known.
    std::size_t valueAt(const Place& where) const;
    /// The offset of that value; Place::unknown when the entry is not known.
    std::size_t offsetOf(const Place& where) const;

private:
    std::size_t __child(std::size_t container, const std::string& name, bool entryMember) const;

    std::vector<StrictValue> __values;
    std::vector<std::size_t> __entries;
};

}  // namespace kel::rez

#endif
