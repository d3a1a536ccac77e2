// Hex text to a Rez "data" statement and to resource-script raw-data blocks.
//
// Both emitters work in chunks over tables (hex digit values, octal escapes) so that a
// data string of many megabytes costs one pass and a few allocations.
#include "RawDataEmitters.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "ExitStatus.h"
#include "kelutilsStrings.h"

namespace kel::rez {

namespace {

constexpr int notHex = -1;

constexpr std::array<int, 256> makeHexValues()
{
    std::array<int, 256> values{};
    for (int c = 0; c < 256; ++c)
        values[c] = notHex;
    for (int c = '0'; c <= '9'; ++c)
        values[c] = c - '0';
    for (int c = 'a'; c <= 'f'; ++c)
        values[c] = c - 'a' + 10;
    for (int c = 'A'; c <= 'F'; ++c)
        values[c] = c - 'A' + 10;
    return values;
}

constexpr std::array<int, 256> hexValues = makeHexValues();

int hexValue(char c)
{
    return hexValues[static_cast<unsigned char>(c)];
}

/// A backslash and the byte's value in octal without leading zeros: \0, \12, \377.
struct OctalEscape {
    char text[4];
    unsigned char length;
};

constexpr std::array<OctalEscape, 256> makeOctalEscapes()
{
    std::array<OctalEscape, 256> escapes{};
    for (int value = 0; value < 256; ++value) {
        OctalEscape& escape = escapes[value];
        escape.text[0] = '\\';
        char digits[3] = {};
        int count = 0;
        int rest = value;
        do {
            digits[count++] = static_cast<char>('0' + rest % 8);
            rest /= 8;
        } while (rest > 0);
        for (int i = 0; i < count; ++i)
            escape.text[1 + i] = digits[count - 1 - i];
        escape.length = static_cast<unsigned char>(1 + count);
    }
    return escapes;
}

constexpr std::array<OctalEscape, 256> octalEscapes = makeOctalEscapes();

bool reportBadHexChar(const Resource& resource, char found)
{
    printError("data for " + resource.type + " : " + kel::utils::itoa(resource.id) +
               " must be in stringified hex format (i.e. \"1a2b3c56...\"), but found char '" +
               std::string(1, found) + "' in string");
    return false;
}

/// Index of the first byte that is not a hex digit, or hexData.size().
std::size_t firstNonHex(const std::string& hexData)
{
    for (std::size_t i = 0; i < hexData.size(); ++i)
        if (hexValue(hexData[i]) == notHex)
            return i;
    return hexData.size();
}

constexpr std::size_t digitsPerLine = 32;
constexpr std::size_t digitsPerGroup = 4;

/// The data lines of a Rez statement: 32 digits a line in groups of 4, each line
/// opened by a tab, "$" and a quote, each but the last closed here.
void appendRezDataLines(const std::string& hexData, std::string& out)
{
    const std::size_t size = hexData.size();
    const std::size_t lineCount = (size + digitsPerLine - 1) / digitsPerLine;
    out.reserve(out.size() + size + size / digitsPerGroup + lineCount * 5 + 8);
    for (std::size_t lineStart = 0; lineStart < size; lineStart += digitsPerLine) {
        if (lineStart > 0)
            out += '"';
        out += "\n\t$\"";
        const std::size_t lineEnd = std::min(size, lineStart + digitsPerLine);
        for (std::size_t group = lineStart; group < lineEnd; group += digitsPerGroup) {
            if (group > lineStart)
                out += ' ';
            out.append(hexData, group, std::min(digitsPerGroup, lineEnd - group));
        }
    }
}

/// Converts digit pairs to octal escapes. On a bad digit returns false with badChar set;
/// a lone last digit counts as a pair whose partner is the byte 0.
bool escapeHexPairs(const std::string& hexData, std::string& escaped, char& badChar)
{
    const std::size_t pairEnd = hexData.size() - hexData.size() % 2;
    escaped.reserve(pairEnd * 2);
    for (std::size_t i = 0; i < pairEnd; i += 2) {
        const int high = hexValue(hexData[i]);
        if (high == notHex) {
            badChar = hexData[i];
            return false;
        }
        const int low = hexValue(hexData[i + 1]);
        if (low == notHex) {
            badChar = hexData[i + 1];
            return false;
        }
        const OctalEscape& escape = octalEscapes[high * 16 + low];
        escaped.append(escape.text, escape.length);
    }
    if (pairEnd != hexData.size()) {
        badChar = '\0';
        return false;
    }
    return true;
}

void appendWinBlock(const std::string& key, const std::string& type, const std::string& escaped,
                    std::string& out)
{
    out.reserve(out.size() + key.size() + type.size() + escaped.size() + 16);
    out += key;
    out += ' ';
    out += type;
    out += " {\n\t\"";
    out += escaped;
    out += "\"\n}\n\n";
}

}  // namespace

bool __processByteStrMac(const Resource& resource, const std::string& hexData, std::string& out)
{
    // Checked before anything is appended, so a failure leaves out as it was.
    const std::size_t bad = firstNonHex(hexData);
    if (bad != hexData.size())
        return reportBadHexChar(resource, hexData[bad]);

    out += "data '";
    out += resource.type;
    out += "' (";
    out += kel::utils::itoa(resource.id);
    if (resource.name.empty()) {
        out += ") {";
    } else {
        out += ", \"";
        out += kel::utils::stringReplaceAll(resource.name, "\"", "\\\"");
        out += "\") {";
    }
    appendRezDataLines(hexData, out);
    out += "\"\n};\n\n";
    return true;
}

bool __processByteStrWin(const Resource& resource, const std::string& hexData, std::string& out,
                         bool duplicateByName)
{
    std::string escaped;
    char badChar = '\0';
    if (!escapeHexPairs(hexData, escaped, badChar))
        return reportBadHexChar(resource, badChar);

    if (duplicateByName || resource.id != 0)
        appendWinBlock(kel::utils::itoa(resource.id), resource.type, escaped, out);
    const bool byIdOnly = duplicateByName ? resource.name.empty() : resource.id != 0;
    if (byIdOnly)
        return true;
    appendWinBlock("\"" + resource.name + "\"", resource.type, escaped, out);
    return true;
}

}  // namespace kel::rez
