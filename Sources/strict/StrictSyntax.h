// The --strict reader: checks that the input is one JSON text as RFC 8259 defines it and
// records where its values lie. It builds no values: the lenient parser still builds the
// tree the run uses, and this reader only tells the user where that parser would go wrong.
#ifndef VANTREL_STRICT_SYNTAX_H
#define VANTREL_STRICT_SYNTAX_H

#include <cstddef>
#include <string>
#include <vector>

#include "strict/StrictProblems.h"

namespace kel::rez {

/// Where one value lies in the text, by byte offsets.
struct StrictValue {
    enum class Kind : unsigned char { object, array, string, number, literal };
    static constexpr std::size_t none = static_cast<std::size_t>(-1);

    Kind kind;
    std::size_t offset;             // its first byte
    std::size_t end = none;         // strings: one past the closing quote
    std::size_t keyOffset = none;   // in an object: the opening quote of its member name
    std::size_t keyEnd = none;      // one past the closing quote of that name
    std::size_t firstChild = none;  // containers: their first member or element
    std::size_t nextSibling = none;
};

/// The values of a document in text order, values[0] being the root, down to the depth the
/// member checks look at (an entry's PiPL description and the objects inside its members);
/// deeper values are checked but not kept. Empty when no value could be read.
struct StrictDocument {
    std::vector<StrictValue> values;
};

/// Checks text and adds every problem it finds to problems. A fault of structure ends the
/// reading, since nothing after it can be placed; faults that leave the structure clear
/// (a repeated member name, an exponent, bytes that are not UTF-8, a bad escape) do not.
StrictDocument readStrictSyntax(const std::string& text, StrictProblems& problems);

/// A string or member name as the lenient parser reads it: the bytes between the quotes,
/// with each backslash-quote taken as a quote and every other escape left as written.
std::string strictStringText(const std::string& text, std::size_t openingQuote, std::size_t end);

}  // namespace kel::rez

#endif
