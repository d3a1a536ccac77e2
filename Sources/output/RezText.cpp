// The Mac Rez text: "read" statements that pull a resource from a file, and "data"
// statements that carry hex data, 32 digits a line in groups of four.
#include "output/RezText.h"

#include <algorithm>
#include <string_view>

#include "kelutilsStrings.h"
#include "common/HexEncoding.h"
#include "output/ChunkedAppender.h"
#include "output/OutputText.h"

namespace kel::rez {

namespace {

constexpr std::size_t __digitsPerLine = 32;
constexpr std::size_t __digitsPerGroup = 4;
constexpr char __firstLineOpening[] = "\n\t$\"";
/// Closes the line before and opens the next one.
constexpr char __nextLineOpening[] = "\"\n\t$\"";

/// Copies count digits to write in groups of four, spaces between, and checks them on the
/// way. Returns the end of what was written, or null with badChar set to the first byte
/// that is not a hex digit.
char* __writeLineDigits(const char* digits, std::size_t count, char* write, char& badChar)
{
    int seen = 0;  // negative once any byte is no digit: bad bytes have the value -1
    for (std::size_t group = 0; group < count; group += __digitsPerGroup) {
        if (group != 0)
            *write++ = ' ';
        const std::size_t length = std::min(__digitsPerGroup, count - group);
        for (std::size_t i = 0; i < length; ++i) {
            seen |= __hexDigitValue(digits[group + i]);
            write[i] = digits[group + i];
        }
        write += length;
    }
    if (seen >= 0)
        return write;
    badChar = digits[firstNonHexDigit(std::string_view(digits, count))];
    return nullptr;
}

/// The data lines of a Rez statement: 32 digits a line in groups of 4, each line opened by
/// a tab, "$" and a quote, each but the last closed here. Each line is checked as it is
/// written; false with badChar set on the first byte that is not a hex digit.
bool __appendRezDataLines(const std::string& hexData, StreamedText& out, char& badChar)
{
    constexpr std::size_t longestLine = sizeof __nextLineOpening - 1 + __digitsPerLine
                                        + __digitsPerLine / __digitsPerGroup;
    ChunkedAppender appender(out);
    const char* digits = hexData.data();
    for (std::size_t line = 0; line < hexData.size(); line += __digitsPerLine) {
        char* const begin = appender.room(longestLine);
        char* write = begin;
        const std::string_view opening = line == 0 ? std::string_view(__firstLineOpening)
                                                   : std::string_view(__nextLineOpening);
        write = std::copy(opening.begin(), opening.end(), write);
        write = __writeLineDigits(digits + line, std::min(__digitsPerLine, hexData.size() - line),
                                  write, badChar);
        if (write == nullptr)
            return false;
        appender.advance(static_cast<std::size_t>(write - begin));
    }
    return true;
}

/// The inside of a Rez resource header: the ID and, for a named resource, the name as a
/// Rez string (12345, "My_Image").
void __appendRezIdAndName(const Resource& resource, std::string_view id, ChunkedAppender& statement)
{
    statement.append(id);
    if (resource.name.empty())
        return;
    statement.append(", ");
    appendQuotedString(resource.name, statement);
}

/// What comes before the data lines: data 'TYPE' (12345, "My_Image") {
void __appendRezDataOpening(const Resource& resource, StreamedText& out)
{
    ChunkedAppender opening(out);
    opening.append("data '");
    opening.append(resource.type);
    opening.append("' (");
    __appendRezIdAndName(resource, kel::utils::itoa(resource.id), opening);
    opening.append(") {");
}

}  // namespace

void appendMacReadStatement(const Resource& resource, const ResourceSpellings& spellings,
                            StreamedText& macText)
{
    ChunkedAppender statement(macText);
    statement.append("read '");
    statement.append(spellings.traits->macFileType);
    statement.append("' (");
    __appendRezIdAndName(resource, spellings.id, statement);
    statement.append(") ");
    statement.append(spellings.quotedFile);
    statement.append(";\n");
}

bool __processByteStrMac(const Resource& resource, const std::string& hexData, StreamedText& out,
                         Diagnostics& diagnostics)
{
    // Each line adds its opening and a closing quote to the digits and spaces.
    const std::size_t sizeBefore = out.size();
    const std::size_t lines = hexData.size() / __digitsPerLine + 1;
    out.reserve(2 * resource.name.size() + resource.type.size() + 32 + hexData.size()
                + hexData.size() / __digitsPerGroup + lines * (sizeof __nextLineOpening - 1));
    __appendRezDataOpening(resource, out);
    char badChar = '\0';
    if (!__appendRezDataLines(hexData, out, badChar)) {
        out.cutBackTo(sizeBefore);  // a refused string leaves out as it was
        return reportBadHexData(resource, badChar, diagnostics);
    }
    out.text() += "\"\n};\n\n";
    return true;
}

void appendMacDataStatement(const Resource& resource, const HexBytes& data, StreamedText& out)
{
    Diagnostics neverUsed;  // encoded and typed digits alike are digits
    __processByteStrMac(resource, hexDigits(data), out, neverUsed);
}

}  // namespace kel::rez
