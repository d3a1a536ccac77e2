// Small writes gathered in a buffer reach the text whole and in order, however long each is.
#include <gtest/gtest.h>

#include <string>

#include "output/ChunkedAppender.h"

namespace kel::rez {
namespace {

TEST(ChunkedAppender, PartsOfAnyLengthReachTheTextInOrder)
{
    const std::string longPart(ChunkedAppender::capacity + 1, 'L');
    const std::string nearlyFull(ChunkedAppender::capacity - 1, 'f');
    StreamedText out;
    out.text() = "kept ";
    {
        ChunkedAppender appender(out);
        appender.append("ab");
        appender.append('c');
        appender.append(longPart);  // straight to the text, after what was gathered
        appender.append(nearlyFull);
        appender.append(std::string("\0\"\\", 3));  // no longer fits: the buffer goes first
    }
    EXPECT_EQ("kept abc" + longPart + nearlyFull + std::string("\0\"\\", 3), out.text());
}

TEST(ChunkedAppender, NothingIsWrittenUntilFlushed)
{
    StreamedText out;
    ChunkedAppender appender(out);
    appender.append("line\n");
    EXPECT_TRUE(out.empty());
    appender.flush();
    EXPECT_EQ("line\n", out.text());
}

}  // namespace
}  // namespace kel::rez
