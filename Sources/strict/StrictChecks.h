// The --strict checks of what the entries of a list say: member names the tool would pass
// over without a word, and files that are not there.
#ifndef VANTREL_STRICT_CHECKS_H
#define VANTREL_STRICT_CHECKS_H

#include <string>
#include <vector>

#include "strict/StrictProblems.h"
#include "strict/StrictSyntax.h"

namespace kel::rez {

/// Where an entry of the root array lies, for messages about it after loading.
struct StrictEntryPlace {
    std::size_t entry;                       // the entry's first byte
    std::size_t idName = StrictValue::none;  // the name of the "id" member the loader reads
};

/// Adds a problem for each member name the tool does not know (in an entry, in a PiPL
/// description or in the objects its members hold), and for each "file" that does not
/// exist relative to the current folder. Entries that are not objects are left to the loader.
void checkStrictEntries(const StrictDocument& document, const std::string& text,
                        StrictProblems& problems);

/// The place of each element of the root array, in order; empty when the root is no array.
std::vector<StrictEntryPlace> strictEntryPlaces(const StrictDocument& document,
                                                const std::string& text);

}  // namespace kel::rez

#endif
