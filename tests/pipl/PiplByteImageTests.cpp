// The raw byte image: one block per Illustrator PiPL, nothing for Photoshop.
#include <gtest/gtest.h>

#include "PiplTestSupport.h"
#include "output/PiplOutput.h"

using namespace pipltest;

namespace {

const std::string versionJson = "\"Version\":{\"Major\":1,\"Minor\":0,\"Revision\":0}";

std::string illustratorNamed(const std::string& name)
{
    return "{\"PluginType\":\"Illustrator\",\"Name\":\"" + name + "\"," + versionJson + "}";
}

const std::string imageHead = "000000010000000000000004"
                              "4144424569767273000000000000000400000002"
                              "414442456b696e64000000000000000453504541"
                              "414442456d6933320000000000000000"
                              "4144424570696e6d00000000";

}  // namespace

TEST(PiplByteImage, BlocksAppendInCallOrderAndSkipPhotoshop)
{
    kel::rez::StreamedText macText;
    kel::rez::StreamedText winText;
    macText.text() = winText.text() = "kept\n";
    std::vector<unsigned char> bytes = {0xAB};
    kel::rez::CompiledOutputs noCompiledFiles;
    auto compile = [&](const std::string& description) {
        kel::rez::Resource res = piplResource(description);
        kel::rez::Diagnostics diagnostics;
        return kel::rez::__processPiPL(res, macText, winText, bytes, noCompiledFiles, {},
                                       diagnostics);
    };
    ASSERT_TRUE(compile(illustratorNamed("abc")));
    ASSERT_TRUE(
        compile("{\"PluginType\":\"Photoshop_Filter\",\"Name\":\"p\"," + versionJson + "}"));
    ASSERT_TRUE(compile(illustratorNamed("")));
    ASSERT_TRUE(compile(illustratorNamed("abcd")));

    EXPECT_EQ("ab" + imageHead
                  + "00000008"
                    "6162630000000000"
                  + imageHead
                  + "00000004"
                    "00000000"
                  + imageHead
                  + "00000008"
                    "6162636400000000",
              bytesToHex(bytes));
    EXPECT_EQ(0u, macText.text().find("kept\n"));
    EXPECT_EQ(0u, winText.text().find("kept\n"));
    EXPECT_EQ(5u, rezHeads(macText.text()).size());
}
