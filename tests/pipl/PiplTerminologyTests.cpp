// The default terminology member and the "aete" resource that goes with every Photoshop PiPL.
#include <gtest/gtest.h>

#include "PiplTestSupport.h"
#include "keljsonParse.h"

using namespace pipltest;

namespace {

const std::string versionJson = "\"Version\":{\"Major\":1,\"Minor\":0,\"Revision\":0}";

}  // namespace

TEST(PiplTerminology, DefaultMemberIsAddedToTheDescriptionItself)
{
    kel::rez::Resource res =
        piplResource("{\"PluginType\":\"Photoshop_Export\",\"Name\":\"Out\"," + versionJson + "}");
    PiplRun run = runPipl(res);
    ASSERT_TRUE(run.ok) << run.errorText;
    kel::utils::AutoNode terminology(res.dataObject->member("Terminology"));
    ASSERT_TRUE(terminology);
    EXPECT_EQ("{\"Class\":\"DfTm\",\"Event\":\"DfTm\",\"Name\":\"Out\",\"aete\":1000}",
              kel::json::serialize(terminology.get()));

    // The same description with the default given explicitly compiles to the same texts.
    PiplRun explicitRun =
        runPipl("{\"PluginType\":\"Photoshop_Export\",\"Name\":\"Out\"," + versionJson
                + ",\"Terminology\":{\"Class\":\"DfTm\",\"Event\":\"DfTm\",\"Name\":\"Out\","
                  "\"aete\":1000}}");
    EXPECT_EQ(run.macText, explicitRun.macText);
    EXPECT_EQ(run.winText, explicitRun.winText);

    kel::rez::Resource illustrator =
        piplResource("{\"PluginType\":\"Illustrator\",\"Name\":\"Out\"," + versionJson + "}");
    ASSERT_TRUE(runPipl(illustrator).ok);
    EXPECT_FALSE(kel::utils::AutoNode(illustrator.dataObject->member("Terminology")));
}

// The resource is the one the 'hstm' property names: its ID, codes and name.
TEST(PiplTerminology, ResourceDescribesTheGivenTerminology)
{
    PiplRun given = runPipl(
        "{\"PluginType\":\"Photoshop_Export\",\"Name\":\"Hi\"," + versionJson
        + ",\"Terminology\":{\"Class\":\"abcd\",\"Event\":\"efgh\",\"Name\":\"t\",\"aete\":7}}");
    ASSERT_TRUE(given.ok);
    EXPECT_EQ("01000000"
              "00000001"
              "0174"
              "00"
              "61626364"
              "0001"
              "0001"
              "0001"
              "0174"
              "00"
              "61626364"
              "65666768"
              "6e756c6c"
              "00000000"
              "23496d52"
              "0000B000"
              "00000000"
              "00000000",
              rezDataHex(given.macText).at(1));
    EXPECT_EQ("0100"
              "0100"
              "0000"
              "0000"
              "0100"
              "0174"
              "00"
              "64636261"
              "0100"
              "0100"
              "0100"
              "0174"
              "00"
              "64636261"
              "68676665"
              "6c6c756e"
              "00"
              "0000"
              "526d4923"
              "00"
              "00b0"
              "0000"
              "0000"
              "0000"
              "0100"
              "646d4354"
              "0100"
              "00"
              "20202020"
              "00",
              rcDataHex(given.winText).at(1));
    EXPECT_EQ("data 'aete' (7) {", rezHeads(given.macText).at(1));
    EXPECT_EQ("7 aete {", rcHeads(given.winText).at(1));
}

// "aete" keeps its low 16 bits, in the 'hstm' property and as the resource's ID alike; IDs
// that neither resource format can hold are refused.
TEST(PiplTerminology, ResourceIdIsTheLow16BitsOfAete)
{
    auto terminology = [](const std::string& aete) {
        return runPipl("{\"PluginType\":\"Photoshop_Export\",\"Name\":\"Hi\"," + versionJson
                       + ",\"Terminology\":{\"Class\":\"a\",\"Event\":\"b\",\"Name\":\"t\","
                         "\"aete\":"
                       + aete + "}}");
    };
    EXPECT_EQ("data 'aete' (4464) {", rezHeads(terminology("70000").macText).at(1));
    EXPECT_EQ("data 'aete' (32767) {", rezHeads(terminology("32767").macText).at(1));
    EXPECT_EQ("data 'aete' (1) {", rezHeads(terminology("65537").macText).at(1));
    const std::string message = "Error: The \"Terminology\" member must have an \"aete\" "
                                "submember whose low 16 bits make a number from 1 to 32767.\n";
    for (const char* refused : {"0", "65536", "32768", "-1", "0.4"}) {
        PiplRun run = terminology(refused);
        EXPECT_FALSE(run.ok) << refused;
        EXPECT_EQ(message, run.errorText) << refused;
        EXPECT_EQ("", run.macText) << refused;
    }
}

// false: neither the 'hstm' property nor a resource; the description gains no default.
TEST(PiplTerminology, FalseMeansNoTerminology)
{
    kel::rez::Resource none = piplResource("{\"PluginType\":\"Photoshop_Filter\",\"Name\":\"Hi\","
                                           + versionJson + ",\"Terminology\":false}");
    PiplRun run = runPipl(none);
    ASSERT_TRUE(run.ok);
    EXPECT_EQ(1u, rezHeads(run.macText).size());
    EXPECT_EQ(1u, rcHeads(run.winText).size());
    EXPECT_EQ(std::string::npos, run.macText.find("6873 746d"));
    kel::utils::AutoNode member(none.dataObject->member("Terminology"));
    ASSERT_TRUE(member);
    EXPECT_EQ(kel::json::Node::TypeBool, member->nodeType());
    for (const char* refused : {"true", "0", "null"}) {
        PiplRun bad = runPipl("{\"PluginType\":\"Photoshop_Filter\",\"Name\":\"Hi\"," + versionJson
                              + ",\"Terminology\":" + refused + "}");
        EXPECT_EQ("Error: The \"Terminology\" value must be a JSON object.\n", bad.errorText)
            << refused;
    }
}

// The list's own terminology with the ID the description names replaces the generated one.
TEST(PiplTerminology, ListedTerminologyReplacesTheGeneratedOne)
{
    const std::string description = "{\"PluginType\":\"Photoshop_Filter\",\"Name\":\"Hi\","
                                    + versionJson
                                    + ",\"Terminology\":{\"Class\":\"a\",\"Event\":\"b\","
                                      "\"Name\":\"t\",\"aete\":16000}}";
    PiplRun listed = runPipl(piplResource(description), {16000});
    ASSERT_TRUE(listed.ok);
    EXPECT_EQ(1u, rezHeads(listed.macText).size());
    EXPECT_EQ(1u, rcHeads(listed.winText).size());
    EXPECT_NE(std::string::npos, listed.macText.find("3e80"));  // 'hstm' names 16000

    PiplRun other = runPipl(piplResource(description), {16001});
    ASSERT_TRUE(other.ok);
    EXPECT_EQ("data 'aete' (16000) {", rezHeads(other.macText).at(1));
}

TEST(PiplTerminology, PiplNameAndIdKeyTheBlocksWhileTheResourceUsesId1000)
{
    PiplRun named = runPipl(
        piplResource("{\"PluginType\":\"Photoshop_Export\",\"Name\":\"a\"," + versionJson + "}",
                     12000, "My \"PiPL\""));
    ASSERT_TRUE(named.ok);
    const std::vector<std::string> macHeads = {"data 'PiPL' (12000, \"My \\\"PiPL\\\"\") {",
                                               "data 'aete' (1000) {"};
    const std::vector<std::string> winHeads = {"12000 PiPL {", "1000 aete {"};
    EXPECT_EQ(macHeads, rezHeads(named.macText));
    EXPECT_EQ(winHeads, rcHeads(named.winText));

    // Without an ID the Windows block is keyed by the name alone.
    PiplRun unnumbered = runPipl(piplResource(
        "{\"PluginType\":\"Illustrator\",\"Name\":\"a\"," + versionJson + "}", 0, "Plug"));
    ASSERT_TRUE(unnumbered.ok);
    EXPECT_EQ(std::vector<std::string>{"\"Plug\" PiPL {"}, rcHeads(unnumbered.winText));
}
