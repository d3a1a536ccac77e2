#include "output/OutputText.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "common/ExitStatus.h"
#include "kelutilsStrings.h"

namespace kel::rez {

void appendId(std::int16_t id, std::string& text)
{
    char digits[8];
    const auto written = std::to_chars(digits, digits + sizeof digits, id);
    // By pointer and length: the pair-of-pointers form goes the general way of replace().
    text.append(digits, static_cast<std::size_t>(written.ptr - digits));
}

namespace {

/// The first byte of [from, end) that is c, or end.
const char* __find(const char* from, const char* end, char c)
{
    const void* found = std::memchr(from, c, static_cast<std::size_t>(end - from));
    return found ? static_cast<const char*>(found) : end;
}

/// One byte, as each kind of text takes it most cheaply.
void __appendByte(char c, std::string& out)
{
    out += c;
}

void __appendByte(char c, ChunkedAppender& out)
{
    out.append(c);
}

/// The quoting of appendQuoted into either kind of text.
template <typename Text>
void __appendQuoted(const std::string& text, QuoteEscape escape, Text& out)
{
    // The runs between escaped bytes go in whole: most texts have no byte to escape. The
    // next quote and the next backslash are each searched for again only once passed, so a
    // text full of either is still read once. Runs go in by pointer and length, as an ID does.
    __appendByte('"', out);
    const char* run = text.data();
    const char* const end = text.data() + text.size();
    const char* quote = __find(run, end, '"');
    const char* backslash = __find(run, end, '\\');
    while (quote != end || backslash != end) {
        const char* const at = std::min(quote, backslash);
        out.append(run, static_cast<std::size_t>(at - run));
        __appendByte(escape == QuoteEscape::backslash ? '\\' : *at, out);
        __appendByte(*at, out);
        run = at + 1;
        if (at == quote)
            quote = __find(run, end, '"');
        else
            backslash = __find(run, end, '\\');
    }
    out.append(run, static_cast<std::size_t>(end - run));
    __appendByte('"', out);
}

}  // namespace

void appendQuoted(const std::string& text, QuoteEscape escape, std::string& out)
{
    __appendQuoted(text, escape, out);
}

void appendQuoted(const std::string& text, QuoteEscape escape, ChunkedAppender& out)
{
    __appendQuoted(text, escape, out);
}

void appendQuotedString(const std::string& text, std::string& out)
{
    appendQuoted(text, QuoteEscape::backslash, out);
}

void appendQuotedString(const std::string& text, ChunkedAppender& out)
{
    appendQuoted(text, QuoteEscape::backslash, out);
}

bool reportBadHexData(const Resource& resource, char found, Diagnostics& diagnostics)
{
    return diagnostics.fail(statusBadHexData,
                            "data for " + resource.type + " : " + kel::utils::itoa(resource.id)
                                + " must be in stringified hex format (i.e. \"1a2b3c56...\"), but "
                                  "found char '"
                                + std::string(1, found) + "' in string",
                            resourcePlace(resource, {"data"}));
}

}  // namespace kel::rez
