#include "strict/StrictProblems.h"

#include <algorithm>

#include "common/ExitStatus.h"

namespace kel::rez {

StrictProblems::StrictProblems(const std::string& text)
    : __lineStarts{0}
{
    // Lines end at line feeds only, as in editors and other JSON readers; a CR LF pair
    // leaves the columns before it as they are.
    for (std::size_t feed = text.find('\n'); feed != std::string::npos;
         feed = text.find('\n', feed + 1))
        __lineStarts.push_back(feed + 1);
}

void StrictProblems::add(std::size_t offset, std::string message)
{
    __problems.push_back({offset, std::move(message)});
}

std::string StrictProblems::place(std::size_t offset) const
{
    const auto next = std::upper_bound(__lineStarts.begin(), __lineStarts.end(), offset);
    const std::size_t line = static_cast<std::size_t>(next - __lineStarts.begin());
    const std::size_t column = offset - *(next - 1) + 1;
    return std::to_string(line) + ":" + std::to_string(column);
}

int StrictProblems::report(Diagnostics& diagnostics)
{
    // Stable: problems found at one place keep the order the checks found them in.
    std::stable_sort(__problems.begin(), __problems.end(),
                     [](const __Problem& a, const __Problem& b) { return a.offset < b.offset; });
    const std::size_t count = std::min(__problems.size(), printedAtMost);
    for (std::size_t i = 0; i < count; ++i)
        diagnostics.fail(statusStrictCheckFailed, __problems[i].message, {__problems[i].offset});
    __problems.clear();
    return statusStrictCheckFailed;
}

}  // namespace kel::rez
