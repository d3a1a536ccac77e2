// Base64 and ROT13 of kel::utils.
#include "kelutilsEncodings.h"

#include <gtest/gtest.h>

#include <string>

using namespace kel::utils;

TEST(Base64Encode, PadsTheLastGroup)
{
    EXPECT_EQ("", base64Encode(""));
    EXPECT_EQ("YQ==", base64Encode("a"));
    EXPECT_EQ("YWI=", base64Encode("ab"));
    EXPECT_EQ("YWJj", base64Encode("abc"));
    EXPECT_EQ("YWJjZA==", base64Encode("abcd"));
    EXPECT_EQ("AP8+/w==", base64Encode(std::string("\x00\xFF\x3E\xFF", 4)));
}

TEST(Base64Decode, HonoursPadding)
{
    EXPECT_EQ("a", base64Decode("YQ=="));
    EXPECT_EQ("ab", base64Decode("YWI="));
    EXPECT_EQ("abc", base64Decode("YWJj"));
    EXPECT_EQ("abcd", base64Decode("YWJjZA=="));
    EXPECT_EQ("a", base64Decode("YQ==\r\n"));
    EXPECT_EQ("a", base64Decode("YQ= =\t"));
}

TEST(Base64Decode, LenientWithoutPadding)
{
    EXPECT_EQ("ab", base64Decode("YWI"));
    // Two unpadded characters give the byte they stand for and one byte more.
    const std::string twoCharacters = base64Decode("YQ");
    ASSERT_EQ(2u, twoCharacters.size());
    EXPECT_EQ('a', twoCharacters[0]);
    EXPECT_EQ("", base64Decode(""));
    EXPECT_EQ("", base64Decode("=YWJj"));
    EXPECT_EQ("", base64Decode("Y==="));
    EXPECT_EQ("abc", base64Decode("YWJj=garbage"));
}

TEST(Base64Decode, CharactersOutsideTheAlphabetCountAs255)
{
    // '!' decodes as all ones: 0xFF << 2 | 0x3 = 0xFF, 0xFF << 4 | 0xF = 0xFF, (0xFF << 6) + 0xFF =
    // 0xBF.
    EXPECT_EQ(std::string("\xFF\xFF\xBF", 3), base64Decode("!!!!"));
}

TEST(Base64, EveryByteValueSurvivesTheRoundTrip)
{
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += static_cast<char>(255 - i);
    for (std::size_t length = 0; length <= bytes.size(); length += 85)
        EXPECT_EQ(bytes.substr(0, length), base64Decode(base64Encode(bytes.substr(0, length))));
    EXPECT_EQ(bytes.substr(0, 254), base64Decode(base64Encode(bytes.substr(0, 254))));
    EXPECT_EQ(bytes.substr(0, 255), base64Decode(base64Encode(bytes.substr(0, 255))));
}

TEST(Rot13, RotatesLettersWithinTheirCase)
{
    EXPECT_EQ("Uryyb", rot13("Hello"));
    EXPECT_EQ("NAZMnazm", rot13("ANMZanmz"));
    EXPECT_EQ("0-9 [@`{]", rot13("0-9 [@`{]"));
    EXPECT_EQ("Hello, World!", rot13(rot13("Hello, World!")));
}

TEST(Rot13, DropsMultiByteSequences)
{
    EXPECT_EQ("!", rot13("\xC3\xBC!"));
    EXPECT_EQ("k", rot13("\xF0\x9F\x98\x80x"));
    EXPECT_EQ("n", rot13("\xE2\x82\xAC"
                         "a"));
    EXPECT_EQ("n", rot13("a\xE2\x82"));  // cut short at the end
    EXPECT_EQ("\x80n", rot13("\x80"
                             "a"));  // a stray continuation byte is kept
}
