#include "strict/NearestName.h"

#include <algorithm>
#include <string>
#include <utility>

#include "kelutilsStrings.h"

namespace kel::rez {

namespace {

constexpr std::size_t __fewestEditsInReach = 2;

// Optimal string alignment distance: a swap of neighbours counts as one edit, as in
// "fiel" for "file".
std::size_t __editDistance(std::string_view a, std::string_view b)
{
    // Three rows of the table: two rows back, the last one and the one being filled.
    std::vector<std::size_t> beforeLast(b.size() + 1), last(b.size() + 1), current(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        last[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t replace = last[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            current[j] = std::min({last[j] + 1, current[j - 1] + 1, replace});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                current[j] = std::min(current[j], beforeLast[j - 2] + 1);
        }
        beforeLast.swap(last);
        last.swap(current);
    }
    return last[b.size()];
}

}  // namespace

std::string_view nearestName(std::string_view name, const std::vector<std::string_view>& known)
{
    const std::size_t reach = std::max(__fewestEditsInReach, name.size() / 3);
    const std::string lowerName = kel::utils::bytesLower(std::string(name));
    std::string_view nearest;
    std::pair<std::size_t, std::size_t> fewest{reach + 1, 0};  // edits ignoring case, then with
    for (std::string_view candidate : known) {
        // Names whose lengths differ by more than the reach are too far apart to measure.
        const std::size_t lengthGap = name.size() > candidate.size()
                                          ? name.size() - candidate.size()
                                          : candidate.size() - name.size();
        if (lengthGap > reach)
            continue;
        const std::pair<std::size_t, std::size_t> edits{
            __editDistance(lowerName, kel::utils::bytesLower(std::string(candidate))),
            __editDistance(name, candidate)};
        if (edits < fewest) {
            fewest = edits;
            nearest = candidate;
        }
    }
    return nearest;
}

}  // namespace kel::rez
