// The quoted texts and IDs every output text writes the same way.
#include <gtest/gtest.h>

#include <string>

#include "output/OutputText.h"

namespace kel::rez {
namespace {

std::string quoted(const std::string& text, QuoteEscape escape)
{
    std::string out = "before ";
    appendQuoted(text, escape, out);
    return out;
}

/// The escaping written the plain way, one byte at a time, to hold the runs against.
std::string quotedByteByByte(const std::string& text, QuoteEscape escape)
{
    std::string out = "before \"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += escape == QuoteEscape::backslash ? '\\' : c;
        out += c;
    }
    return out + '"';
}

TEST(OutputTextQuoted, TextWithoutQuotesOrBackslashesIsCopiedWhole)
{
    EXPECT_EQ("before \"images/a b.png\"", quoted("images/a b.png", QuoteEscape::backslash));
    EXPECT_EQ("before \"\"", quoted("", QuoteEscape::doubled));
}

TEST(OutputTextQuoted, BackslashEscapeGoesBeforeEachQuoteAndBackslash)
{
    EXPECT_EQ(R"(before "C:\\dir\\my \"q\" file.png")",
              quoted(R"(C:\dir\my "q" file.png)", QuoteEscape::backslash));
}

TEST(OutputTextQuoted, DoubledEscapeWritesEachQuoteAndBackslashTwice)
{
    EXPECT_EQ(R"(before "a\\b""c""")", quoted(R"(a\b"c")", QuoteEscape::doubled));
}

TEST(OutputTextQuoted, CraftedTextsComeOutAsEscapedByteByByte)
{
    const std::string zeroes("a\0\"\0\\", 5);
    const std::string crafted[] = {
        "\"",
        "\\",
        "\"\\",
        "\\\"",
        "\"\"\"\"",
        "\\\\\\\\",
        "x\"",
        "\\x",
        zeroes,
        std::string(10000, '"') + "\\",
        std::string(10000, '\\') + "\"" + std::string(7, 'y'),
    };
    for (const std::string& text : crafted)
        for (QuoteEscape escape : {QuoteEscape::backslash, QuoteEscape::doubled})
            EXPECT_EQ(quotedByteByByte(text, escape), quoted(text, escape));
}

/// The same quoting through a chunked appender, as the line writers put it together.
std::string quotedThroughAppender(const std::string& text, QuoteEscape escape)
{
    StreamedText out;
    out.text() = "before ";
    {
        ChunkedAppender appender(out);
        appendQuoted(text, escape, appender);
    }
    return out.text();
}

TEST(OutputTextQuoted, CraftedTextsComeOutTheSameThroughAnAppender)
{
    const std::string crafted[] = {
        "",
        "images/a b.png",
        std::string("a\0\"\0\\", 5),
        std::string(ChunkedAppender::capacity + 5, 'n'),     // a run longer than the buffer
        std::string(ChunkedAppender::capacity, '"') + "\\",  // escapes filling it many times
    };
    for (const std::string& text : crafted)
        for (QuoteEscape escape : {QuoteEscape::backslash, QuoteEscape::doubled})
            EXPECT_EQ(quotedByteByByte(text, escape), quotedThroughAppender(text, escape));
}

TEST(OutputTextQuoted, QuotedStringIsTheBackslashEscape)
{
    std::string out;
    appendQuotedString("a\"b", out);
    EXPECT_EQ("\"a\\\"b\"", out);
}

}  // namespace
}  // namespace kel::rez
