// The Rez data statement and the resource-script raw-data blocks made from hex text.
#include <gtest/gtest.h>

#include <cctype>
#include <sstream>
#include <string>

#include "common/ExitStatus.h"
#include "output/ResourceScriptText.h"
#include "output/RezText.h"

namespace kel::rez {
namespace {

Resource makeResource(const std::string& type, int id, const std::string& name = "")
{
    Resource resource;
    resource.type = type;
    resource.id = static_cast<std::int16_t>(id);
    resource.name = name;
    return resource;
}

struct EmitResult {
    bool ok;
    std::string out;
    std::string err;
};

EmitResult emitMac(const Resource& resource, const std::string& hex, std::string out = "")
{
    Diagnostics diagnostics;
    StreamedText text;
    text.text() = out;
    const bool ok = __processByteStrMac(resource, hex, text, diagnostics);
    return {ok, text.text(), diagnostics.text()};
}

EmitResult emitWin(const Resource& resource, const std::string& hex, bool duplicateByName = true,
                   std::string out = "")
{
    Diagnostics diagnostics;
    StreamedText text;
    text.text() = out;
    const bool ok = __processByteStrWin(resource, hex, text, duplicateByName, diagnostics);
    return {ok, text.text(), diagnostics.text()};
}

std::string badCharMessage(const std::string& type, const std::string& id, const std::string& found)
{
    return "Error: data for " + type + " : " + id
           + " must be in stringified hex format (i.e. \"1a2b3c56...\"), but found char '" + found
           + "' in string\n";
}

const std::string pngHead = "89504E470D0A1A0A0000000D494844520000";
const std::string pngHeadEscaped =
    "\"\\211\\120\\116\\107\\15\\12\\32\\12\\0\\0\\0\\15\\111\\110\\104\\122\\0\\0\"";

TEST(EmitterWorkedExample, MacStatementWithAndWithoutName)
{
    const std::string lines = "\t$\"8950 4E47 0D0A 1A0A 0000 000D 4948 4452\"\n"
                              "\t$\"0000\"\n"
                              "};\n\n";
    EmitResult unnamed = emitMac(makeResource("PNGI", 12346), pngHead);
    EXPECT_TRUE(unnamed.ok);
    EXPECT_EQ("data 'PNGI' (12346) {\n" + lines, unnamed.out);
    EXPECT_EQ("", unnamed.err);

    EmitResult named = emitMac(makeResource("PNGI", 12346, "My_Image"), pngHead);
    EXPECT_TRUE(named.ok);
    EXPECT_EQ("data 'PNGI' (12346, \"My_Image\") {\n" + lines, named.out);
}

TEST(EmitterWorkedExample, WinBlocksWithAndWithoutName)
{
    const std::string body = " PNGI {\n\t" + pngHeadEscaped + "\n}\n\n";
    EmitResult unnamed = emitWin(makeResource("PNGI", 12346), pngHead);
    EXPECT_TRUE(unnamed.ok);
    EXPECT_EQ("12346" + body, unnamed.out);
    EXPECT_EQ("", unnamed.err);

    EmitResult named = emitWin(makeResource("PNGI", 12346, "My_Image"), pngHead);
    EXPECT_TRUE(named.ok);
    EXPECT_EQ("12346" + body + "\"My_Image\"" + body, named.out);
}

// Bytes give the same texts as their hex, encoded in lower case where no digits were typed.
TEST(EmitterWorkedExample, BytesWriteTheirTypedDigitsAndEncodeTheRest)
{
    HexBytes data;
    appendTypedHex(pngHead.substr(0, 20), data);  // "89504E470D0A1A0A0000"
    data.bytes.insert(data.bytes.end(), {0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00});
    StreamedText mac;
    appendMacDataStatement(makeResource("PNGI", 12346), data, mac);
    EXPECT_EQ("data 'PNGI' (12346) {\n"
              "\t$\"8950 4E47 0D0A 1A0A 0000 000d 4948 4452\"\n"
              "\t$\"0000\"\n"
              "};\n\n",
              mac.text());

    StreamedText win;
    appendWinDataBlock(makeResource("PNGI", 12346, "My_Image"), data.bytes, win);
    EXPECT_EQ(emitWin(makeResource("PNGI", 12346, "My_Image"), pngHead, false).out, win.text());
    StreamedText unnumbered;
    appendWinDataBlock(makeResource("PNGI", 0, "My_Image"), data.bytes, unnumbered);
    EXPECT_EQ(emitWin(makeResource("PNGI", 0, "My_Image"), pngHead, false).out, unnumbered.text());
}

TEST(EmitterMacLayout, LineBreaksAfterThirtyTwoDigits)
{
    const std::string digits32 = "0123456789abcdef0123456789ABCDEF";
    EXPECT_EQ("data 'raw ' (10000) {\n"
              "\t$\"0123 4567 89ab cdef 0123 4567 89AB CDEF\"\n"
              "};\n\n",
              emitMac(makeResource("raw ", 10000), digits32).out);
    EXPECT_EQ("data 'raw ' (10000) {\n"
              "\t$\"0123 4567 89ab cdef 0123 4567 89AB CDEF\"\n"
              "\t$\"7\"\n"
              "};\n\n",
              emitMac(makeResource("raw ", 10000), digits32 + "7").out);
}

TEST(EmitterMacLayout, OddDigitCountIsCopiedAndAppendsAfterExistingText)
{
    EmitResult result = emitMac(makeResource("X", -5), "abc", "before\n");
    EXPECT_TRUE(result.ok);
    EXPECT_EQ("before\ndata 'X' (-5) {\n\t$\"abc\"\n};\n\n", result.out);
}

TEST(EmitterNames, DoubleQuoteEscapedInEachFormatsOwnWay)
{
    const Resource resource = makeResource("DATA", 10001, "say \"hi\"\\");
    // Both escape the backslash; a quote is \" to Rez and "" to a resource compiler.
    EXPECT_EQ("data 'DATA' (10001, \"say \\\"hi\\\"\\\\\") {\n\t$\"00\"\n};\n\n",
              emitMac(resource, "00").out);
    EXPECT_EQ("10001 DATA {\n\t\"\\0\"\n}\n\n"
              "\"say \"\"hi\"\"\\\\\" DATA {\n\t\"\\0\"\n}\n\n",
              emitWin(resource, "00").out);
}

TEST(EmitterWinBytes, OctalEscapesWithoutLeadingZeros)
{
    EXPECT_EQ("1 T {\n\t\"\\0\\7\\10\\12\\77\\100\\211\\377\"\n}\n\n",
              emitWin(makeResource("T", 1), "0007080a3f4089ff").out);
}

TEST(EmitterWinBytes, CaseOfDigitsDoesNotChangeBytes)
{
    EXPECT_EQ(emitWin(makeResource("T", 1), "aBcDeF").out,
              emitWin(makeResource("T", 1), "AbCdEf").out);
    EXPECT_EQ("1 T {\n\t\"\\253\\315\\357\"\n}\n\n", emitWin(makeResource("T", 1), "abcdef").out);
}

TEST(EmitterWinBlocks, WhichKeysAreWritten)
{
    const std::string body = " T {\n\t\"\\1\"\n}\n\n";
    // Duplicating by name: always by ID, by name too when there is one.
    EXPECT_EQ("0" + body, emitWin(makeResource("T", 0), "01", true).out);
    EXPECT_EQ("0" + body + "\"n\"" + body, emitWin(makeResource("T", 0, "n"), "01", true).out);
    // Not duplicating: the ID when there is one, else the name, even an empty one.
    EXPECT_EQ("7" + body, emitWin(makeResource("T", 7, "n"), "01", false).out);
    EXPECT_EQ("\"n\"" + body, emitWin(makeResource("T", 0, "n"), "01", false).out);
    EXPECT_EQ("\"\"" + body, emitWin(makeResource("T", 0), "01", false).out);
}

TEST(EmitterErrors, NonHexByteNamedByBoth)
{
    const Resource resource = makeResource("PNGI", 12346);
    const std::string message = badCharMessage("PNGI", "12346", "G");
    for (const std::string& hex :
         {std::string("12G4"), std::string("12GZ"), std::string("1234G")}) {
        EmitResult mac = emitMac(resource, hex, "kept");
        EXPECT_FALSE(mac.ok) << hex;
        EXPECT_EQ(message, mac.err) << hex;
        EmitResult win = emitWin(resource, hex, true, "kept");
        EXPECT_FALSE(win.ok) << hex;
        EXPECT_EQ("kept", win.out) << hex;
    }
    // The high digit of a pair is tested first.
    EXPECT_EQ(message, emitWin(resource, "12GZ").err);
    EXPECT_EQ(badCharMessage("PNGI", "12346", "Z"), emitWin(resource, "12ZG").err);
    // The complete pairs are checked before a lone last digit.
    EXPECT_EQ(message, emitWin(resource, "G12").err);
}

TEST(EmitterErrors, EveryByteIsCheckedAtEveryPositionOfLongData)
{
    // Long data is checked a block at a time; the first bad byte is still the one named,
    // wherever it sits relative to the blocks, and no other byte is refused.
    const Resource resource = makeResource("PNGI", 12346);
    const std::string digits(200, 'a');
    for (int value = 0; value < 256; ++value) {
        const char byte = static_cast<char>(value);
        const bool isHex = std::isxdigit(value) != 0;
        for (std::size_t position : {0u, 62u, 63u, 64u, 65u, 127u, 128u, 198u, 199u}) {
            std::string hex = digits;
            hex[position] = byte;
            if (!isHex && position + 1 < hex.size())
                hex[position + 1] = 'Z';  // a later bad byte is not the one named
            const EmitResult mac = emitMac(resource, hex);
            const EmitResult win = emitWin(resource, hex);
            EXPECT_EQ(isHex, mac.ok) << value << " at " << position;
            EXPECT_EQ(isHex, win.ok) << value << " at " << position;
            if (!isHex) {
                const std::string message = badCharMessage("PNGI", "12346", std::string(1, byte));
                EXPECT_EQ(message, mac.err) << value << " at " << position;
                EXPECT_EQ(message, win.err) << value << " at " << position;
            }
        }
    }
}

TEST(EmitterErrors, BadByteBeyondTheFirstWrittenPiecesLeavesTheTextAsItWas)
{
    // Lines are written and checked in pieces; a bad byte after several whole pieces have
    // gone into the text still leaves the text as it was before the call.
    const Resource resource = makeResource("PNGI", 12346);
    std::string hex(400000, 'f');
    hex[hex.size() - 3] = 'g';
    const EmitResult mac = emitMac(resource, hex, "kept");
    EXPECT_FALSE(mac.ok);
    EXPECT_EQ("kept", mac.out);
    EXPECT_EQ(badCharMessage("PNGI", "12346", "g"), mac.err);
}

TEST(EmitterErrors, OddDigitCountRejectedForWinWithByteZero)
{
    const Resource resource = makeResource("PNGI", 12346);
    EmitResult win = emitWin(resource, "abc", true, "kept");
    EXPECT_FALSE(win.ok);
    EXPECT_EQ("kept", win.out);
    EXPECT_EQ(badCharMessage("PNGI", "12346", std::string(1, '\0')), win.err);
    EXPECT_EQ(badCharMessage("PNGI", "12346", std::string(1, '\0')), emitWin(resource, "abG").err);
    EXPECT_EQ(badCharMessage("PNGI", "12346", "G"), emitMac(resource, "abG").err);
}

/// Every byte value, many times over: more text than one internal chunk holds.
std::string longHexData()
{
    static const char digits[] = "0123456789abcdefABCDEF";
    std::string hex;
    for (int round = 0; round < 300; ++round)
        for (int value = 0; value < 256; ++value) {
            hex += digits[value / 16];
            hex += digits[(value + round) % 22];
        }
    return hex;
}

/// Reads the octal escapes back into bytes; "?" on anything else.
std::string unescapeOctal(const std::string& escaped)
{
    std::string bytes;
    for (std::size_t i = 0; i < escaped.size();) {
        if (escaped[i] != '\\')
            return "?";
        int value = 0;
        std::size_t digits = 0;
        for (++i; i < escaped.size() && digits < 3 && escaped[i] >= '0' && escaped[i] <= '7';
             ++i, ++digits)
            value = value * 8 + (escaped[i] - '0');
        if (digits == 0 || value > 255)
            return "?";
        bytes += static_cast<char>(value);
    }
    return bytes;
}

std::string bytesOfHex(const std::string& hex)
{
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

TEST(EmitterLongData, MacLinesHoldThirtyTwoDigitsInGroupsOfFour)
{
    const std::string hex = longHexData() + "123";
    EmitResult result = emitMac(makeResource("BIG ", 12000), hex);
    ASSERT_TRUE(result.ok);
    const std::string head = "data 'BIG ' (12000) {\n";
    const std::string tail = "};\n\n";
    ASSERT_EQ(head, result.out.substr(0, head.size()));
    ASSERT_EQ(tail, result.out.substr(result.out.size() - tail.size()));
    std::istringstream lines(
        result.out.substr(head.size(), result.out.size() - head.size() - tail.size()));
    std::string line, digits;
    std::size_t lineCount = 0;
    while (std::getline(lines, line)) {
        ++lineCount;
        ASSERT_EQ("\t$\"", line.substr(0, 3));
        ASSERT_EQ('"', line.back());
        const std::string body = line.substr(3, line.size() - 4);
        for (std::size_t i = 0; i < body.size(); ++i) {
            if (i % 5 == 4) {
                ASSERT_EQ(' ', body[i]) << lineCount;
            } else {
                digits += body[i];
            }
        }
        if (digits.size() < hex.size()) {
            ASSERT_EQ(39u, body.size()) << lineCount;  // every line but the last is full
        }
    }
    EXPECT_EQ(hex, digits);
    EXPECT_EQ((hex.size() + 31) / 32, lineCount);
}

TEST(EmitterLongData, WinBlocksCarryEveryByteTwice)
{
    const std::string hex = longHexData();
    EmitResult result = emitWin(makeResource("BIG", 12000, "Big"), hex);
    ASSERT_TRUE(result.ok);
    const std::size_t firstQuote = result.out.find("\t\"") + 2;
    const std::size_t firstEnd = result.out.find("\"\n}\n\n", firstQuote);
    ASSERT_EQ("12000 BIG {\n\t\"", result.out.substr(0, firstQuote));
    const std::string escaped = result.out.substr(firstQuote, firstEnd - firstQuote);
    EXPECT_EQ(bytesOfHex(hex), unescapeOctal(escaped));
    EXPECT_EQ("12000 BIG {\n\t\"" + escaped + "\"\n}\n\n\"Big\" BIG {\n\t\"" + escaped
                  + "\"\n}\n\n",
              result.out);
}

}  // namespace
}  // namespace kel::rez
