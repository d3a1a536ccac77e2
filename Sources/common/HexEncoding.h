// Integers, strings and four-character codes as lower-case hex text, high nibble first.
#ifndef VANTREL_HEX_ENCODING_H
#define VANTREL_HEX_ENCODING_H

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kel::rez {

std::string __int8ToHex(signed char value);
std::string __int16ToHex(short value);
std::string __int32ToHex(int value);
std::string __strToHex(const std::string& text);
/// Padded with spaces to four bytes, cut after four; the first byte is the most significant.
std::uint32_t __strToFourChar(const std::string& code);

/// The value of each byte as a hex digit, either case; -1 for any other byte.
extern const std::array<signed char, 256> __hexDigitValues;

/// The value of a hex digit of either case, or -1 when c is none.
inline int __hexDigitValue(char c)
{
    return __hexDigitValues[static_cast<unsigned char>(c)];
}

/// Index of the first byte of text that is not a hex digit, or text.size().
std::size_t firstNonHexDigit(std::string_view text);

}  // namespace kel::rez

#endif
