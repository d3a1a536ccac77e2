// Member-driven properties, fixed properties per kind, and the record count.
#include <gtest/gtest.h>

#include <algorithm>

#include "PiplTestSupport.h"

using namespace pipltest;

namespace {

const std::string versionJson = "\"Version\":{\"Major\":1,\"Minor\":0,\"Revision\":0}";

std::string photoshopOf(const std::string& pluginType, const std::string& extraMembers)
{
    return "{\"PluginType\":\"" + pluginType + "\",\"Name\":\"X\"," + versionJson + extraMembers
           + "}";
}

std::string photoshop(const std::string& extraMembers)
{
    return photoshopOf("Photoshop_Format", extraMembers);
}

struct Lists {
    ParsedList mac;
    ParsedList win;
};

Lists compile(const std::string& description)
{
    PiplRun run = runPipl(description);
    EXPECT_TRUE(run.ok) << run.errorText;
    std::vector<std::string> mac = rezDataHex(run.macText);
    std::vector<std::string> win = rcDataHex(run.winText);
    if (mac.empty() || win.empty()) {
        ADD_FAILURE() << "no PiPL data for " << description;
        return {};
    }
    return {parseMacList(mac[0]), parseWinList(win[0])};
}

struct Record {
    std::uint32_t declaredLength = 0;
    std::string data;
    bool found = false;
};

Record recordOf(const ParsedList& list, const std::string& key)
{
    for (std::size_t i = 0; i < list.keys.size(); ++i)
        if (list.keys[i] == key)
            return {list.declaredLengths[i], list.dataHex[i], true};
    return {};
}

std::vector<std::string> keysAfter(const ParsedList& list, std::size_t fixedCount)
{
    return std::vector<std::string>(list.keys.begin() + std::min(fixedCount, list.keys.size()),
                                    list.keys.end());
}

const std::string allModes(bool value)
{
    std::string text = value ? "true" : "false";
    std::string modes;
    for (const char* mode : {"Bitmap", "Grayscale", "Indexed", "RGB", "CMYK", "HSL", "HSB", "LAB",
                             "Multichannel", "Duotone"})
        modes += std::string(modes.empty() ? "" : ",") + "\"" + mode + "\":" + text;
    return modes;
}

std::string flags(bool saves, bool read, bool write, bool writesAll, bool alpha, bool thumb)
{
    auto b = [](bool value) { return value ? std::string("true") : std::string("false"); };
    return ",\"FormatFlags\":{\"SavesImageResources\":" + b(saves) + ",\"CanRead\":" + b(read)
           + ",\"CanWrite\":" + b(write) + ",\"WritesAll\":" + b(writesAll)
           + ",\"CanWriteAlpha\":" + b(alpha) + ",\"CanMakeThumb\":" + b(thumb) + "}";
}

}  // namespace

TEST(PiplProperties, MemberNameOrderDecidesPropertyOrder)
{
    Lists lists = compile("{\"Version\":{\"Major\":1,\"Minor\":0,\"Revision\":0},\"Category\":"
                          "\"c\",\"AboutBox\":false,"
                          "\"PluginType\":\"Photoshop_Filter\",\"Name\":\"X\"}");
    const std::vector<std::string> expected = {"nabo", "catg", "name", "hstm", "cmpt"};
    EXPECT_EQ(expected, keysAfter(lists.mac, 7));
    EXPECT_EQ(expected, keysAfter(lists.win, 8));
}

TEST(PiplProperties, CountMatchesTheRecordsWrittenForEveryKindAndMember)
{
    const std::string everything =
        ",\"AboutBox\":false,\"Category\":\"c\",\"ExportAlpha\":true,\"FilterLayers\":false,"
        "\"FormatFileType\":{\"Creator\":\"8BIM\",\"Type\":\"TEXT\"},\"FormatReadTypes\":[],"
        "\"FormatWriteTypes\":[{\"Creator\":\"a\",\"Type\":\"b\"}],\"FormatFilteredTypes\":[],"
        "\"FormatReadExt\":[\"png\"],\"FormatWriteExt\":[],\"FormatFilteredExt\":[\"a\",\"b\"],"
        "\"Unknown\":1,"
        "\"SupportedModes\":{"
        + allModes(true) + "}" + flags(true, true, true, true, true, true);
    const char* kinds[] = {
        "Photoshop_Acquire",   "Photoshop_Actions", "Photoshop_Export",      "Photoshop_Extension",
        "Photoshop_Filter",    "Photoshop_Format",  "Photoshop_Measurement", "Photoshop_Picker",
        "Photoshop_Selection", "Illustrator"};
    for (const char* kind : kinds) {
        for (const std::string& extra :
             {std::string(), everything, std::string(",\"AboutBox\":true")}) {
            SCOPED_TRACE(std::string(kind) + extra);
            Lists lists = compile(photoshopOf(kind, extra));
            EXPECT_TRUE(lists.mac.wellFormed);
            EXPECT_TRUE(lists.win.wellFormed);
            EXPECT_EQ(lists.mac.keys.size(), lists.mac.count);
            EXPECT_EQ(lists.win.keys.size(), lists.win.count);
        }
    }
    // 7 fixed Mac records, 8 on Windows, plus 'name', 'hstm', 'cmpt' and sixteen members' worth.
    Lists full = compile(photoshopOf("Photoshop_Format", everything));
    EXPECT_EQ(7u + 3u + 13u, full.mac.count);
    EXPECT_EQ(8u + 3u + 13u, full.win.count);
}

TEST(PiplProperties, ActionsPluginsCarryTheActionsPropertyAfterPrst)
{
    Lists lists = compile(photoshopOf("Photoshop_Actions", ""));
    const std::vector<std::string> macFixed = {"kind", "vers", "mi64", "prst",
                                               "AcpM", "enbl", "ms32", "fici"};
    const std::vector<std::string> winFixed = {"kind", "vers", "wx86", "8664", "prst",
                                               "AcpM", "enbl", "ms32", "fici"};
    EXPECT_EQ(macFixed,
              std::vector<std::string>(lists.mac.keys.begin(), lists.mac.keys.begin() + 8));
    EXPECT_EQ(winFixed,
              std::vector<std::string>(lists.win.keys.begin(), lists.win.keys.begin() + 9));
    EXPECT_EQ("ADBE", lists.mac.vendors[4]);
    EXPECT_EQ("ADBE", lists.win.vendors[5]);
    EXPECT_EQ("00000001", recordOf(lists.mac, "AcpM").data);
    EXPECT_EQ("01000000", recordOf(lists.win, "AcpM").data);
    // "ActionsPluginMain" has 17 bytes: one length byte and two zero bytes on the Mac, three
    // zero bytes on Windows.
    EXPECT_EQ(20u, recordOf(lists.mac, "mi64").declaredLength);
    EXPECT_EQ("11416374696f6e73506c7567696e4d61696e0000", recordOf(lists.mac, "mi64").data);
    EXPECT_EQ(20u, recordOf(lists.win, "8664").declaredLength);
    EXPECT_EQ("416374696f6e73506c7567696e4d61696e000000", recordOf(lists.win, "8664").data);
}

TEST(PiplProperties, StringPaddingAlwaysAddsOneToFourZeroBytes)
{
    Lists empty =
        compile("{\"PluginType\":\"Photoshop_Format\",\"Name\":\"\"," + versionJson + "}");
    EXPECT_EQ(4u, recordOf(empty.mac, "name").declaredLength);
    EXPECT_EQ("00000000", recordOf(empty.mac, "name").data);
    EXPECT_EQ("00000000", recordOf(empty.mac, "cmpt").data.substr(8));

    Lists three =
        compile("{\"PluginType\":\"Photoshop_Format\",\"Name\":\"abc\"," + versionJson + "}");
    EXPECT_EQ(8u, recordOf(three.mac, "name").declaredLength);
    EXPECT_EQ("0361626300000000", recordOf(three.mac, "name").data);
    EXPECT_EQ(8u, recordOf(three.win, "name").declaredLength);
    EXPECT_EQ("0361626300000000", recordOf(three.win, "name").data);
    // Zero-terminated: three bytes and one zero, declared after the version word.
    EXPECT_EQ(8u, recordOf(three.mac, "cmpt").declaredLength);
    EXPECT_EQ("0001000061626300", recordOf(three.mac, "cmpt").data);

    Lists longest = compile("{\"PluginType\":\"Illustrator\",\"Name\":\"" + std::string(255, 'a')
                            + "\"," + versionJson + "}");
    Record pinm = recordOf(longest.mac, "pinm");
    EXPECT_EQ(260u, pinm.declaredLength);
    EXPECT_EQ("ff", pinm.data.substr(0, 2));
    EXPECT_EQ("00000000", pinm.data.substr(512));
}

TEST(PiplProperties, VersionWordAndTerminologyNumber)
{
    Lists ored = compile("{\"PluginType\":\"Photoshop_Format\",\"Name\":\"X\","
                         "\"Version\":{\"Major\":2,\"Minor\":256,\"Revision\":0}}");
    EXPECT_EQ("00030000", recordOf(ored.mac, "cmpt").data.substr(0, 8));
    EXPECT_EQ("00000300", recordOf(ored.win, "cmpt").data.substr(0, 8));

    Lists rounded = compile("{\"PluginType\":\"Photoshop_Format\",\"Name\":\"X\","
                            "\"Version\":{\"Major\":1.6,\"Minor\":0,\"Revision\":7}}");
    EXPECT_EQ("00020007", recordOf(rounded.mac, "cmpt").data.substr(0, 8));

    Lists given =
        compile(photoshop(",\"Terminology\":{\"Class\":\"ab\",\"Event\":\"evnt!\",\"Name\":\"t\","
                          "\"aete\":70000}"));
    Record macTerm = recordOf(given.mac, "hstm");
    EXPECT_EQ(20u, macTerm.declaredLength);
    EXPECT_EQ("00000000"
              "61622020"
              "65766e74"
              "1170"
              "74000000"
              "0000",
              macTerm.data);
    Record winTerm = recordOf(given.win, "hstm");
    EXPECT_EQ(20u, winTerm.declaredLength);
    EXPECT_EQ("00000000"
              "20206261"
              "746e7665"
              "7011"
              "74000000"
              "0000",
              winTerm.data);
}

TEST(PiplProperties, ModeMaskPutsLabAfterDuotone)
{
    auto modeOf = [](const std::string& modes) {
        Lists lists = compile(photoshop(",\"SupportedModes\":{" + modes + "}"));
        Record mac = recordOf(lists.mac, "mode");
        Record win = recordOf(lists.win, "mode");
        EXPECT_EQ(2u, mac.declaredLength);
        EXPECT_EQ(4u, win.declaredLength);
        EXPECT_EQ(mac.data, win.data);
        return mac.data;
    };
    EXPECT_EQ("ffc00000", modeOf(allModes(true)));
    EXPECT_EQ("00000000", modeOf(allModes(false)));
    std::string onlyLab = allModes(false);
    onlyLab.replace(onlyLab.find("\"LAB\":false"), 11, "\"LAB\":true");
    EXPECT_EQ("00400000", modeOf(onlyLab));
    std::string onlyMultichannel = allModes(false);
    onlyMultichannel.replace(onlyMultichannel.find("\"Multichannel\":false"), 20,
                             "\"Multichannel\":true");
    EXPECT_EQ("01000000", modeOf(onlyMultichannel));
    std::string onlyBitmap = allModes(false);
    onlyBitmap.replace(onlyBitmap.find("\"Bitmap\":false"), 14, "\"Bitmap\":true");
    EXPECT_EQ("80000000", modeOf(onlyBitmap));
}

// The flag word is a flag set: high byte first on both platforms, under the key 'fmtf'.
TEST(PiplProperties, FormatFlagsInvertWritesAll)
{
    auto flagWords = [](const std::string& member) {
        Lists lists = compile(photoshop(member));
        EXPECT_EQ(4u, recordOf(lists.win, "fmtf").declaredLength);
        return recordOf(lists.mac, "fmtf").data + "/" + recordOf(lists.win, "fmtf").data;
    };
    EXPECT_EQ("00000000/00000000", flagWords(flags(false, false, false, true, false, false)));
    EXPECT_EQ("08000000/08000000", flagWords(flags(false, false, false, false, false, false)));
    EXPECT_EQ("76000000/76000000", flagWords(flags(true, true, true, true, true, true)));
    EXPECT_EQ("40000000/40000000", flagWords(flags(true, false, false, true, false, false)));
    EXPECT_EQ("02000000/02000000", flagWords(flags(false, false, false, true, false, true)));
    EXPECT_EQ("30000000/30000000", flagWords(flags(false, true, true, true, false, false)));
}

TEST(PiplProperties, BooleanMembers)
{
    Lists aboutTrue = compile(photoshop(",\"AboutBox\":true"));
    Lists aboutAbsent = compile(photoshop(""));
    EXPECT_EQ(aboutAbsent.mac.keys, aboutTrue.mac.keys);
    EXPECT_EQ(aboutAbsent.mac.dataHex, aboutTrue.mac.dataHex);
    EXPECT_EQ(aboutAbsent.win.dataHex, aboutTrue.win.dataHex);
    Lists aboutFalse = compile(photoshop(",\"AboutBox\":false"));
    EXPECT_EQ("00000001", recordOf(aboutFalse.mac, "nabo").data);
    EXPECT_EQ("01000000", recordOf(aboutFalse.win, "nabo").data);

    Lists alpha = compile(photoshop(",\"ExportAlpha\":true,\"FilterLayers\":true"));
    EXPECT_EQ("80000000", recordOf(alpha.mac, "expf").data);
    EXPECT_EQ("00000080", recordOf(alpha.win, "expf").data);
    EXPECT_EQ(1u, recordOf(alpha.mac, "flly").declaredLength);
    EXPECT_EQ(4u, recordOf(alpha.win, "flly").declaredLength);
    EXPECT_EQ("80000000", recordOf(alpha.mac, "flly").data);
    EXPECT_EQ("80000000", recordOf(alpha.win, "flly").data);

    Lists off = compile(photoshop(",\"ExportAlpha\":false,\"FilterLayers\":false"));
    EXPECT_EQ("00000000", recordOf(off.mac, "expf").data);
    EXPECT_EQ("00000000", recordOf(off.win, "flly").data);
}

TEST(PiplProperties, FileTypesAndExtensionsAreCodes)
{
    Lists lists = compile(photoshop(
        ",\"FormatFileType\":{\"Creator\":\"8BIM\",\"Type\":\"TEXT\"},"
        "\"FormatReadTypes\":[{\"Creator\":\"8BIM\",\"Type\":\"PNG\"},{\"Creator\":\"ab\",\"Type\":"
        "\"GIFF\"}],"
        "\"FormatWriteTypes\":[],\"FormatFilteredTypes\":[{\"Creator\":\"\",\"Type\":\"x\"}],"
        "\"FormatReadExt\":[\"png\",\"jpeg2\"],\"FormatWriteExt\":[],\"FormatFilteredExt\":["
        "\"tif\"]"));
    EXPECT_EQ("54455854"
              "3842494d",
              recordOf(lists.mac, "fmTC").data);
    EXPECT_EQ("54584554"
              "4d494238",
              recordOf(lists.win, "fmTC").data);

    Record read = recordOf(lists.mac, "RdTy");
    EXPECT_EQ(16u, read.declaredLength);
    EXPECT_EQ("504e4720"
              "3842494d"
              "47494646"
              "61622020",
              read.data);
    EXPECT_EQ("20474e50"
              "4d494238"
              "46464947"
              "20206261",
              recordOf(lists.win, "RdTy").data);
    EXPECT_EQ("78202020"
              "20202020",
              recordOf(lists.mac, "fftT").data);

    Record write = recordOf(lists.mac, "WrTy");
    EXPECT_TRUE(write.found);
    EXPECT_EQ(0u, write.declaredLength);
    EXPECT_EQ("", write.data);

    Record readExt = recordOf(lists.mac, "RdEx");
    EXPECT_EQ(8u, readExt.declaredLength);
    EXPECT_EQ("706e6720"
              "6a706567",
              readExt.data);
    EXPECT_EQ("20676e70"
              "6765706a",
              recordOf(lists.win, "RdEx").data);
    EXPECT_EQ(0u, recordOf(lists.win, "WrEx").declaredLength);
    EXPECT_EQ("74696620", recordOf(lists.mac, "fftE").data);
}

TEST(PiplProperties, IllustratorIgnoresPhotoshopOnlyMembers)
{
    Lists plain = compile("{\"PluginType\":\"Illustrator\",\"Name\":\"X\"," + versionJson + "}");
    Lists rich =
        compile("{\"PluginType\":\"Illustrator\",\"Name\":\"X\"," + versionJson
                + ",\"Category\":\"c\",\"AboutBox\":false,\"SupportedModes\":{" + allModes(true)
                + "},\"Terminology\":{\"Class\":\"a\",\"Event\":\"b\",\"Name\":\"c\",\"aete\":1}}");
    EXPECT_EQ(plain.mac.dataHex, rich.mac.dataHex);
    EXPECT_EQ(plain.win.dataHex, rich.win.dataHex);
    EXPECT_EQ(6u, rich.mac.count);
    EXPECT_EQ(4u, rich.win.count);
}

TEST(PiplProperties, ArmEntryPointRepeatsTheIntelOneOnTheMacListOnly)
{
    for (const char* kind : {"Photoshop_Filter", "Photoshop_Actions", "Photoshop_Measurement"}) {
        SCOPED_TRACE(kind);
        Lists plain = compile(photoshopOf(kind, ",\"Category\":\"c\""));
        Lists arm = compile(photoshopOf(kind, ",\"Category\":\"c\",\"CodeMacARM64\":true"));
        Lists off = compile(photoshopOf(kind, ",\"Category\":\"c\",\"CodeMacARM64\":false"));
        EXPECT_EQ(plain.mac.dataHex, off.mac.dataHex);
        EXPECT_EQ(plain.win.dataHex, arm.win.dataHex);
        EXPECT_EQ(plain.win.keys, arm.win.keys);

        // In member order: after 'catg', before 'name'.
        std::vector<std::string> keys = plain.mac.keys;
        keys.insert(std::find(keys.begin(), keys.end(), "catg") + 1, "ma64");
        EXPECT_EQ(keys, arm.mac.keys);
        EXPECT_EQ(plain.mac.count + 1, arm.mac.count);
        EXPECT_EQ(recordOf(arm.mac, "mi64").data, recordOf(arm.mac, "ma64").data);
        EXPECT_EQ(recordOf(arm.mac, "mi64").declaredLength,
                  recordOf(arm.mac, "ma64").declaredLength);
    }
}

TEST(PiplProperties, EnableInfoIsAPaddedZeroTerminatedStringInPlaceOfTrue)
{
    Lists plain = compile(photoshop(""));
    Lists same = compile(photoshop(",\"EnableInfo\":\"true\""));
    EXPECT_EQ(plain.mac.dataHex, same.mac.dataHex);
    EXPECT_EQ(plain.win.dataHex, same.win.dataHex);

    const struct {
        std::string text, data;
        std::uint32_t length;
    } cases[] = {{"", "00000000", 4}, {"abc", "61626300", 4}, {"abcde", "6162636465000000", 8}};
    for (const auto& given : cases) {
        Lists lists = compile(photoshop(",\"EnableInfo\":\"" + given.text + "\""));
        for (const ParsedList* list : {&lists.mac, &lists.win}) {
            EXPECT_EQ(given.length, recordOf(*list, "enbl").declaredLength) << given.text;
            EXPECT_EQ(given.data, recordOf(*list, "enbl").data) << given.text;
        }
        EXPECT_EQ(plain.mac.keys, lists.mac.keys);
        EXPECT_EQ(plain.win.keys, lists.win.keys);
    }
}

TEST(PiplProperties, FilterCaseInfoPacksEachCaseInFourBytes)
{
    // The host's defaults, given explicitly, are today's bytes (written in lower case).
    auto filterCase = [](int in, int out, bool dontCopy, bool blank, bool masks, bool outside) {
        auto b = [](bool value) { return value ? std::string("true") : std::string("false"); };
        return "{\"InHandling\":" + std::to_string(in) + ",\"OutHandling\":" + std::to_string(out)
               + ",\"DontCopyToDestination\":" + b(dontCopy) + ",\"WorksWithBlankData\":" + b(blank)
               + ",\"FiltersLayerMasks\":" + b(masks) + ",\"WritesOutsideSelection\":" + b(outside)
               + "}";
    };
    const std::string narrow = filterCase(4, 4, false, true, true, false);
    const std::string wide = filterCase(4, 4, false, true, true, true);
    Lists plain = compile(photoshop(""));
    Lists defaults =
        compile(photoshop(",\"FilterCaseInfo\":[" + narrow + "," + wide + "," + wide + "," + narrow
                          + "," + wide + "," + narrow + "," + wide + "]"));
    EXPECT_EQ(lowerCase(recordOf(plain.mac, "fici").data), recordOf(defaults.mac, "fici").data);
    EXPECT_EQ(lowerCase(recordOf(plain.win, "fici").data), recordOf(defaults.win, "fici").data);

    Lists varied =
        compile(photoshop(",\"FilterCaseInfo\":[" + filterCase(0, 255, true, false, false, false)
                          + "," + filterCase(1, 2, false, true, false, false) + ","
                          + filterCase(3, 4, false, false, true, false) + ","
                          + filterCase(5, 6, false, false, false, true) + ","
                          + filterCase(7, 8, true, true, true, true) + ","
                          + filterCase(9, 10, false, false, false, false) + "," + narrow + "]"));
    for (const ParsedList* list : {&varied.mac, &varied.win}) {
        EXPECT_EQ(28u, recordOf(*list, "fici").declaredLength);
        EXPECT_EQ("00ff0100"
                  "01020200"
                  "03040400"
                  "05060800"
                  "07080f00"
                  "090a0000"
                  "04040600",
                  recordOf(*list, "fici").data);
    }
    EXPECT_EQ(plain.mac.keys, varied.mac.keys);
    EXPECT_EQ(plain.win.keys, varied.win.keys);
}

TEST(PiplProperties, RawPropertiesArePaddedToFourBytesAndCountedInTheirPlace)
{
    Lists lists = compile(photoshop(
        ",\"Category\":\"c\",\"Properties\":[{\"Vendor\":\"8BIM\",\"Key\":\"zero\",\"Data\":\"\"},"
        "{\"Vendor\":\"ABCD\",\"Key\":\"one \",\"Data\":\"FF\"},"
        "{\"Vendor\":\"8BIM\",\"Key\":\"four\",\"Data\":\"01020304\"},"
        "{\"Vendor\":\"8BIM\",\"Key\":\"five\",\"Data\":\"0102030405\"},"
        "{\"Vendor\":\"8BIM\",\"Key\":\"each\",\"MacData\":\"aa\",\"WinData\":\"bbbbbb\"},"
        "{\"Vendor\":\"8BIM\",\"Key\":\"both\",\"Data\":\"cc\",\"MacData\":\"aa\",\"WinData\":"
        "\"bb\"}]"));
    const std::vector<std::string> keys = {"catg", "name", "zero", "one ", "four",
                                           "five", "each", "both", "hstm", "cmpt"};
    EXPECT_EQ(keys, keysAfter(lists.mac, 7));
    EXPECT_EQ(keys, keysAfter(lists.win, 8));
    for (const ParsedList* list : {&lists.mac, &lists.win}) {
        EXPECT_TRUE(list->wellFormed);
        EXPECT_EQ(list->keys.size(), list->count);
        EXPECT_EQ("ABCD", list->vendors[list == &lists.mac ? 10 : 11]);
        EXPECT_EQ(0u, recordOf(*list, "zero").declaredLength);
        EXPECT_EQ("", recordOf(*list, "zero").data);
        EXPECT_EQ(1u, recordOf(*list, "one ").declaredLength);
        EXPECT_EQ("ff000000", lowerCase(recordOf(*list, "one ").data));
        EXPECT_EQ("01020304", recordOf(*list, "four").data);
        EXPECT_EQ(5u, recordOf(*list, "five").declaredLength);
        EXPECT_EQ("0102030405000000", recordOf(*list, "five").data);
        EXPECT_EQ("cc000000", recordOf(*list, "both").data);
    }
    EXPECT_EQ(1u, recordOf(lists.mac, "each").declaredLength);
    EXPECT_EQ("aa000000", recordOf(lists.mac, "each").data);
    EXPECT_EQ(3u, recordOf(lists.win, "each").declaredLength);
    EXPECT_EQ("bbbbbb00", recordOf(lists.win, "each").data);
}
