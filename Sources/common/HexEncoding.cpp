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

void appendTypedHex(std::string_view digits, HexBytes& to)
{
    to.typed.push_back({to.bytes.size(), std::string(digits)});
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
        to.bytes.push_back(static_cast<unsigned char>(__hexDigitValue(digits[i]) * 16
                                                      + __hexDigitValue(digits[i + 1])));
}

void appendHexBytes(const HexBytes& from, HexBytes& to)
{
    for (const TypedDigits& run : from.typed)
        to.typed.push_back({to.bytes.size() + run.offset, run.digits});
    to.bytes.insert(to.bytes.end(), from.bytes.begin(), from.bytes.end());
}

std::string hexDigits(const unsigned char* bytes, std::size_t size)
{
    std::string hex(size * 2, '\0');
    char* write = hex.data();
    for (std::size_t i = 0; i < size; ++i) {
        *write++ = __digitPairs[bytes[i]][0];
        *write++ = __digitPairs[bytes[i]][1];
    }
    return hex;
}

std::string hexDigits(const HexBytes& data)
{
    std::string hex = hexDigits(data.bytes.data(), data.bytes.size());
    for (const TypedDigits& run : data.typed)
        hex.replace(2 * run.offset, run.digits.size(), run.digits);
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
