// The UTF-8 rules shared by the list texts, the --strict reader and the inspector, against
// the byte forms RFC 3629 gives.
#include <gtest/gtest.h>

#include <string>

#include "common/Utf8.h"

using kel::rez::appendUtf8;
using kel::rez::utf8SequenceLength;

TEST(Utf8, WritesEachCodePointInTheFormOfItsRange)
{
    const struct {
        std::uint32_t point;
        const char* bytes;
    } cases[] = {{0x41, "A"},
                 {0x7F, "\x7F"},
                 {0x80, "\xC2\x80"},
                 {0xE9, "\xC3\xA9"},
                 {0x7FF, "\xDF\xBF"},
                 {0x800, "\xE0\xA0\x80"},
                 {0x20AC, "\xE2\x82\xAC"},
                 {0xFFFF, "\xEF\xBF\xBF"},
                 {0x10000, "\xF0\x90\x80\x80"},
                 {0x1F600, "\xF0\x9F\x98\x80"},
                 {0x10FFFF, "\xF4\x8F\xBF\xBF"}};
    for (const auto& c : cases) {
        std::string text = "x";
        appendUtf8(c.point, text);
        EXPECT_EQ(std::string("x") + c.bytes, text) << c.point;
        EXPECT_EQ(text.size() - 1, utf8SequenceLength(text, 1)) << c.point;
    }
}

TEST(Utf8, RefusesOverlongFormsSurrogatesValuesPastTheLastAndCutSequences)
{
    for (const char* bytes : {"\x80", "\xBF", "\xC0\x80", "\xC1\xBF", "\xE0\x9F\xBF",
                              "\xED\xA0\x80", "\xF0\x8F\xBF\xBF", "\xF4\x90\x80\x80", "\xF5\x80",
                              "\xFF", "\xC3", "\xE2\x82", "\xC3\x41"})
        EXPECT_EQ(0u, utf8SequenceLength(bytes, 0)) << bytes;
}
