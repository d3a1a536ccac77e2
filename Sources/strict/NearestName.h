// The known name a misspelt one was most likely meant to be.
#ifndef VANTREL_NEAREST_NAME_H
#define VANTREL_NEAREST_NAME_H

#include <string_view>
#include <vector>

namespace kel::rez {

/// The first of known at the fewest edits from name, when it is within reach: at most two
/// edits, or a third of name's length for longer names (an edit inserts, removes or replaces
/// one byte, or swaps two neighbours). Letter case is compared last: "FILTERLAYERS" reaches
/// "FilterLayers". "" when none is within reach.
std::string_view nearestName(std::string_view name, const std::vector<std::string_view>& known);

}  // namespace kel::rez

#endif
