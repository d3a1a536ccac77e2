// Record data as the lists store it: numbers, codes and strings in each list's byte order.
#include <gtest/gtest.h>

#include "pipl/PiplPropertyList.h"

using namespace kel::rez;

namespace {

std::string digitsOf(PiplDataBuilder& builder)
{
    return hexDigits(builder.bytes());
}

}  // namespace

TEST(PiplDataBuilder, NumbersAreFixedWidthTwosComplementInTheListsOrder)
{
    PiplDataBuilder mac(PiplPlatform::mac);
    EXPECT_EQ("0a", digitsOf(mac.number(10, 1)));
    EXPECT_EQ("ff", digitsOf(mac.number(static_cast<std::uint32_t>(-1), 1)));
    EXPECT_EQ("80", digitsOf(mac.number(0x180, 1)));
    EXPECT_EQ("0001", digitsOf(mac.number(1, 2)));
    EXPECT_EQ("fffe", digitsOf(mac.number(static_cast<std::uint32_t>(-2), 2)));
    EXPECT_EQ("00000100", digitsOf(mac.number(256, 4)));
    EXPECT_EQ("80000000", digitsOf(mac.number(0x80000000u, 4)));

    PiplDataBuilder win(PiplPlatform::windows);
    EXPECT_EQ("0a", digitsOf(win.number(10, 1)));
    EXPECT_EQ("3412", digitsOf(win.number(0x1234, 2)));
    EXPECT_EQ("00010000", digitsOf(win.number(256, 4)));
    EXPECT_EQ("ffffff7f", digitsOf(win.number(0x7FFFFFFF, 4)));
    // Flag sets keep their high byte first on both platforms.
    EXPECT_EQ("1234", digitsOf(win.highByteFirst(0x1234, 2)));
}

TEST(PiplDataBuilder, CodesAreNumbersOfTheirFourCharacters)
{
    PiplDataBuilder mac(PiplPlatform::mac);
    EXPECT_EQ("3842494d", digitsOf(mac.code("8BIM")));
    EXPECT_EQ("61622020", digitsOf(mac.code("ab")));
    PiplDataBuilder win(PiplPlatform::windows);
    EXPECT_EQ("4d494238", digitsOf(win.code("8BIM")));
}

// The record declares what was appended; the padding follows it.
TEST(PiplDataBuilder, RecordDataIsPaddedAfterItsDeclaredLength)
{
    PiplData word = PiplDataBuilder(PiplPlatform::mac).number(5, 2).recordData();
    EXPECT_EQ(2u, word.declaredLength);
    EXPECT_EQ("00050000", hexDigits(word));

    PiplData name = __lengthPrefixedString("abc");  // length byte and three: four zeros follow
    EXPECT_EQ(8u, name.declaredLength);
    EXPECT_EQ("0361626300000000", hexDigits(name));

    PiplData entry = __zeroTerminatedString("ab");
    EXPECT_EQ(4u, entry.declaredLength);
    EXPECT_EQ("61620000", hexDigits(entry));

    PiplData raw = PiplDataBuilder(PiplPlatform::windows).typedHex("0A0b0C").recordData();
    EXPECT_EQ(3u, raw.declaredLength);
    EXPECT_EQ("0A0b0C00", hexDigits(raw));
}
