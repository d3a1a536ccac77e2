// The --strict reader: checks that the input is one JSON text as RFC 8259 defines it and
// records where its values lie. It builds no values: the lenient parser still builds the
// tree the run uses, and this reader only tells the user where that parser would go wrong.
#ifndef VANTREL_STRICT_SYNTAX_H
#define VANTREL_STRICT_SYNTAX_H

#include <cstddef>
#include <string>

#include "common/Diagnostics.h"
#include "strict/StrictPlaces.h"

namespace kel::rez {

/// Checks text and reports every problem it finds to diagnostics, which place offsets in
/// text. A fault of structure ends the reading, since nothing after it can be placed; faults
/// that leave the structure clear (a repeated member name, an exponent, bytes that are not
/// UTF-8, a bad escape) do not. Returns where the values read lie, down to the depth the
/// member checks look at (an entry's PiPL description and the objects inside its members):
/// deeper values are checked but not kept. No values when none could be read.
StrictPlaces readStrictSyntax(const std::string& text, Diagnostics& diagnostics);

/// A string or member name as the lenient parser reads it: the bytes between the quotes,
/// with each backslash-quote taken as a quote and every other escape left as written.
std::string strictStringText(const std::string& text, std::size_t openingQuote, std::size_t end);

}  // namespace kel::rez

#endif
