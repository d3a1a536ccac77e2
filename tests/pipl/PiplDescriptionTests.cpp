// Compiled lists read back into descriptions: the Photoshop worked example laid out by hand
// from the property list format, and variations of it that no description can give back.
#include <gtest/gtest.h>

#include "common/HexEncoding.h"
#include "common/ListText.h"
#include "keljsonParse.h"
#include "pipl/Pipl.h"

namespace kel::rez {
namespace {

using Bytes = std::vector<unsigned char>;

Bytes fromHex(const std::string& hex)
{
    Bytes bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<unsigned char>(__hexDigitValue(hex[i]) * 16
                                                   + __hexDigitValue(hex[i + 1])));
    return bytes;
}

// The records of the Photoshop filter "Blur" (Category "Demo", RGB only, version 1.2.3).
const std::vector<std::string> blurRecords = {
    "3842494d6b696e6400000000000000043842464d",
    "3842494d76657273000000000000000400040000",
    "3842494d6d69363400000000000000141046696c746572506c7567696e4d61696e000000",
    "3842494d70727374000000000000000400000001",
    "3842494d656e626c00000000000000087472756500000000",
    "3842494d6d73333200000000000000087fffffff7fffffff",
    "3842494d66696369000000000000001c0404060004040E0004040E000404060004040E000404060004040E00",
    "3842494d6361746700000000000000080444656d6f000000",
    "3842494d6e616d65000000000000000804426c7572000000",
    "3842494d6d6f6465000000000000000210000000",
    "3842494d6873746d0000000000000018000000004466546d4466546d03e8426c7572000000000000",
    "3842494d636d7074000000000000000c00010203426c757200000000",
};

Bytes macList(const std::vector<std::string>& records)
{
    char count[9];
    std::snprintf(count, sizeof count, "%08zx", records.size());
    std::string hex = std::string("00000000") + count;
    for (const std::string& record : records)
        hex += record;
    return fromHex(hex);
}

std::string membersOf(const PiplDescription& described)
{
    std::string names;
    for (const auto& member : *described.description->members())
        names += member.first + " ";
    return names;
}

TEST(PiplDescription, GivesTheWorkedExampleBackWithoutItsFixedAndDefaultProperties)
{
    const PiplDescription described = describePipl(macList(blurRecords), PiplPlatform::mac);
    ASSERT_TRUE(described.description);
    // No "Terminology": the 'hstm' is the default one, which the compiler supplies.
    EXPECT_EQ(membersOf(described), "Category Name PluginType SupportedModes Version ");
    kel::utils::AutoNode modes(described.description->member("SupportedModes"));
    EXPECT_TRUE(kel::utils::AutoNode(modes->member("RGB"))->boolValue());
    EXPECT_FALSE(kel::utils::AutoNode(modes->member("LAB"))->boolValue());
    kel::utils::AutoNode version(described.description->member("Version"));
    EXPECT_EQ(kel::utils::AutoNode(version->member("Minor"))->intValue(), 2);
    EXPECT_EQ(described.terminologyId, 1000);
}

TEST(PiplDescription, KeepsUnknownRecordsRawAtTheirPlaceAndNothingElse)
{
    std::vector<std::string> records = blurRecords;
    // A record no member writes, between 'name' and 'mode': where "Properties" goes.
    records.insert(records.begin() + 9, "4f746872717171710000000000000003010203" "00");
    const PiplDescription described = describePipl(macList(records), PiplPlatform::mac);
    ASSERT_TRUE(described.description);
    kel::utils::AutoNode raw(described.description->member("Properties"));
    ASSERT_TRUE(raw);
    kel::utils::AutoNode element(raw->element(0));
    EXPECT_EQ(kel::utils::AutoNode(element->member("Key"))->stringValue(), "qqqq");
    EXPECT_EQ(kel::utils::AutoNode(element->member("Data"))->stringValue(), "010203");
}

TEST(PiplDescription, RefusesListsNoDescriptionWritesInTheirOrder)
{
    std::vector<std::string> swapped = blurRecords;
    std::swap(swapped[7], swapped[8]);  // 'name' before 'catg'
    std::vector<std::string> lateRaw = blurRecords;
    lateRaw.push_back("4f746872717171710000000000000000");  // after 'cmpt'
    std::vector<std::string> noVersion(blurRecords.begin(), blurRecords.end() - 1);
    std::vector<std::string> dirtyPadding = blurRecords;
    dirtyPadding[8] = "3842494d6e616d65000000000000000504426c7572000001";
    for (const auto& records : {swapped, lateRaw, noVersion, dirtyPadding})
        EXPECT_FALSE(describePipl(macList(records), PiplPlatform::mac).description);
    Bytes trailing = macList(blurRecords);
    trailing.push_back(0);
    EXPECT_FALSE(describePipl(trailing, PiplPlatform::mac).description);
    EXPECT_FALSE(describePipl(macList(blurRecords), PiplPlatform::windows).description);
}

TEST(PiplDescription, NamesNoTerminologyWhenTheListHasNone)
{
    std::vector<std::string> records = blurRecords;
    records.erase(records.begin() + 10);
    const PiplDescription described = describePipl(macList(records), PiplPlatform::mac);
    ASSERT_TRUE(described.description);
    kel::utils::AutoNode terminology(described.description->member("Terminology"));
    ASSERT_TRUE(terminology);
    EXPECT_EQ(terminology->nodeType(), kel::json::Node::TypeBool);
    EXPECT_EQ(described.terminologyId, 0);
}

TEST(ListText, TakesOnlyWhatBothKindsOfJsonReaderReadAlike)
{
    for (const char* plain : {"", "Blur \"x\"", "caf\xc3\xa9", "\xf0\x9f\x98\x80", "~"})
        EXPECT_TRUE(isPlainListText(plain)) << plain;
    for (const char* hostile : {"a\\", "tab\t", "\x7f", "\xc3", "\xc0\xaf", "\xed\xa0\x80",
                                "\xf4\x90\x80\x80", "\xff"})
        EXPECT_FALSE(isPlainListText(hostile)) << hostile;
    EXPECT_EQ(quotedListText("a\"b"), "\"a\\\"b\"");
    kel::utils::AutoNode parsed(kel::json::parse(quotedListText("a\"b\"")));
    EXPECT_EQ(parsed->stringValue(), "a\"b\"");
}

}  // namespace
}  // namespace kel::rez
