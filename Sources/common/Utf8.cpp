#include "common/Utf8.h"

namespace kel::rez {

std::size_t utf8SequenceLength(const std::string& text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80)
        return 1;
    std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
    const unsigned char second = byte(at + 1);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0)
        || (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90))
        return 0;
    return length;
}

void appendUtf8(std::uint32_t point, std::string& text)
{
    if (point < 0x80) {
        text += static_cast<char>(point);
        return;
    }
    static const unsigned char leads[] = {0, 0xC0, 0xE0, 0xF0};
    const int continuations = point < 0x800 ? 1 : point < 0x10000 ? 2 : 3;
    text += static_cast<char>(leads[continuations] | (point >> (6 * continuations)));
    for (int i = continuations - 1; i >= 0; --i)
        text += static_cast<char>(0x80 | ((point >> (6 * i)) & 0x3F));
}

}  // namespace kel::rez
