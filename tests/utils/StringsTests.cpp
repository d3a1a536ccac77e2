// Byte-string functions and string-form conversions of kel::utils.
#include "kelutilsStrings.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <locale>
#include <string>
#include <vector>

using namespace kel::utils;

namespace {

/// Splits and copies the pieces out, freeing the array as a caller must.
std::vector<std::string> splitPieces(const std::string& text, const std::string& delimiter)
{
    std::string* parts = nullptr;
    unsigned int count = 0;
    if (!stringSplit(text, delimiter, parts, count))
        return {};
    std::vector<std::string> pieces(parts, parts + count);
    delete[] parts;
    return pieces;
}

using Pieces = std::vector<std::string>;

}  // namespace

TEST(StringSubstrCount, CountsOverlappingOccurrences)
{
    EXPECT_EQ(3u, stringSubstrCount("aaaa", "aa"));
    EXPECT_EQ(2u, stringSubstrCount("a,b,c", ","));
    EXPECT_EQ(0u, stringSubstrCount("abc", ""));
    EXPECT_EQ(0u, stringSubstrCount("ab", "abc"));
    EXPECT_EQ(1u, stringSubstrCount("abc", "abc"));
}

TEST(StringSplit, CutsAtEveryDelimiterKeepingEmptyPieces)
{
    EXPECT_EQ((Pieces{"a", "b", "c"}), splitPieces("a,b,c", ","));
    EXPECT_EQ((Pieces{"a", "b", ""}), splitPieces("a,b,", ","));
    EXPECT_EQ((Pieces{"", "a"}), splitPieces(",a", ","));
    EXPECT_EQ((Pieces{"", "", ""}), splitPieces(",,", ","));
    EXPECT_EQ((Pieces{"key", "value", "x"}), splitPieces("key::value::x", "::"));
}

TEST(StringSplit, OverlappingDelimiterLeavesTrailingEmptySlots)
{
    EXPECT_EQ((Pieces{"", "a", ""}), splitPieces("aaa", "aa"));
    EXPECT_EQ((Pieces{"", "", "", ""}), splitPieces("aaaa", "aa"));
}

TEST(StringSplit, TextWithoutDelimiterYieldsNothingAndLeavesPartsAlone)
{
    std::string untouched;
    std::string* parts = &untouched;
    unsigned int count = 99;
    EXPECT_FALSE(stringSplit("abc", ";", parts, count));
    EXPECT_EQ(&untouched, parts);
    EXPECT_EQ(0u, count);
    EXPECT_FALSE(stringSplit("abc", "", parts, count));
    EXPECT_FALSE(stringSplit("", ",", parts, count));
    EXPECT_EQ(&untouched, parts);
}

TEST(StringTrim, RemovesOnlyOuterBlanks)
{
    EXPECT_EQ("", stringTrim(" \t \t  "));
    EXPECT_EQ("", stringTrim(""));
    EXPECT_EQ("a  b", stringTrim(" \t\v\r\n\fa  b\f\n\r\v\t "));
    EXPECT_EQ("x", stringTrim("x"));
    EXPECT_EQ(std::string("\0x\0", 3), stringTrim(std::string("\0x\0", 3)));
}

TEST(StringReplaceAll, ReplacesEveryOccurrenceWithoutRescanning)
{
    EXPECT_EQ("a\\\"b", stringReplaceAll("a\"b", "\"", "\\\""));
    EXPECT_EQ("aaaaaa", stringReplaceAll("aaa", "a", "aa"));
    EXPECT_EQ("yy", stringReplaceAll("xxxx", "xx", "y"));
    EXPECT_EQ("yx", stringReplaceAll("xxx", "xx", "y"));
    EXPECT_EQ("ab", stringReplaceAll("a\rb\r", "\r", ""));
    EXPECT_EQ("", stringReplaceAll("\r\r", "\r", ""));
}

TEST(StringReplaceAll, LeavesTextAloneWhenNothingToReplace)
{
    EXPECT_EQ("abc", stringReplaceAll("abc", "", "x"));
    EXPECT_EQ("abc", stringReplaceAll("abc", "d", "x"));
    EXPECT_EQ("", stringReplaceAll("", "a", "x"));
    EXPECT_EQ("ab", stringReplaceAll("ab", "abc", "x"));
}

TEST(StringCase, BytewiseMappingTakesEveryByteAlone)
{
    EXPECT_EQ("ABC-1Z", bytesUpper("abc-1z"));
    EXPECT_EQ("abc-1z", bytesLower("ABC-1Z"));
    EXPECT_EQ("\xC2"
              "AB\xE9",
              bytesUpper("\xC2"
                         "ab\xE9"));
    EXPECT_EQ("\xC3"
              "x\xC9",
              bytesLower("\xC3"
                         "X\xC9"));
}

TEST(StringCase, MapsAsciiAndCopiesMultiByteSequences)
{
    EXPECT_EQ("ABC-1Z", stringUpper("abc-1z"));
    EXPECT_EQ("abc-1z", stringLower("ABC-1Z"));
    EXPECT_EQ("\xC3\xA9", stringUpper("\xC3\xA9"));
    EXPECT_EQ("\xC3\x89", stringLower("\xC3\x89"));
    // The byte after a lead byte belongs to its sequence even when it is a letter.
    EXPECT_EQ("\xC2"
              "aB",
              stringUpper("\xC2"
                          "ab"));
    EXPECT_EQ("\xE2\x82\xAC"
              "E",
              stringUpper("\xE2\x82\xAC"
                          "e"));
    EXPECT_EQ("\xF0\x9F\x98\x80"
              "X",
              stringUpper("\xF0\x9F\x98\x80"
                          "x"));
    // Bytes below 0xC2 are single bytes, continuation bytes included.
    EXPECT_EQ("\x80"
              "A\xC1"
              "B",
              stringUpper("\x80"
                          "a\xC1"
                          "b"));
    // A sequence cut short by the end copies what remains.
    EXPECT_EQ("A\xE2\x82", stringUpper("a\xE2\x82"));
}

TEST(NumberText, WritesFloatingValuesWithSixSignificantDigits)
{
    EXPECT_EQ("1.5", dtoa(1.5));
    EXPECT_EQ("0.1", dtoa(0.1));
    EXPECT_EQ("1.23457e+06", dtoa(1234567.0));
    EXPECT_EQ("1e-05", dtoa(0.00001));
    EXPECT_EQ("-0", dtoa(-0.0));
    EXPECT_EQ("100000", dtoa(100000.0));
    EXPECT_EQ("1e+06", dtoa(1000000.0));
    EXPECT_EQ("0.1", ftoa(0.1f));
    EXPECT_EQ("3.14159", ldtoa(3.14159265358979L));
}

TEST(NumberText, IgnoresTheGlobalLocale)
{
    struct Grouping : std::numpunct<char> {
        char do_thousands_sep() const override { return ','; }
        std::string do_grouping() const override { return "\3"; }
        char do_decimal_point() const override { return '#'; }
    };
    const std::locale previous =
        std::locale::global(std::locale(std::locale::classic(), new Grouping));
    const std::string whole = dtoa(100000.0);
    const std::string fraction = dtoa(2.5);
    std::locale::global(previous);
    EXPECT_EQ("100000", whole);
    EXPECT_EQ("2.5", fraction);
}

TEST(FourCharCode, ShowsLargeCodesAsBytesAndSmallOnesAsNumbers)
{
    EXPECT_EQ("PiPL", fourCharCodeToString(1349079116));
    EXPECT_EQ("128", fourCharCodeToString(128));
    EXPECT_EQ("32767", fourCharCodeToString(32767));
    EXPECT_EQ(std::string("\0\0\x80\0", 4), fourCharCodeToString(32768));
    EXPECT_EQ("-5", fourCharCodeToString(-5));
    EXPECT_EQ("-2147483648", fourCharCodeToString(INT_MIN));
}

TEST(CString, CopiesUpToTheFirstZeroByteIntoAZeroFilledArray)
{
    const std::string text("ab\0cd", 5);
    char* copy = stdStringToCString(text);
    EXPECT_EQ(std::string("ab\0\0\0\0", 6), std::string(copy, 6));
    delete[] copy;

    EXPECT_EQ("", cStringToStdString(nullptr));
    EXPECT_EQ("xyz", cStringToStdString("xyz"));

    char* duplicate = nullptr;
    EXPECT_TRUE(unconstCString("hello", duplicate));
    EXPECT_EQ(std::string("hello\0", 6), std::string(duplicate, 6));
    delete[] duplicate;
}

TEST(PString, AcceptsUpTo255BytesWithLengthPrefixAndTerminator)
{
    const std::string longest(255, 'x');
    unsigned char* pString = nullptr;
    ASSERT_TRUE(stdStringToPString(longest, pString));
    EXPECT_EQ(255, pString[0]);
    EXPECT_EQ(longest, std::string(reinterpret_cast<char*>(pString + 1), 255));
    EXPECT_EQ(0, pString[256]);
    delete[] pString;

    unsigned char held = 0;
    pString = &held;
    EXPECT_FALSE(stdStringToPString(std::string(256, 'x'), pString));
    EXPECT_EQ(nullptr, pString);

    // Only the bytes before a zero byte count.
    std::string padded(300, '\0');
    padded.replace(0, 2, "ab");
    ASSERT_TRUE(stdStringToPString(padded, pString));
    EXPECT_EQ(std::string("\x02"
                          "ab\0",
                          4),
              std::string(reinterpret_cast<char*>(pString), 4));
    delete[] pString;
}

TEST(PString, ConvertsFromCString)
{
    unsigned char held = 0;
    unsigned char* pString = &held;
    EXPECT_FALSE(cStringToPString(nullptr, pString));
    EXPECT_EQ(nullptr, pString);
    EXPECT_FALSE(cStringToPString(std::string(256, 'y').c_str(), pString));
    EXPECT_EQ(nullptr, pString);
    ASSERT_TRUE(cStringToPString("", pString));
    EXPECT_EQ(std::string("\0\0", 2), std::string(reinterpret_cast<char*>(pString), 2));
    delete[] pString;
}

TEST(PString, ReadsTheCountedBytesStoppingAtAZeroByte)
{
    const unsigned char counted[] = {3, 'a', 'b', 'c', 'd'};
    const unsigned char zeroInside[] = {4, 'a', 0, 'c', 'd'};

    std::string text = "untouched";
    EXPECT_FALSE(pStringToStdString(nullptr, text));
    EXPECT_EQ("untouched", text);
    EXPECT_TRUE(pStringToStdString(counted, text));
    EXPECT_EQ("abc", text);
    EXPECT_TRUE(pStringToStdString(zeroInside, text));
    EXPECT_EQ("a", text);

    char held = 0;
    char* cString = &held;
    EXPECT_FALSE(pStringToCString(nullptr, cString));
    EXPECT_EQ(nullptr, cString);
    ASSERT_TRUE(pStringToCString(counted, cString));
    EXPECT_EQ(std::string("abc\0", 4), std::string(cString, 4));
    delete[] cString;
}
