// Bytes as lower-case hex text, high nibble first, and the digits that some bytes were typed as.
#ifndef VANTREL_HEX_ENCODING_H
#define VANTREL_HEX_ENCODING_H

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kel::rez {

/// The hex digits that a run of bytes was given as, in the case they were typed in.
struct TypedDigits {
    std::size_t offset;  // of the first byte they stand for
    std::string digits;
};

/// Bytes bound for hex text. Most are encoded in lower case; the runs given as hex text (a
/// description's raw data, a table of this program) keep their digits, whose case the
/// texts have always shown as typed. A compiled file takes the bytes alone.
struct HexBytes {
    std::vector<unsigned char> bytes;
    std::vector<TypedDigits> typed;  // in offset order, none overlapping
};

/// Appends the bytes of an even number of hex digits of either case, and the digits as typed.
void appendTypedHex(std::string_view digits, HexBytes& to);
/// Appends from's bytes, and its typed digits at their new offsets.
void appendHexBytes(const HexBytes& from, HexBytes& to);

/// Two lower-case digits a byte.
std::string hexDigits(const unsigned char* bytes, std::size_t size);
/// The digits of data: encoded, and typed where they were typed.
std::string hexDigits(const HexBytes& data);

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
