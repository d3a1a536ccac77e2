#include "inspect/WindowsResource.h"

namespace kel::rez {

std::string WindowsResourceId::text() const
{
    return isOrdinal ? std::to_string(ordinal) : name;
}

static void appendCodePoint(std::uint32_t point, std::string& text)
{
    if (point < 0x80) {
        text += static_cast<char>(point);
    } else if (point < 0x800) {
        text += static_cast<char>(0xC0 | (point >> 6));
        text += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        text += static_cast<char>(0xE0 | (point >> 12));
        text += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (point >> 18));
        text += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (point & 0x3F));
    }
}

bool appendUtf16AsUtf8(const ByteView& bytes, std::uint64_t offset, std::uint64_t count,
                       std::string& text)
{
    if (count > bytes.size() / 2 || !bytes.holds(offset, count * 2))
        return false;
    for (std::uint64_t i = 0; i < count; ++i) {
        std::uint32_t unit = bytes.le16(offset + 2 * i);
        const bool high = unit >= 0xD800 && unit < 0xDC00;
        const std::uint32_t next = i + 1 < count ? bytes.le16(offset + 2 * (i + 1)) : 0;
        if (high && next >= 0xDC00 && next < 0xE000) {
            unit = 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00);
            ++i;
        } else if (unit >= 0xD800 && unit < 0xE000) {
            unit = 0xFFFD;
        }
        appendCodePoint(unit, text);
    }
    return true;
}

}  // namespace kel::rez
