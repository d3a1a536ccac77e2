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

/// Bytes are checked in blocks of this many, each block without an early exit.
constexpr std::size_t checkBlock = 64;

/// True when every byte of the block starting at bytes is a hex digit. Written with
/// integer masks, without branches or lookups, so that the compiler vectorises it.
bool blockIsHex(const unsigned char* bytes)
{
    unsigned int nonHex = 0;
    for (std::size_t i = 0; i < checkBlock; ++i) {
        const unsigned char decimal = static_cast<unsigned char>(bytes[i] - '0');
        const unsigned char letter = static_cast<unsigned char>((bytes[i] | 0x20) - 'a');
        nonHex |= static_cast<unsigned int>(decimal >= 10) & static_cast<unsigned int>(letter >= 6);
    }
    return nonHex == 0;
}

/// Index of the first byte that is not a hex digit, or hexData.size(): whole blocks first,
/// then byte by byte from the first block that holds a bad byte.
std::size_t firstNonHex(const std::string& hexData)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(hexData.data());
    std::size_t i = 0;
    while (i + checkBlock <= hexData.size() && blockIsHex(bytes + i))
        i += checkBlock;
    while (i < hexData.size() && __hexDigitValue(hexData[i]) >= 0)
        ++i;
    return i;
}

constexpr std::size_t digitsPerLine = 32;
constexpr std::size_t digitsPerGroup = 4;
constexpr char rezLineOpening[] = "\n\t$\"";
constexpr std::size_t rezLineOpeningLength = sizeof(rezLineOpening) - 1;
/// A closing quote, the opening, 32 digits and 7 spaces.
constexpr std::size_t rezLineMaxLength = 1 + rezLineOpeningLength + digitsPerLine + 7;

/// The data lines of a Rez statement: 32 digits a line in groups of 4, each line
/// opened by a tab, "$" and a quote, each but the last closed here.
void appendRezDataLines(const std::string& hexData, std::string& out)
{
    ChunkedAppender appender(out);
    const std::size_t size = hexData.size();
    const char* digits = hexData.data();
    for (std::size_t lineStart = 0; lineStart < size; lineStart += digitsPerLine) {
        char* const lineBegin = appender.room(rezLineMaxLength);
        char* write = lineBegin;
        if (lineStart > 0)
            *write++ = '"';
        std::memcpy(write, rezLineOpening, rezLineOpeningLength);
        write += rezLineOpeningLength;
        const std::size_t lineEnd = std::min(size, lineStart + digitsPerLine);
        for (std::size_t group = lineStart; group < lineEnd; group += digitsPerGroup) {
            if (group > lineStart)
                *write++ = ' ';
            const std::size_t count = std::min(digitsPerGroup, lineEnd - group);
            if (count == digitsPerGroup)
                std::memcpy(write, digits + group, digitsPerGroup);  // a fixed-size copy is inlined
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
    const std::size_t bad = firstNonHex(hexData);
    if (bad != hexData.size())
        return reportBadHexData(resource, hexData[bad]);

    const std::size_t lines = hexData.size() / digitsPerLine + 1;
    out.reserve(out.size() + 2 * resource.name.size() + resource.type.size() + 32 +
                hexData.size() + hexData.size() / digitsPerGroup + lines * rezLineMaxLength);
    out += "data '";
    out += resource.type;
    out += "' (";
    appendRezIdAndName(resource, out);
    out += ") {";
    appendRezDataLines(hexData, out);
    out += "\"\n};\n\n";
    return true;
}

}  // namespace kel::rez
