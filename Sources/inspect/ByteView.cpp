#include "inspect/ByteView.h"

#include <cstring>

namespace kel::rez {

ByteView ByteView::sub(std::uint64_t offset, std::uint64_t count) const
{
    if (!holds(offset, count))
        return {};
    return {data_ + offset, static_cast<std::size_t>(count)};
}

std::uint64_t ByteView::number(std::uint64_t offset, unsigned width, bool bigEndian) const
{
    if (!holds(offset, width))
        return 0;
    std::uint64_t value = 0;
    for (unsigned i = 0; i < width; ++i) {
        const unsigned index = bigEndian ? i : width - 1 - i;
        value = (value << 8) | data_[offset + index];
    }
    return value;
}

std::uint8_t ByteView::u8(std::uint64_t offset) const
{
    return static_cast<std::uint8_t>(number(offset, 1, true));
}
std::uint16_t ByteView::le16(std::uint64_t offset) const
{
    return static_cast<std::uint16_t>(number(offset, 2, false));
}
std::uint32_t ByteView::le32(std::uint64_t offset) const
{
    return static_cast<std::uint32_t>(number(offset, 4, false));
}
std::uint64_t ByteView::le64(std::uint64_t offset) const { return number(offset, 8, false); }
std::uint16_t ByteView::be16(std::uint64_t offset) const
{
    return static_cast<std::uint16_t>(number(offset, 2, true));
}
std::uint32_t ByteView::be24(std::uint64_t offset) const
{
    return static_cast<std::uint32_t>(number(offset, 3, true));
}
std::uint32_t ByteView::be32(std::uint64_t offset) const
{
    return static_cast<std::uint32_t>(number(offset, 4, true));
}
std::uint64_t ByteView::be64(std::uint64_t offset) const { return number(offset, 8, true); }

bool ByteView::zeroTerminated(std::uint64_t offset, std::size_t maxLength, std::string& text) const
{
    if (offset >= size_)
        return false;
    const std::size_t available = size_ - static_cast<std::size_t>(offset);
    const std::size_t limit = available < maxLength ? available : maxLength;
    const void* end = std::memchr(data_ + offset, 0, limit);
    if (!end)
        return false;
    const char* begin = reinterpret_cast<const char*>(data_ + offset);
    text.assign(begin, static_cast<const char*>(end));
    return true;
}

std::string hexNumber(std::uint64_t value)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    do {
        text.insert(text.begin(), digits[value & 0xF]);
        value >>= 4;
    } while (value);
    return "0x" + text;
}

}  // namespace kel::rez
