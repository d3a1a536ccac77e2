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

TEST(PiplTerminology, ResourceAlwaysDescribesTheDefaultWhateverIsGiven)
{
    PiplRun given = runPipl(
        "{\"PluginType\":\"Photoshop_Export\",\"Name\":\"Hi\"," + versionJson
        + ",\"Terminology\":{\"Class\":\"abcd\",\"Event\":\"efgh\",\"Name\":\"t\",\"aete\":7}}");
    PiplRun fallback =
        runPipl("{\"PluginType\":\"Photoshop_Selection\",\"Name\":\"Hi\"," + versionJson + "}");
    ASSERT_TRUE(given.ok);
    ASSERT_TRUE(fallback.ok);
    EXPECT_EQ(rezDataHex(fallback.macText).at(1), rezDataHex(given.macText).at(1));
    EXPECT_EQ(rcDataHex(fallback.winText).at(1), rcDataHex(given.winText).at(1));
    EXPECT_EQ("data 'aete' (1000) {", rezHeads(given.macText).at(1));
    EXPECT_EQ("1000 aete {", rcHeads(given.winText).at(1));
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
