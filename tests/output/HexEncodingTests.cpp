#include <gtest/gtest.h>

#include <climits>

#include "common/HexEncoding.h"

using namespace kel::rez;

TEST(HexEncoding, IntegersAreFixedWidthTwosComplementHighNibbleFirst)
{
    EXPECT_EQ("0a", __int8ToHex(10));
    EXPECT_EQ("ff", __int8ToHex(-1));
    EXPECT_EQ("80", __int8ToHex(-128));
    EXPECT_EQ("7f", __int8ToHex(127));

    EXPECT_EQ("0001", __int16ToHex(1));
    EXPECT_EQ("1234", __int16ToHex(4660));
    EXPECT_EQ("fffe", __int16ToHex(-2));
    EXPECT_EQ("8000", __int16ToHex(-32768));

    EXPECT_EQ("00000000", __int32ToHex(0));
    EXPECT_EQ("00000100", __int32ToHex(256));
    EXPECT_EQ("ffffffff", __int32ToHex(-1));
    EXPECT_EQ("80000000", __int32ToHex(INT_MIN));
    EXPECT_EQ("7fffffff", __int32ToHex(INT_MAX));
}

TEST(HexEncoding, StringsGiveTwoLowerCaseDigitsPerByte)
{
    EXPECT_EQ("506c7567696e4d61696e", __strToHex("PluginMain"));
    EXPECT_EQ("", __strToHex(""));
    EXPECT_EQ("09", __strToHex("\t"));
    EXPECT_EQ("e9", __strToHex("\xe9"));
    EXPECT_EQ("0041ff", __strToHex(std::string("\0A\xff", 3)));
}

TEST(HexEncoding, FourCharCodesAreSpacePaddedAndCutAfterFourBytes)
{
    EXPECT_EQ(0x3842494Du, __strToFourChar("8BIM"));
    EXPECT_EQ(0x61622020u, __strToFourChar("ab"));
    EXPECT_EQ(0x20202020u, __strToFourChar(""));
    EXPECT_EQ(0x41424344u, __strToFourChar("ABCDE"));
    // A high byte stays in its own eight bits.
    EXPECT_EQ(0x41E94344u, __strToFourChar("A\xe9"
                                           "CD"));
    EXPECT_EQ(0x000041FFu, __strToFourChar(std::string("\0\0A\xff", 4)));
}
