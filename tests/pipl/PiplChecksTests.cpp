// Every refusal of a PiPL description: the exact message, and nothing appended to any output.
#include <gtest/gtest.h>

#include "PiplTestSupport.h"

using pipltest::PiplRun;
using pipltest::runPipl;

namespace {

const std::string versionJson = "\"Version\":{\"Major\":1,\"Minor\":0,\"Revision\":0}";

std::string photoshop(const std::string& extraMembers)
{
    return "{\"PluginType\":\"Photoshop_Filter\",\"Name\":\"X\"," + versionJson + extraMembers
           + "}";
}

std::string illustrator(const std::string& extraMembers)
{
    return "{\"PluginType\":\"Illustrator\",\"Name\":\"X\"," + versionJson + extraMembers + "}";
}

struct RefusedCase {
    std::string description;
    std::string expectedError;
};

void expectRefused(const RefusedCase& refused)
{
    SCOPED_TRACE(refused.description);
    PiplRun run = runPipl(refused.description);
    EXPECT_FALSE(run.ok);
    EXPECT_EQ(refused.expectedError, run.errorText);
    EXPECT_EQ("", run.macText);
    EXPECT_EQ("", run.winText);
    EXPECT_TRUE(run.piplBytes.empty());
}

}  // namespace

TEST(PiplChecks, PrologueRefusesMissingOrMistypedRequiredMembers)
{
    const RefusedCase cases[] = {
        {"{}", "Error: The \"PluginType\" member is required (and must be a string) for \"PiPL\" "
               "resources.\n"},
        {"{\"PluginType\":5,\"Name\":\"X\"," + versionJson + "}",
         "Error: The \"PluginType\" member is required (and must be a string) for \"PiPL\" "
         "resources.\n"},
        {"{\"PluginType\":\"Illustrator\",\"name\":\"X\"," + versionJson + "}",
         "Error: The \"Name\" member is required (and must be a string) for \"PiPL\" resources.\n"},
        {"{\"PluginType\":\"Illustrator\",\"Name\":[]}",
         "Error: The \"Name\" member is required (and must be a string) for \"PiPL\" resources.\n"},
        {"{\"PluginType\":\"Illustrator\",\"Name\":\"X\"}",
         "Error: The \"Version\" member is required (and must be an object) for \"PiPL\" "
         "resources.\n"},
        {"{\"PluginType\":\"Illustrator\",\"Name\":\"X\",\"Version\":[1,0,0]}",
         "Error: The \"Version\" member is required (and must be an object) for \"PiPL\" "
         "resources.\n"},
        // The kind is checked after the three required members, in exact letter case.
        {"{\"PluginType\":\"photoshop_filter\",\"Name\":\"X\",\"Version\":{}}",
         "Error: The \"PluginType\" value of \"photoshop_filter\" is unsupported.\n"},
        {"{\"PluginType\":\"\",\"Name\":\"X\",\"Version\":{}}",
         "Error: The \"PluginType\" value of \"\" is unsupported.\n"},
        // A Photoshop plug-in's terminology is checked before any member...
        {photoshop(",\"AboutBox\":0,\"Terminology\":\"DfTm\""),
         "Error: The \"Terminology\" value must be a JSON object.\n"},
    };
    for (const RefusedCase& refused : cases)
        expectRefused(refused);
}

TEST(PiplChecks, MembersAreCheckedInNameOrderNotInputOrder)
{
    const RefusedCase cases[] = {
        {"{\"Version\":{},\"Category\":5,\"PluginType\":\"Photoshop_Filter\",\"Name\":\"X\"}",
         "Error: The \"Category\" value must be a string.\n"},
        {illustrator(",\"Terminology\":\"DfTm\",\"AboutBox\":0"),
         "Error: The \"AboutBox\" value must be a boolean.\n"},
        // ...an Illustrator plug-in's only when the walk reaches it.
        {illustrator(",\"Terminology\":\"DfTm\""),
         "Error: The \"Terminology\" value must be a JSON object.\n"},
        // Members that yield nothing for Illustrator are still checked.
        {illustrator(",\"SupportedModes\":{\"Bitmap\":true}"),
         "Error: The \"SupportedModes\" member must have a \"Grayscale\" submember containing a "
         "bool.\n"},
    };
    for (const RefusedCase& refused : cases)
        expectRefused(refused);
}

TEST(PiplChecks, ScalarMembersMustHaveTheirType)
{
    const RefusedCase cases[] = {
        {photoshop(",\"Category\":5"), "Error: The \"Category\" value must be a string.\n"},
        {photoshop(",\"AboutBox\":0"), "Error: The \"AboutBox\" value must be a boolean.\n"},
        {photoshop(",\"ExportAlpha\":\"yes\""),
         "Error: The \"ExportAlpha\" value must be a boolean.\n"},
        {photoshop(",\"FilterLayers\":null"),
         "Error: The \"FilterLayers\" value must be a boolean.\n"},
    };
    for (const RefusedCase& refused : cases)
        expectRefused(refused);
}

TEST(PiplChecks, VersionAndTerminologyNeedEverySubmember)
{
    const RefusedCase cases[] = {
        {"{\"PluginType\":\"Illustrator\",\"Name\":\"X\",\"Version\":{}}",
         "Error: The \"Version\" member must have a \"Major\" submember containing a number.\n"},
        {"{\"PluginType\":\"Illustrator\",\"Name\":\"X\",\"Version\":{\"Major\":1,\"Revision\":0}}",
         "Error: The \"Version\" member must have a \"Minor\" submember containing a number.\n"},
        {"{\"PluginType\":\"Illustrator\",\"Name\":\"X\",\"Version\":{\"Major\":1,\"Minor\":0,"
         "\"Revision\":\"0\"}}",
         "Error: The \"Version\" member must have a \"Revision\" submember containing a number.\n"},
        {photoshop(",\"Terminology\":{}"), "Error: The \"Terminology\" member must have a "
                                           "\"Class\" submember containing a string.\n"},
        {photoshop(",\"Terminology\":{\"Class\":\"abcd\",\"Event\":1}"),
         "Error: The \"Terminology\" member must have an \"Event\" submember containing a "
         "string.\n"},
        {photoshop(",\"Terminology\":{\"Class\":\"abcd\",\"Event\":\"efgh\",\"aete\":1}"),
         "Error: The \"Terminology\" member must have a \"Name\" submember containing a string.\n"},
        {photoshop(",\"Terminology\":{\"Class\":\"abcd\",\"Event\":\"efgh\",\"Name\":\"n\","
                   "\"aete\":\"1\"}"),
         "Error: The \"Terminology\" member must have an \"aete\" submember containing a "
         "number.\n"},
    };
    for (const RefusedCase& refused : cases)
        expectRefused(refused);
}

TEST(PiplChecks, SupportedModesNeedsTenBooleansInCheckOrder)
{
    expectRefused({photoshop(",\"SupportedModes\":[]"),
                   "Error: The \"SupportedModes\" value must be a JSON object.\n"});
    // Each case gives the modes before the missing one; the article is "a" throughout.
    const std::string modes[] = {"Bitmap", "Grayscale", "Indexed", "RGB",          "CMYK",
                                 "HSL",    "HSB",       "LAB",     "Multichannel", "Duotone"};
    const std::string expected[] = {
        "Error: The \"SupportedModes\" member must have a \"Bitmap\" submember containing a "
        "bool.\n",
        "Error: The \"SupportedModes\" member must have a \"Grayscale\" submember containing a "
        "bool.\n",
        "Error: The \"SupportedModes\" member must have a \"Indexed\" submember containing a "
        "bool.\n",
        "Error: The \"SupportedModes\" member must have a \"RGB\" submember containing a bool.\n",
        "Error: The \"SupportedModes\" member must have a \"CMYK\" submember containing a bool.\n",
        "Error: The \"SupportedModes\" member must have a \"HSL\" submember containing a bool.\n",
        "Error: The \"SupportedModes\" member must have a \"HSB\" submember containing a bool.\n",
        "Error: The \"SupportedModes\" member must have a \"LAB\" submember containing a bool.\n",
        "Error: The \"SupportedModes\" member must have a \"Multichannel\" submember containing a "
        "bool.\n",
        "Error: The \"SupportedModes\" member must have a \"Duotone\" submember containing a "
        "bool.\n",
    };
    std::string given;
    for (int index = 0; index < 10; ++index) {
        expectRefused({photoshop(",\"SupportedModes\":{" + given + "}"), expected[index]});
        // The same mode given as a number is refused like a missing one.
        expectRefused({photoshop(",\"SupportedModes\":{" + given + "\"" + modes[index] + "\":1}"),
                       expected[index]});
        given += "\"" + modes[index] + "\":false,";
    }
}

TEST(PiplChecks, FormatFileTypeAndFlagsNeedEverySubmember)
{
    const RefusedCase cases[] = {
        {photoshop(",\"FormatFileType\":\"8BIM\""),
         "Error: The \"FormatFileType\" value must be a JSON object.\n"},
        {photoshop(",\"FormatFileType\":{\"Type\":\"TEXT\"}"),
         "Error: The \"FormatFileType\" member must have a \"Creator\" submember containing a "
         "string.\n"},
        {photoshop(",\"FormatFileType\":{\"Creator\":\"8BIM\",\"Type\":5}"),
         "Error: The \"FormatFileType\" member must have a \"Type\" submember containing a "
         "string.\n"},
        {photoshop(",\"FormatFlags\":true"),
         "Error: The \"FormatFlags\" value must be a JSON object.\n"},
        {photoshop(",\"FormatFlags\":{}"),
         "Error: The \"FormatFlags\" member must have a \"SavesImageResources\" submember "
         "containing a bool.\n"},
        {photoshop(",\"FormatFlags\":{\"SavesImageResources\":true}"),
         "Error: The \"FormatFlags\" member must have a \"CanRead\" submember containing a "
         "bool.\n"},
        {photoshop(
             ",\"FormatFlags\":{\"SavesImageResources\":true,\"CanRead\":true,\"CanWrite\":0}"),
         "Error: The \"FormatFlags\" member must have a \"CanWrite\" submember containing a "
         "bool.\n"},
        {photoshop(
             ",\"FormatFlags\":{\"SavesImageResources\":true,\"CanRead\":true,\"CanWrite\":true}"),
         "Error: The \"FormatFlags\" member must have a \"WritesAll\" submember containing a "
         "bool.\n"},
        {photoshop(
             ",\"FormatFlags\":{\"SavesImageResources\":true,\"CanRead\":true,\"CanWrite\":true,"
             "\"WritesAll\":false}"),
         "Error: The \"FormatFlags\" member must have a \"CanWriteAlpha\" submember containing a "
         "bool.\n"},
        {photoshop(
             ",\"FormatFlags\":{\"SavesImageResources\":true,\"CanRead\":true,\"CanWrite\":true,"
             "\"WritesAll\":false,\"CanWriteAlpha\":false}"),
         "Error: The \"FormatFlags\" member must have a \"CanMakeThumb\" submember containing a "
         "bool.\n"},
    };
    for (const RefusedCase& refused : cases)
        expectRefused(refused);
}

TEST(PiplChecks, TypeListsNeedObjectsWithCreatorAndType)
{
    struct TypeListMessages {
        std::string member, notArray, notObject, noCreator, noType;
    };
    const TypeListMessages lists[] = {
        {"FormatReadTypes", "Error: The \"FormatReadTypes\" value must be a JSON array.\n",
         "Error: All the elements of the \"FormatReadTypes\" array must be JSON objects.\n",
         "Error: The \"FormatReadTypes\" elements must have a \"Creator\" submember containing a "
         "string.\n",
         "Error: The \"FormatReadTypes\" elements must have a \"Type\" submember containing a "
         "string.\n"},
        {"FormatWriteTypes", "Error: The \"FormatWriteTypes\" value must be a JSON array.\n",
         "Error: All the elements of the \"FormatWriteTypes\" array must be JSON objects.\n",
         "Error: The \"FormatWriteTypes\" elements must have a \"Creator\" submember containing a "
         "string.\n",
         "Error: The \"FormatWriteTypes\" elements must have a \"Type\" submember containing a "
         "string.\n"},
        {"FormatFilteredTypes", "Error: The \"FormatFilteredTypes\" value must be a JSON array.\n",
         "Error: All the elements of the \"FormatFilteredTypes\" array must be JSON objects.\n",
         "Error: The \"FormatFilteredTypes\" elements must have a \"Creator\" submember containing "
         "a string.\n",
         "Error: The \"FormatFilteredTypes\" elements must have a \"Type\" submember containing a "
         "string.\n"},
    };
    const std::string good = "{\"Creator\":\"8BIM\",\"Type\":\"TEXT\"}";
    for (const TypeListMessages& list : lists) {
        const std::string key = ",\"" + list.member + "\":";
        expectRefused({photoshop(key + good), list.notArray});
        // Elements are checked in index order, each fully before the next.
        expectRefused({photoshop(key + "[" + good + ",\"TEXT\"]"), list.notObject});
        expectRefused({photoshop(key + "[" + good + ",{\"Type\":\"TEXT\"}]"), list.noCreator});
        expectRefused({photoshop(key + "[{\"Creator\":\"8BIM\"},5]"), list.noType});
    }
}

TEST(PiplChecks, ExtensionListsNeedStrings)
{
    const RefusedCase cases[] = {
        {photoshop(",\"FormatReadExt\":\"png\""),
         "Error: The \"FormatReadExt\" value must be a JSON array.\n"},
        {photoshop(",\"FormatReadExt\":[\"png\",7]"),
         "Error: All the elements of the \"FormatReadExt\" array must be strings.\n"},
        {photoshop(",\"FormatWriteExt\":{}"),
         "Error: The \"FormatWriteExt\" value must be a JSON array.\n"},
        {photoshop(",\"FormatWriteExt\":[[]]"),
         "Error: All the elements of the \"FormatWriteExt\" array must be strings.\n"},
        {photoshop(",\"FormatFilteredExt\":1"),
         "Error: The \"FormatFilteredExt\" value must be a JSON array.\n"},
        {photoshop(",\"FormatFilteredExt\":[null]"),
         "Error: All the elements of the \"FormatFilteredExt\" array must be strings.\n"},
    };
    for (const RefusedCase& refused : cases)
        expectRefused(refused);
}

TEST(PiplChecks, LengthPrefixedStringsHoldAtMost255Bytes)
{
    const std::string longest(255, 'n');
    const std::string tooLong(256, 'n');
    const std::string version = "," + versionJson + "}";
    expectRefused({"{\"PluginType\":\"Illustrator\",\"Name\":\"" + tooLong + "\"" + version,
                   "Error: The \"Name\" value must be at most 255 bytes long.\n"});
    expectRefused({"{\"PluginType\":\"Photoshop_Format\",\"Name\":\"" + tooLong + "\"" + version,
                   "Error: The \"Name\" value must be at most 255 bytes long.\n"});
    expectRefused({photoshop(",\"Category\":\"" + tooLong + "\""),
                   "Error: The \"Category\" value must be at most 255 bytes long.\n"});
    // The limit is checked when the walk meets the member: an earlier fault wins.
    expectRefused({"{\"PluginType\":\"Photoshop_Format\",\"Name\":\"" + tooLong
                       + "\",\"AboutBox\":1" + version,
                   "Error: The \"AboutBox\" value must be a boolean.\n"});

    EXPECT_TRUE(
        runPipl("{\"PluginType\":\"Photoshop_Format\",\"Name\":\"" + longest + "\"" + version).ok);
    EXPECT_TRUE(runPipl(photoshop(",\"Category\":\"" + longest + "\"")).ok);
    // Illustrator never writes the category nor a terminology resource; a Photoshop
    // terminology resource carries its name length-prefixed.
    EXPECT_TRUE(runPipl(illustrator(",\"Category\":\"" + tooLong + "\"")).ok);
    EXPECT_TRUE(runPipl(illustrator(",\"Terminology\":{\"Class\":\"a\",\"Event\":\"b\",\"Name\":\""
                                    + tooLong + "\",\"aete\":1}"))
                    .ok);
    expectRefused(
        {photoshop(",\"Terminology\":{\"Class\":\"a\",\"Event\":\"b\",\"Name\":\"" + tooLong
                   + "\",\"aete\":1}"),
         "Error: The \"Terminology\" member must have a \"Name\" submember of at most 255 "
         "bytes.\n"});
    EXPECT_TRUE(runPipl(photoshop(",\"Terminology\":{\"Class\":\"a\",\"Event\":\"b\",\"Name\":\""
                                  + longest + "\",\"aete\":1}"))
                    .ok);
}

TEST(PiplChecks, ADescriptionThatIsNotAnObjectIsRefusedWithoutCrashing)
{
    kel::rez::Resource res = pipltest::piplResource("[1,2]");
    PiplRun run = runPipl(res);
    EXPECT_FALSE(run.ok);
    EXPECT_EQ("Error: The \"PluginType\" member is required (and must be a string) for \"PiPL\" "
              "resources.\n",
              run.errorText);

    kel::rez::Resource empty;
    empty.type = "PiPL";
    run = runPipl(empty);
    EXPECT_FALSE(run.ok);
    EXPECT_EQ("Error: The \"PluginType\" member is required (and must be a string) for \"PiPL\" "
              "resources.\n",
              run.errorText);
}

TEST(PiplChecks, ArmEntryPointAndEnableInfoNeedTheirTypes)
{
    const RefusedCase cases[] = {
        {photoshop(",\"CodeMacARM64\":\"yes\""),
         "Error: The \"CodeMacARM64\" value must be a boolean.\n"},
        {photoshop(",\"CodeMacARM64\":1"),
         "Error: The \"CodeMacARM64\" value must be a boolean.\n"},
        {photoshop(",\"EnableInfo\":true"), "Error: The \"EnableInfo\" value must be a string.\n"},
        {photoshop(",\"EnableInfo\":[\"true\"]"),
         "Error: The \"EnableInfo\" value must be a string.\n"},
        // Checked in name order among the others, and for Illustrator too.
        {photoshop(",\"EnableInfo\":1,\"CodeMacARM64\":0"),
         "Error: The \"CodeMacARM64\" value must be a boolean.\n"},
        {photoshop(",\"EnableInfo\":1,\"Category\":2"),
         "Error: The \"Category\" value must be a string.\n"},
        {illustrator(",\"EnableInfo\":null"),
         "Error: The \"EnableInfo\" value must be a string.\n"},
    };
    for (const RefusedCase& refused : cases)
        expectRefused(refused);
}

namespace {

const std::string filterCase =
    "{\"InHandling\":4,\"OutHandling\":4,\"DontCopyToDestination\":false,"
    "\"WorksWithBlankData\":true,\"FiltersLayerMasks\":true,"
    "\"WritesOutsideSelection\":false}";

std::string filterCases(int count, const std::string& last = filterCase)
{
    std::string cases;
    for (int index = 1; index < count; ++index)
        cases += filterCase + ",";
    return ",\"FilterCaseInfo\":[" + (count > 0 ? cases + last : "") + "]";
}

}  // namespace

TEST(PiplChecks, FilterCaseInfoNeedsSevenObjectsWithEverySubmember)
{
    const std::string notSeven =
        "Error: The \"FilterCaseInfo\" value must be a JSON array of seven objects.\n";
    for (const std::string& members :
         {",\"FilterCaseInfo\":" + filterCase, filterCases(0), filterCases(6), filterCases(8),
          filterCases(7, "[]"), filterCases(7, "null")})
        expectRefused({photoshop(members), notSeven});
    expectRefused({illustrator(filterCases(6)), notSeven});

    // The last case loses one sub-member at a time, in check order; each refused as missing
    // and as mistyped.
    struct SubmemberCase {
        std::string name, wrongValue, expectedError;
    };
    const SubmemberCase submembers[] = {
        {"InHandling", "256",
         "Error: The \"FilterCaseInfo\" elements must have an \"InHandling\" submember containing "
         "a number from 0 "
         "to 255.\n"},
        {"OutHandling", "-1",
         "Error: The \"FilterCaseInfo\" elements must have an \"OutHandling\" submember containing "
         "a number from 0 "
         "to 255.\n"},
        {"DontCopyToDestination", "0",
         "Error: The \"FilterCaseInfo\" elements must have a \"DontCopyToDestination\" submember "
         "containing a "
         "bool.\n"},
        {"WorksWithBlankData", "\"true\"",
         "Error: The \"FilterCaseInfo\" elements must have a \"WorksWithBlankData\" submember "
         "containing a bool.\n"},
        {"FiltersLayerMasks", "null",
         "Error: The \"FilterCaseInfo\" elements must have a \"FiltersLayerMasks\" submember "
         "containing a bool.\n"},
        {"WritesOutsideSelection", "[]",
         "Error: The \"FilterCaseInfo\" elements must have a \"WritesOutsideSelection\" submember "
         "containing a "
         "bool.\n"},
    };
    std::string given;
    for (const SubmemberCase& sub : submembers) {
        expectRefused({photoshop(filterCases(7, "{" + given + "}")), sub.expectedError});
        expectRefused({photoshop(filterCases(7, "{" + given + "\"" + sub.name
                                                    + "\":" + sub.wrongValue + "}")),
                       sub.expectedError});
        given += "\"" + sub.name
                 + "\":" + (sub.name.find("Handling") != std::string::npos ? "0" : "false") + ",";
    }
    EXPECT_TRUE(
        runPipl(photoshop(filterCases(7, "{" + given.substr(0, given.size() - 1) + "}"))).ok);
    // The handling bytes take 0 to 255 after rounding, like every number.
    std::string edges = filterCase;
    edges.replace(edges.find("\"InHandling\":4"), 14, "\"InHandling\":254.6");
    edges.replace(edges.find("\"OutHandling\":4"), 15, "\"OutHandling\":0");
    EXPECT_TRUE(runPipl(photoshop(filterCases(7, edges))).ok);
}

TEST(PiplChecks, RawPropertiesNeedCodesAndHexData)
{
    const std::string vendor =
        "Error: The \"Properties\" elements must have a \"Vendor\" submember containing a "
        "four-byte string.\n";
    const std::string key =
        "Error: The \"Properties\" elements must have a \"Key\" submember containing a "
        "four-byte string.\n";
    const std::string data =
        "Error: The \"Properties\" elements must have a \"Data\" submember, or \"MacData\" "
        "and \"WinData\" submembers, containing hexadecimal text.\n";
    const std::string good = "{\"Vendor\":\"8BIM\",\"Key\":\"abcd\",\"Data\":\"\"}";
    auto properties = [](const std::string& elements) {
        return ",\"Properties\":[" + elements + "]";
    };
    const RefusedCase cases[] = {
        {photoshop(",\"Properties\":" + good),
         "Error: The \"Properties\" value must be a JSON array.\n"},
        {photoshop(properties(good + ",\"abcd\"")),
         "Error: All the elements of the \"Properties\" array must be JSON objects.\n"},
        {photoshop(properties("{\"Key\":\"abcd\",\"Data\":\"00\"}")), vendor},
        {photoshop(properties("{\"Vendor\":\"8BI\",\"Key\":\"abcd\",\"Data\":\"00\"}")), vendor},
        {photoshop(properties("{\"Vendor\":\"8BIMM\",\"Key\":\"abcd\",\"Data\":\"00\"}")), vendor},
        {photoshop(properties("{\"Vendor\":1234,\"Key\":\"abcd\",\"Data\":\"00\"}")), vendor},
        // Four bytes, not four characters.
        {photoshop(properties("{\"Vendor\":\"8BIM\",\"Key\":\"abc\xc3\xa9\",\"Data\":\"00\"}")),
         key},
        {photoshop(properties("{\"Vendor\":\"8BIM\",\"Data\":\"00\"}")), key},
        {photoshop(properties("{\"Vendor\":\"8BIM\",\"Key\":\"abcd\"}")), data},
        {photoshop(properties("{\"Vendor\":\"8BIM\",\"Key\":\"abcd\",\"Data\":\"0\"}")), data},
        {photoshop(properties("{\"Vendor\":\"8BIM\",\"Key\":\"abcd\",\"Data\":\"0g\"}")), data},
        {photoshop(properties("{\"Vendor\":\"8BIM\",\"Key\":\"abcd\",\"Data\":\"00 11\"}")), data},
        {photoshop(properties("{\"Vendor\":\"8BIM\",\"Key\":\"abcd\",\"Data\":12}")), data},
        {photoshop(properties("{\"Vendor\":\"8BIM\",\"Key\":\"abcd\",\"MacData\":\"00\"}")), data},
        {photoshop(properties(
             "{\"Vendor\":\"8BIM\",\"Key\":\"abcd\",\"MacData\":\"00\",\"WinData\":\"x0\"}")),
         data},
        // "Data" is used whenever it is present, so it must be valid even beside the other two.
        {photoshop(
             properties("{\"Vendor\":\"8BIM\",\"Key\":\"abcd\",\"Data\":\"0\",\"MacData\":\"00\","
                        "\"WinData\":\"00\"}")),
         data},
        // Each element is checked fully before the next.
        {photoshop(properties("{\"Vendor\":\"8BIM\",\"Key\":\"abcd\"},{\"Key\":\"abcd\"}")), data},
        {illustrator(properties(good + ",{\"Vendor\":\"8BIM\",\"Key\":\"abc\"}")), key},
    };
    for (const RefusedCase& refused : cases)
        expectRefused(refused);
    EXPECT_TRUE(runPipl(photoshop(properties(
                            good
                            + ",{\"Vendor\":\"8BIM\",\"Key\":\"a\xc3\xa9z\",\"MacData\":\"aB\","
                              "\"WinData\":\"\"}")))
                    .ok);
}

// Each number outside its range is refused with the member and the range; the limits pass.
TEST(PiplChecks, RealPluginMembersRefuseValuesOutsideTheirRanges)
{
    const std::string maxSize = "Error: The \"PlugInMaxSize\" member must have a ";
    const std::string formatSize = "Error: The \"FormatMaxSize\" member must have a ";
    for (const RefusedCase& refused : std::vector<RefusedCase>{
             {photoshop(",\"EntryPoint\":\"\""),
              "Error: The \"EntryPoint\" value must be a non-empty string without NUL bytes.\n"},
             {photoshop(",\"EntryPoint\":5"), "Error: The \"EntryPoint\" value must be a string.\n"},
             {photoshop(",\"EntryPoint\":\"" + std::string(256, 'e') + "\""),
              "Error: The \"EntryPoint\" value must be at most 255 bytes long.\n"},
             {photoshop(",\"CodeWin64ARM\":1"),
              "Error: The \"CodeWin64ARM\" value must be a boolean.\n"},
             {photoshop(",\"PlugInMaxSize\":{\"Height\":0,\"Width\":1}"),
              maxSize + "\"Height\" submember containing a number from 1 to 2147483647.\n"},
             {photoshop(",\"PlugInMaxSize\":{\"Height\":1,\"Width\":2147483648}"),
              maxSize + "\"Width\" submember containing a number from 1 to 2147483647.\n"},
             {photoshop(",\"PlugInMaxSize\":[1,1]"),
              "Error: The \"PlugInMaxSize\" value must be a JSON object.\n"},
             {photoshop(",\"FormatMaxSize\":{\"Height\":32768,\"Width\":1}"),
              formatSize + "\"Height\" submember containing a number from 1 to 32767.\n"},
             {photoshop(",\"FormatMaxSize\":{\"Height\":1,\"Width\":0.4}"),
              formatSize + "\"Width\" submember containing a number from 1 to 32767.\n"},
             {photoshop(",\"FormatMaxChannels\":[]"),
              "Error: The \"FormatMaxChannels\" array must have from 1 to 16 elements.\n"},
             {photoshop(",\"FormatMaxChannels\":[0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0]"),
              "Error: The \"FormatMaxChannels\" array must have from 1 to 16 elements.\n"},
             {photoshop(",\"FormatMaxChannels\":[1,32768]"),
              "Error: All the elements of the \"FormatMaxChannels\" array must be numbers from 0 "
              "to 32767.\n"},
             {photoshop(",\"FormatMaxChannels\":[-1]"),
              "Error: All the elements of the \"FormatMaxChannels\" array must be numbers from 0 "
              "to 32767.\n"},
             {photoshop(",\"FormatICCFlags\":{\"EmbedGray\":true,\"EmbedIndexed\":false,"
                        "\"EmbedRGB\":0,\"EmbedCMYK\":true}"),
              "Error: The \"FormatICCFlags\" member must have an \"EmbedRGB\" submember "
              "containing a bool.\n"},
             {photoshop(",\"Priority\":2147483648"),
              "Error: The \"Priority\" value must be a number from -2147483648 to 2147483647.\n"},
             {photoshop(",\"Priority\":-2147483649"),
              "Error: The \"Priority\" value must be a number from -2147483648 to 2147483647.\n"},
             {photoshop(",\"SupportsPOSIXIO\":\"yes\""),
              "Error: The \"SupportsPOSIXIO\" value must be a boolean.\n"},
             // Illustrator checks them too, though they yield nothing there.
             {illustrator(",\"EntryPoint\":\"\""),
              "Error: The \"EntryPoint\" value must be a non-empty string without NUL bytes.\n"},
         })
        expectRefused(refused);

    for (const char* accepted :
         {",\"PlugInMaxSize\":{\"Height\":1,\"Width\":2147483647}",
          ",\"FormatMaxSize\":{\"Height\":32767,\"Width\":1}",
          ",\"FormatMaxChannels\":[0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,32767]",
          ",\"Priority\":-2147483648", ",\"Priority\":2147483647",
          ",\"EntryPoint\":\"x\"", ",\"Terminology\":false"})
        EXPECT_TRUE(runPipl(photoshop(accepted)).ok) << accepted;
}
