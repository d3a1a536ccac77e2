// The known name a misspelt one was most likely meant to be.
#ifndef VANTREL_NEAREST_NAME_H
#define VANTREL_NEAREST_NAME_H

#include <string_view>
#include <vector>

namespace kel::rez {

/// The first of known at the fewest edits from name, when that is at most two edits (an
/// edit inserts, removes or replaces one byte, or swaps two neighbours); "" otherwise.
std::string_view nearestName(std::string_view name, const std::vector<std::string_view>& known);

}  // namespace kel::rez

#endif
