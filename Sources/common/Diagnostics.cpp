#include "common/Diagnostics.h"

#include <algorithm>
#include <utility>

#include "common/ExitStatus.h"

namespace kel::rez {

Diagnostics::Diagnostics(Mode mode)
    : __mode(mode)
{
}

void Diagnostics::setInput(const std::string& name, const std::string& text)
{
    __inputName = name;
    // Lines end at line feeds only, as in editors and other JSON readers; a CR LF pair
    // leaves the columns before it as they are.
    __lineStarts.assign(1, 0);
    for (std::size_t feed = text.find('\n'); feed != std::string::npos;
         feed = text.find('\n', feed + 1))
        __lineStarts.push_back(feed + 1);
}

void Diagnostics::setPlaceFinder(PlaceFinder finder)
{
    __placeFinder = std::move(finder);
}

bool Diagnostics::fail(int status, std::string message, Place where)
{
    if (stopping())
        return false;
    if (collecting() && where.offset == Place::unknown && __placeFinder)
        where.offset = __placeFinder(where);
    __problems.push_back({status, std::move(message), std::move(where)});
    return false;
}

int Diagnostics::failWith(int status, std::string message, Place where)
{
    fail(status, std::move(message), std::move(where));
    return status;
}

bool Diagnostics::stopping() const
{
    return __heldFrom == Place::unknown && __problems.size() >= __cap();
}

bool Diagnostics::release()
{
    const std::size_t heldFrom = std::exchange(__heldFrom, Place::unknown);
    const bool found = __problems.size() > heldFrom;
    if (found) {
        std::stable_sort(
            __problems.begin() + static_cast<std::ptrdiff_t>(heldFrom), __problems.end(),
            [](const __Problem& a, const __Problem& b) { return a.where.offset < b.where.offset; });
        if (__problems.size() > __cap())
            __problems.erase(__problems.begin() + static_cast<std::ptrdiff_t>(__cap()),
                             __problems.end());
    }
    return found;
}

int Diagnostics::status() const
{
    if (__problems.empty())
        return statusSuccess;
    // The first found, which is the one a run without --strict stops at.
    return __problems.front().status;
}

std::vector<const Diagnostics::__Problem*> Diagnostics::__inPrintOrder() const
{
    std::vector<const __Problem*> ordered;
    for (const __Problem& problem : __problems)
        ordered.push_back(&problem);
    // Input order; problems at one offset keep their order, those without one come last.
    if (collecting())
        std::stable_sort(ordered.begin(), ordered.end(),
                         [](const __Problem* a, const __Problem* b) {
                             return a->where.offset < b->where.offset;
                         });
    return ordered;
}

std::string Diagnostics::lineAndColumn(std::size_t offset) const
{
    const auto next = std::upper_bound(__lineStarts.begin(), __lineStarts.end(), offset);
    if (next == __lineStarts.begin())
        return "";
    const std::size_t line = static_cast<std::size_t>(next - __lineStarts.begin());
    return std::to_string(line) + ":" + std::to_string(offset - *(next - 1) + 1);
}

std::string Diagnostics::__placeText(const Place& where) const
{
    // A problem that lies in no entry (an output that cannot be written) has no place.
    if (where.offset == Place::unknown && where.entry == Place::unknown)
        return "";
    std::string text;
    if (!__inputName.empty())
        text += __inputName + ":";
    if (where.offset != Place::unknown && !__lineStarts.empty())
        text += lineAndColumn(where.offset) + ":";
    if (!text.empty())
        text += " ";
    if (where.entry != Place::unknown)
        text += "entry " + std::to_string(where.entry) + ": ";
    return text;
}

std::string Diagnostics::text() const
{
    std::string text;
    for (const __Problem* problem : __inPrintOrder()) {
        text += "Error: ";
        if (collecting())
            text += __placeText(problem->where);
        text += problem->message + "\n";
    }
    return text;
}

}  // namespace kel::rez
