// The problems a --strict run finds, each at a byte offset of the input text, and how they
// are printed: "Error: <input>:<line>:<column>: <what is wrong>".
#ifndef VANTREL_STRICT_PROBLEMS_H
#define VANTREL_STRICT_PROBLEMS_H

#include <cstddef>
#include <string>
#include <vector>

#include "common/Diagnostics.h"

namespace kel::rez {

class StrictProblems
{
public:
    /// At most this many problems are printed, the first ones in input order.
    static constexpr std::size_t printedAtMost = 50;

    /// Indexes the lines of text, which need not outlive the list.
    explicit StrictProblems(const std::string& text);

    void add(std::size_t offset, std::string message);
    bool empty() const { return __problems.empty(); }

    /// "<line>:<column>" of a byte offset; both count from 1 and columns count bytes.
    std::string place(std::size_t offset) const;

    /// Reports the first printedAtMost problems in input order to diagnostics, each at its
    /// offset, forgets them all, and returns statusStrictCheckFailed. The diagnostics name
    /// the input and turn the offsets into lines and columns.
    int report(Diagnostics& diagnostics);

private:
    struct __Problem {
        std::size_t offset;
        std::string message;
    };

    std::vector<std::size_t> __lineStarts;
    std::vector<__Problem> __problems;
};

}  // namespace kel::rez

#endif
