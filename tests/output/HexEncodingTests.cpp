#include <gtest/gtest.h>

#include "common/HexEncoding.h"

using namespace kel::rez;

namespace {

std::string digitsOf(const std::string& text)
{
    return hexDigits(reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

}  // namespace

TEST(HexEncoding, BytesGiveTwoLowerCaseDigitsEach)
{
    EXPECT_EQ("506c7567696e4d61696e", digitsOf("PluginMain"));
    EXPECT_EQ("", digitsOf(""));
    EXPECT_EQ("09", digitsOf("\t"));
    EXPECT_EQ("e9", digitsOf("\xe9"));
    EXPECT_EQ("0041ff", digitsOf(std::string("\0A\xff", 3)));
}

// Typed digits give their bytes, and come back as typed wherever their bytes end up.
TEST(HexEncoding, TypedDigitsKeepTheirCaseAndTheirBytes)
{
    HexBytes typed;
    appendTypedHex("0a0B", typed);
    EXPECT_EQ((std::vector<unsigned char>{0x0a, 0x0b}), typed.bytes);
    EXPECT_EQ("0a0B", hexDigits(typed));

    HexBytes list;
    list.bytes = {0xAB, 0xCD};
    appendHexBytes(typed, list);
    appendTypedHex("Ff", list);
    list.bytes.push_back(0xEF);
    EXPECT_EQ((std::vector<unsigned char>{0xab, 0xcd, 0x0a, 0x0b, 0xff, 0xef}), list.bytes);
    EXPECT_EQ("abcd0a0BFfef", hexDigits(list));
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
