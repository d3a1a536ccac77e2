// Base64 (with '=' padding, decoded leniently) and ROT13.
#include "kelutilsEncodings.h"
#include "kelutilsUtf8.h"

#include <array>

namespace kel::utils {

namespace {

const char __base64EncodeTable[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

/// Six-bit value of each alphabet byte; 255 for every other byte.
const std::array<unsigned char, 256> __base64DecodeTable = [] {
    std::array<unsigned char, 256> table{};
    table.fill(255);
    for (unsigned char value = 0; value < 64; ++value)
        table[static_cast<unsigned char>(__base64EncodeTable[value])] = value;
    return table;
}();

const char __base64Padding = '=';

/// The three bytes a group of four characters stands for. Characters outside the alphabet
/// take part with the value 255.
std::array<char, 3> __decodeGroup(const unsigned char (&group)[4])
{
    const unsigned a = __base64DecodeTable[group[0]];
    const unsigned b = __base64DecodeTable[group[1]];
    const unsigned c = __base64DecodeTable[group[2]];
    const unsigned d = __base64DecodeTable[group[3]];
    return {static_cast<char>(((a << 2) | ((b >> 4) & 0x3)) & 0xFF),
            static_cast<char>(((b << 4) | ((c >> 2) & 0xF)) & 0xFF),
            static_cast<char>(((c << 6) + d) & 0xFF)};
}

bool __isBlank(char byte)
{
    return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\v' || byte == '\f'
           || byte == '\r';
}

/// Number of '=' at the end of text (blanks passed over), at most three.
unsigned __trailingPadding(const std::string& text)
{
    unsigned padding = 0;
    for (std::size_t i = text.size(); i > 0 && padding < 3; --i) {
        const char byte = text[i - 1];
        if (byte == __base64Padding)
            ++padding;
        else if (!__isBlank(byte))
            break;
    }
    return padding;
}

char __rotateLetter(char byte)
{
    if (byte >= 'A' && byte <= 'Z')
        return static_cast<char>('A' + (byte - 'A' + 13) % 26);
    if (byte >= 'a' && byte <= 'z')
        return static_cast<char>('a' + (byte - 'a' + 13) % 26);
    return byte;
}

}  // namespace

std::string base64Encode(const std::string& bytes)
{
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const unsigned group = static_cast<unsigned char>(bytes[i]) << 16
                               | static_cast<unsigned char>(bytes[i + 1]) << 8
                               | static_cast<unsigned char>(bytes[i + 2]);
        for (int shift = 18; shift >= 0; shift -= 6)
            text += __base64EncodeTable[(group >> shift) & 0x3F];
    }
    const std::size_t rest = bytes.size() - i;
    if (rest > 0) {
        unsigned group = static_cast<unsigned char>(bytes[i]) << 16;
        if (rest == 2)
            group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        for (std::size_t k = 0; k <= rest; ++k)
            text += __base64EncodeTable[(group >> (18 - 6 * k)) & 0x3F];
        text.append(3 - rest, __base64Padding);
    }
    return text;
}

std::string base64Decode(const std::string& text)
{
    std::string bytes;
    bytes.reserve(text.size() / 4 * 3 + 3);
    unsigned char group[4];
    std::size_t filled = 0;
    for (const char character : text) {
        if (character == __base64Padding)
            break;
        group[filled++] = static_cast<unsigned char>(character);
        if (filled == 4) {
            const auto decoded = __decodeGroup(group);
            bytes.append(decoded.data(), 3);
            filled = 0;
        }
    }
    if (filled > 0) {
        // Missing characters count as zero bytes, which are outside the alphabet.
        for (std::size_t k = filled; k < 4; ++k)
            group[k] = 0;
        const auto decoded = __decodeGroup(group);
        const unsigned padding = __trailingPadding(text);
        const unsigned kept = 3 - padding < 2 ? 3 - padding : 2;
        bytes.append(decoded.data(), kept);
    }
    return bytes;
}

std::string rot13(const std::string& text)
{
    std::string result;
    result.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t length = __utf8SequenceLength(static_cast<unsigned char>(text[i]));
        if (length == 1)
            result += __rotateLetter(text[i]);
        i += length;  // multi-byte sequences are left out
    }
    return result;
}

}  // namespace kel::utils
