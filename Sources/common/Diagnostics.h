// The diagnostics of one run: every check reports its failures here instead of printing.
//
//   Diagnostics diagnostics;                       // default mode: the first error ends the run
//   diagnostics.setInput("resources.json", text);  // lets offsets become line:column
//   if (!ok)
//       return diagnostics.fail(statusIdBad, "message as printed", {offset, entryIndex});
//   ...
//   if (diagnostics.failed())
//       writeText(stderr, diagnostics.text());     // the driver prints, once, at the end
//       return diagnostics.status();
//
// Default mode keeps only the first failure and prints it as "Error: <message>\n", exactly
// as the program always has, with that failure's status. Collecting mode (--strict) keeps
// up to maxProblems failures, printed in input order with their place:
// "Error: <input>:<line>:<column>: entry <n>: <message>\n"; its status is that of the
// first failure found, as in default mode. A place prints what is known of it, and a
// problem with neither offset nor entry (an output that cannot be written) none at all.
// fail() returns false so that a check can end with `return diagnostics.fail(...)`; whether
// the run goes on after it is the caller's choice (stopping() says whether more problems
// would still be kept).
#ifndef VANTREL_DIAGNOSTICS_H
#define VANTREL_DIAGNOSTICS_H

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace kel::rez {

/// Where a problem lies: a byte offset of the input text and the index of its entry, each
/// unknown by default.
struct Place {
    static constexpr std::size_t unknown = static_cast<std::size_t>(-1);
    std::size_t offset = unknown;
    std::size_t entry = unknown;
    /// The member of the entry the problem is about, and the members (or decimal element
    /// indexes) inside it down to the value: {"data", "Version", "Minor"}. A finder set with
    /// setPlaceFinder turns it into an offset when none is given.
    std::vector<std::string> path = {};
};

/// Turns the entry and path of a place into the offset of that value's text, or
/// Place::unknown when the value cannot be found.
using PlaceFinder = std::function<std::size_t(const Place& where)>;

class Diagnostics
{
public:
    enum class Mode { firstError, collect };
    static constexpr std::size_t maxProblems = 50;

    explicit Diagnostics(Mode mode = Mode::firstError);

    /// The name messages give the input, and its text, which need not outlive this object.
    void setInput(const std::string& name, const std::string& text);

    /// What gives places without an offset their offset, in collecting mode.
    void setPlaceFinder(PlaceFinder finder);

    /// Records a failure with its status; always false.
    bool fail(int status, std::string message, Place where = {});

    /// fail, returning status instead: `return diagnostics.failWith(statusNoInput, "...");`
    int failWith(int status, std::string message, Place where = {});

    /// For checks that find their problems out of input order: from hold() on every failure
    /// is kept, and release() keeps of those the first in input order that fit under the cap.
    /// release() says whether any failure came while held.
    void hold() { __heldFrom = __problems.size(); }
    bool release();

    /// "<line>:<column>" of an offset of the input text, both counting from 1 and columns
    /// counting bytes; "" before setInput.
    std::string lineAndColumn(std::size_t offset) const;

    /// Forgets every failure kept so far: a problem found later (a syntax error found once
    /// the whole text is read) is reported instead of them.
    void clear() { __problems.clear(); }

    bool failed() const { return !__problems.empty(); }
    bool collecting() const { return __mode == Mode::collect; }
    /// True when a further fail() would not be kept: the first error, or maxProblems.
    bool stopping() const;
    /// 0, or the status of the first failure found, the one that the first-error mode keeps:
    /// each kind of failure has its own (92 for what only --strict finds).
    int status() const;
    /// Every kept line, "Error: " first and a line feed after each, in the order to print.
    std::string text() const;

private:
    struct __Problem {
        int status;
        std::string message;
        Place where;
    };

    std::size_t __cap() const { return collecting() ? maxProblems : 1; }
    std::string __placeText(const Place& where) const;
    std::vector<const __Problem*> __inPrintOrder() const;

    Mode __mode;
    std::string __inputName;
    std::vector<std::size_t> __lineStarts;
    PlaceFinder __placeFinder;
    std::vector<__Problem> __problems;
    std::size_t __heldFrom = Place::unknown;  // the first problem kept while held
};

}  // namespace kel::rez

#endif
