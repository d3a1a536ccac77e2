// The Mac Rez text: "read" statements that pull a resource from a file, and "data"
// statements that carry hex data, 32 digits a line in groups of four.
#include "output/RezText.h"

#include <algorithm>
#include <cstring>

#include "output/ChunkedAppender.h"
#include "output/HexEncoding.h"
#include "output/OutputText.h"
#include "kelutilsStrings.h"

namespace kel::rez {

namespace {

/// Index of the first byte that is not a hex digit, or hexData.size().
std::size_t __firstNonHex(const std::string& hexData)
{
    std::size_t i = 0;
    while (i < hexData.size() && __hexDigitValue(hexData[i]) >= 0)
        ++i;
    return i;
}

constexpr std::size_t __digitsPerLine = 32;
constexpr std::size_t __digitsPerGroup = 4;
constexpr char __rezLineOpening[] = "\n\t$\"";
constexpr std::size_t __rezLineOpeningLength = sizeof(__rezLineOpening) - 1;
/// A closing quote, the opening, 32 digits and 7 spaces.
constexpr std::size_t __rezLineMaxLength = 1 + __rezLineOpeningLength + __digitsPerLine + 7;

/// The data lines of a Rez statement: 32 digits a line in groups of 4, each line
/// opened by a tab, "$" and a quote, each but the last closed here.
void __appendRezDataLines(const std::string& hexData, std::string& out)
{
    ChunkedAppender appender(out);
    const std::size_t size = hexData.size();
    const char* digits = hexData.data();
    for (std::size_t lineStart = 0; lineStart < size; lineStart += __digitsPerLine) {
        char* const lineBegin = appender.room(__rezLineMaxLength);
        char* write = lineBegin;
        if (lineStart > 0)
            *write++ = '"';
        std::memcpy(write, __rezLineOpening, __rezLineOpeningLength);
        write += __rezLineOpeningLength;
        const std::size_t lineEnd = std::min(size, lineStart + __digitsPerLine);
        for (std::size_t group = lineStart; group < lineEnd; group += __digitsPerGroup) {
            if (group > lineStart)
                *write++ = ' ';
            const std::size_t count = std::min(__digitsPerGroup, lineEnd - group);
            if (count == __digitsPerGroup)
                std::memcpy(write, digits + group, __digitsPerGroup);  // a fixed-size copy is inlined
            else
                std::memcpy(write, digits + group, count);
            write += count;
        }
        appender.advance(static_cast<std::size_t>(write - lineBegin));
    }
}

}  // namespace

void appendRezIdAndName(const Resource& resource, std::string& macText)
{
    appendId(resource.id, macText);
    if (resource.name.empty())
        return;
    macText += ", \"";
    if (resource.name.find('"') == std::string::npos)
        macText += resource.name;  // the usual case, without an escaped copy
    else
        macText += kel::utils::stringReplaceAll(resource.name, "\"", "\\\"");
    macText += '"';
}

void appendMacReadStatement(const Resource& resource, std::string& macText)
{
    // The Mac side knows SVG resources as "SVG_"; every other output keeps "SVG".
    macText += "read '";
    if (resource.type == resourceTypeSVG)
        macText += "SVG_";
    else
        macText += resource.type;
    macText += "' (";
    appendRezIdAndName(resource, macText);
    macText += ") \"";
    macText += resource.file;
    macText += "\";\n";
}

bool __processByteStrMac(const Resource& resource, const std::string& hexData, std::string& out)
{
    // Checked before anything is appended, so a failure leaves out as it was.
    const std::size_t bad = __firstNonHex(hexData);
    if (bad != hexData.size())
        return reportBadHexData(resource, hexData[bad]);

    // Each line adds its opening and a closing quote to the digits and spaces.
    const std::size_t lines = hexData.size() / __digitsPerLine + 1;
    out.reserve(out.size() + 2 * resource.name.size() + resource.type.size() + 32 +
                hexData.size() + hexData.size() / __digitsPerGroup +
                lines * (__rezLineOpeningLength + 1));
    out += "data '";
    out += resource.type;
    out += "' (";
    appendRezIdAndName(resource, out);
    out += ") {";
    __appendRezDataLines(hexData, out);
    out += "\"\n};\n\n";
    return true;
}

}  // namespace kel::rez
