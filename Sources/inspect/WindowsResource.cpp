#include "inspect/WindowsResource.h"

#include "common/Utf8.h"

namespace kel::rez {

std::string WindowsResourceId::text() const
{
    return isOrdinal ? std::to_string(ordinal) : name;
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
        appendUtf8(unit, text);
    }
    return true;
}

}  // namespace kel::rez
