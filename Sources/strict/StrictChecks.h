// The --strict checks of what the entries of a list say: member names the tool would pass
// over without a word, files that are not there, and values the outputs would not carry as
// the list means them.
#ifndef VANTREL_STRICT_CHECKS_H
#define VANTREL_STRICT_CHECKS_H

#include <string>

#include "common/Diagnostics.h"
#include "strict/StrictPlaces.h"

namespace kel::rez {

/// Reports each member name the tool does not know (in an entry, in a PiPL description or
/// in the objects its members hold), each "file" that does not exist relative to the current
/// folder, and each value the outputs would not carry as written. places are those of text.
/// Entries that are not objects are left to the loader.
void checkStrictEntries(const StrictPlaces& places, const std::string& text,
                        Diagnostics& diagnostics);

}  // namespace kel::rez

#endif
