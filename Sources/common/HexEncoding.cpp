#include "common/HexEncoding.h"

namespace kel::rez {

namespace {

/// The two lower-case digits of every byte, high nibble first: one lookup a byte.
constexpr std::array<std::array<char, 2>, 256> __makeDigitPairs()
{
    constexpr char digits[] = "0123456789abcdef";
    std::array<std::array<char, 2>, 256> pairs{};
    for (int byte = 0; byte < 256; ++byte)
        pairs[byte] = {digits[byte >> 4], digits[byte & 15]};
    return pairs;
}

constexpr std::array<std::array<char, 2>, 256> __digitPairs = __makeDigitPairs();

// Hex text of the low byteCount bytes of value, most significant byte first.
std::string __unsignedToHex(std::uint32_t value, unsigned int byteCount)
{
    std::string hex(byteCount * 2, '0');
    for (std::size_t position = hex.size(); position > 0; position -= 2, value >>= 8) {
        const std::array<char, 2>& pair = __digitPairs[value & 0xFFu];
        hex[position - 2] = pair[0];
        hex[position - 1] = pair[1];
    }
    return hex;
}

constexpr std::array<signed char, 256> __makeHexDigitValues()
{
    std::array<signed char, 256> values{};
    for (int c = 0; c < 256; ++c)
        values[c] = -1;
    for (int c = '0'; c <= '9'; ++c)
        values[c] = static_cast<signed char>(c - '0');
    for (int c = 'a'; c <= 'f'; ++c)
        values[c] = static_cast<signed char>(c - 'a' + 10);
    for (int c = 'A'; c <= 'F'; ++c)
        values[c] = static_cast<signed char>(c - 'A' + 10);
    return values;
}

}  // namespace

constexpr std::array<signed char, 256> __hexDigitValues = __makeHexDigitValues();

std::size_t firstNonHexDigit(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && __hexDigitValue(text[i]) >= 0)
        ++i;
    return i;
}

std::string __int8ToHex(signed char value)
{
    return __unsignedToHex(static_cast<unsigned char>(value), 1);
}

std::string __int16ToHex(short value)
{
    return __unsignedToHex(static_cast<unsigned short>(value), 2);
}

std::string __int32ToHex(int value)
{
    return __unsignedToHex(static_cast<std::uint32_t>(value), 4);
}

std::string __strToHex(const std::string& text)
{
    std::string hex(text.size() * 2, '\0');
    char* write = hex.data();
    for (unsigned char byte : text) {
        *write++ = __digitPairs[byte][0];
        *write++ = __digitPairs[byte][1];
    }
    return hex;
}

std::uint32_t __strToFourChar(const std::string& code)
{
    std::uint32_t value = 0;
    for (std::size_t index = 0; index < 4; ++index) {
        unsigned char byte = index < code.size() ? static_cast<unsigned char>(code[index]) : ' ';
        value = (value << 8) | byte;
    }
    return value;
}

}  // namespace kel::rez
