#include "HexEncoding.h"

namespace kel::rez {

namespace {

const char __hexDigits[] = "0123456789abcdef";

// Hex text of the low byteCount bytes of value, most significant byte first.
std::string __unsignedToHex(std::uint32_t value, unsigned int byteCount)
{
    std::string hex(byteCount * 2, '0');
    for (std::size_t position = hex.size(); position > 0; --position) {
        hex[position - 1] = __hexDigits[value & 0xFu];
        value >>= 4;
    }
    return hex;
}

}  // namespace

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
    std::string hex;
    hex.reserve(text.size() * 2);
    for (unsigned char byte : text) {
        hex += __hexDigits[byte >> 4];
        hex += __hexDigits[byte & 0xFu];
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
