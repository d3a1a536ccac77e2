// Hex text to a Rez "data" statement and to resource-script raw-data blocks.
//
// Both emitters work in chunks over tables (hex digit values, octal escapes) so that a
// data string of many megabytes costs one pass and a few allocations.
#include "RawDataEmitters.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <vector>

#include "ExitStatus.h"
#include "OutputLines.h"
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
    while (i < hexData.size() && hexValue(hexData[i]) != notHex)
        ++i;
    return i;
}

/// Gathers small writes in a buffer of its own and appends them to a text in large
/// pieces, so that a text of many megabytes is written once, without being zero-filled
/// or grown byte by byte.
class ChunkedAppender
{
public:
    static constexpr std::size_t capacity = 1 << 16;

    explicit ChunkedAppender(std::string& out) : __out(out) {}
    ChunkedAppender(const ChunkedAppender&) = delete;
    ChunkedAppender& operator=(const ChunkedAppender&) = delete;
    ~ChunkedAppender() { flush(); }

    /// Room for count bytes (at most capacity); write there, then call advance.
    char* room(std::size_t count)
    {
        if (__filled + count > capacity)
            flush();
        return __buffer + __filled;
    }
    void advance(std::size_t count) { __filled += count; }
    void flush()
    {
        __out.append(__buffer, __filled);
        __filled = 0;
    }

private:
    std::string& __out;
    char __buffer[capacity];
    std::size_t __filled = 0;
};

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

/// Appends the octal escapes of the digit pairs, checking each pair on the way: one pass
/// over the data. On a bad digit returns false with badChar set; a lone last digit is
/// reported as the byte 0, once all complete pairs before it are good. The escapes of a
/// failed call stay in out for the caller to cut off. Each escape is copied as its four
/// bytes and the position moves by its true length; what follows overwrites the rest.
bool appendOctalEscapes(const std::string& hexData, std::string& out, char& badChar)
{
    constexpr std::size_t pairsPerBatch = ChunkedAppender::capacity / sizeof(OctalEscape::text);
    ChunkedAppender appender(out);
    const std::size_t pairEnd = hexData.size() - hexData.size() % 2;
    const char* digits = hexData.data();
    for (std::size_t batch = 0; batch < pairEnd; batch += 2 * pairsPerBatch) {
        const std::size_t batchEnd = std::min(pairEnd, batch + 2 * pairsPerBatch);
        char* const begin = appender.room((batchEnd - batch) / 2 * sizeof(OctalEscape::text));
        char* write = begin;
        for (std::size_t i = batch; i < batchEnd; i += 2) {
            const int high = hexValue(digits[i]);
            const int low = hexValue(digits[i + 1]);
            if (high == notHex || low == notHex) {
                badChar = digits[high == notHex ? i : i + 1];
                return false;
            }
            const OctalEscape& escape = octalEscapes[high * 16 + low];
            std::memcpy(write, escape.text, sizeof escape.text);
            write += escape.length;
        }
        appender.advance(static_cast<std::size_t>(write - begin));
    }
    if (pairEnd != hexData.size()) {
        badChar = '\0';
        return false;
    }
    return true;
}

/// Appends one block: key, type, the escaped bytes on one line. The first block makes its
/// escapes from hexData; a later one copies them from the earlier block, whose escapes
/// occupy [escapesStart, escapesStart + escapesLength) of out. False on a bad digit.
bool appendWinBlock(const std::string& key, const std::string& type, const std::string& hexData,
                    std::size_t& escapesStart, std::size_t& escapesLength, std::string& out,
                    char& badChar)
{
    out += key;
    out += ' ';
    out += type;
    out += " {\n\t\"";
    if (escapesStart == std::string::npos) {
        escapesStart = out.size();
        if (!appendOctalEscapes(hexData, out, badChar))
            return false;
        escapesLength = out.size() - escapesStart;
    } else {
        out.append(out, escapesStart, escapesLength);  // room was reserved: no reallocation
    }
    out += "\"\n}\n\n";
    return true;
}

}  // namespace

bool __processByteStrMac(const Resource& resource, const std::string& hexData, std::string& out)
{
    // Checked before anything is appended, so a failure leaves out as it was.
    const std::size_t bad = firstNonHex(hexData);
    if (bad != hexData.size())
        return reportBadHexChar(resource, hexData[bad]);

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

bool __processByteStrWin(const Resource& resource, const std::string& hexData, std::string& out,
                         bool duplicateByName)
{
    std::vector<std::string> keys;
    if (duplicateByName || resource.id != 0)
        keys.push_back(kel::utils::itoa(resource.id));
    const bool byIdOnly = duplicateByName ? resource.name.empty() : resource.id != 0;
    if (!byIdOnly)
        keys.push_back("\"" + resource.name + "\"");

    // Room for the longest escapes, four bytes a pair: pages reserved and never written
    // cost nothing, and the blocks are then made without a pass just to measure them.
    const std::size_t sizeBefore = out.size();
    const std::size_t longestEscapes = hexData.size() / 2 * sizeof(OctalEscape::text);
    out.reserve(sizeBefore + keys.size() * (longestEscapes + resource.type.size() + 32) +
                resource.name.size());
    std::size_t escapesStart = std::string::npos;
    std::size_t escapesLength = 0;
    char badChar = '\0';
    for (const std::string& key : keys) {
        if (!appendWinBlock(key, resource.type, hexData, escapesStart, escapesLength, out,
                            badChar)) {
            out.resize(sizeBefore);  // a refused string leaves out as it was
            return reportBadHexChar(resource, badChar);
        }
    }
    return true;
}

}  // namespace kel::rez
