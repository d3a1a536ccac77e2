// Byte layouts shared by every property record: integers, codes, padded strings.
#include "pipl/PiplInternal.h"

#include "output/HexEncoding.h"

namespace kel::rez {

std::string __hex16(std::uint16_t value, ByteOrder order)
{
    if (order == ByteOrder::littleEndian)
        value = static_cast<std::uint16_t>((value >> 8) | (value << 8));
    return __int16ToHex(static_cast<short>(value));
}

std::string __hex32(std::uint32_t value, ByteOrder order)
{
    if (order == ByteOrder::littleEndian)
        value = (value >> 24) | ((value >> 8) & 0xFF00u) | ((value << 8) & 0xFF0000u) | (value << 24);
    return __int32ToHex(static_cast<int>(value));
}

std::string __codeHex(const std::string& text, ByteOrder order)
{
    return __hex32(__strToFourChar(text), order);
}

namespace {

std::string __zeroBytes(std::size_t count)
{
    return std::string(count * 2, '0');
}

}  // namespace

PaddedString __lengthPrefixedString(const std::string& text)
{
    // The length byte keeps only the low eight bits; callers refuse longer texts.
    std::size_t padding = 4 - (text.size() + 1) % 4;
    std::string hex = __int8ToHex(static_cast<signed char>(text.size() & 0xFFu)) + __strToHex(text) +
                      __zeroBytes(padding);
    return {hex, static_cast<std::uint32_t>(1 + text.size() + padding)};
}

PaddedString __zeroTerminatedString(const std::string& text)
{
    std::size_t padding = 4 - text.size() % 4;
    return {__strToHex(text) + __zeroBytes(padding), static_cast<std::uint32_t>(text.size() + padding)};
}

void __appendRecord(std::string& list, ByteOrder order, const std::string& vendor,
                    const std::string& key, std::uint32_t declaredLength, const std::string& dataHex)
{
    list += __codeHex(vendor, order);
    list += __codeHex(key, order);
    list += "00000000";
    list += __hex32(declaredLength, order);
    list += dataHex;
}

void __appendRecordToBoth(PiplLists& lists, const std::string& vendor, const std::string& key,
                          std::uint32_t declaredLength,
                          const std::function<std::string(ByteOrder)>& data)
{
    __appendRecord(lists.mac, ByteOrder::bigEndian, vendor, key, declaredLength, data(ByteOrder::bigEndian));
    __appendRecord(lists.win, ByteOrder::littleEndian, vendor, key, declaredLength,
                   data(ByteOrder::littleEndian));
}

}  // namespace kel::rez
