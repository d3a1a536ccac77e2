// Where the values of a --strict run's input lie, kept after the text is gone, so that the
// problems the loader, the numbering and the output pass find can name their line and column.
#ifndef VANTREL_STRICT_PLACES_H
#define VANTREL_STRICT_PLACES_H

#include <cstddef>
#include <string>
#include <vector>

#include "common/Diagnostics.h"
#include "strict/StrictSyntax.h"

namespace kel::rez {

class StrictPlaces
{
public:
    StrictPlaces() = default;
    /// Takes the values the strict reader kept, and their member names from text.
    StrictPlaces(const StrictDocument& document, const std::string& text);

    /// The offset of the value where.path leads to in the entry where.entry (the entry itself
    /// for an empty path), or of the deepest value on the way that exists: a missing member
    /// is placed at the object that lacks it. The path's first name is matched with every
    /// spelling the loader accepts for it. Place::unknown when the entry is not known.
    std::size_t offsetOf(const Place& where) const;

private:
    std::size_t __child(std::size_t container, const std::string& name, bool entryMember) const;

    std::vector<StrictValue> __values;
    std::vector<std::string> __names;  // per value, its member name ("" for elements)
};

}  // namespace kel::rez

#endif
