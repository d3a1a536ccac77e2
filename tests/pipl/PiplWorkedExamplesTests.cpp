// Whole property lists, terminology data and byte image of two known plug-ins, byte for byte.
#include <gtest/gtest.h>

#include "PiplTestSupport.h"

using namespace pipltest;

namespace {

const std::string illustratorHi = "{\"PluginType\":\"Illustrator\",\"Name\":\"Hi\",\"Version\":{"
                                  "\"Major\":1,\"Minor\":0,\"Revision\":0}}";

const std::string illustratorHiMac = "0000000000000006"
                                     "414442456b696e64000000000000000453504541"
                                     "4144424569767273000000000000000400000002"
                                     "41444245707063620000000000000009000000000000000000000000"
                                     "414442456d616368000000000000000100000000"
                                     "414442456d693332000000000000000100000000"
                                     "4144424570696e6d000000000000000402486900";

const std::string illustratorHiWin = "01000000000004000000"
                                     "45424441646e696b000000000400000041455053"
                                     "4542444173727669000000000400000002000000"
                                     "4542444136387877000000000c000000506c7567696e4d61696e0000"
                                     "454244416d6e6970000000000400000002486900";

const std::string illustratorHiImage =
    "0000000100000000000000044144424569767273000000000000000400000002414442456b696e6400000000000000"
    "04"
    "53504541414442456d69333200000000000000004144424570696e6d000000000000000448690000";

// Members given out of name order on purpose.
const std::string photoshopBlur =
    "{\"SupportedModes\":{\"Bitmap\":false,\"Grayscale\":false,\"Indexed\":false,\"RGB\":true,"
    "\"CMYK\":false,"
    "\"HSL\":false,\"HSB\":false,\"LAB\":false,\"Multichannel\":false,\"Duotone\":false},"
    "\"Version\":{\"Major\":1,\"Minor\":2,\"Revision\":3},\"PluginType\":\"Photoshop_Filter\","
    "\"Category\":\"Demo\",\"Name\":\"Blur\"}";

const std::string photoshopBlurMac =
    "000000000000000c"
    "3842494d6b696e6400000000000000043842464d"
    "3842494d76657273000000000000000400040000"
    "3842494d6d69363400000000000000141046696c746572506c7567696e4d61696e000000"
    "3842494d70727374000000000000000400000001"
    "3842494d656e626c00000000000000087472756500000000"
    "3842494d6d73333200000000000000087fffffff7fffffff"
    "3842494d66696369000000000000001c0404060004040E0004040E000404060004040E000404060004040E00"
    "3842494d6361746700000000000000080444656d6f000000"
    "3842494d6e616d65000000000000000804426c7572000000"
    "3842494d6d6f6465000000000000000210000000"
    "3842494d6873746d0000000000000018000000004466546d4466546d03e8426c7572000000000000"
    "3842494d636d7074000000000000000c00010203426c757200000000";

const std::string photoshopBlurWin =
    "0100000000000d000000"
    "4d494238646e696b00000000040000004d464238"
    "4d49423873726576000000000400000000000400"
    "4d49423836387877000000001400000046696c746572506c7567696e4d61696e00000000"
    "4d49423834363638000000001400000046696c746572506c7567696e4d61696e00000000"
    "4d49423874737270000000000400000001000000"
    "4d4942386c626e6500000000080000007472756500000000"
    "4d4942383233736d0000000008000000ffffff7fffffff7f"
    "4d49423869636966000000001c0000000404060004040E0004040E000404060004040E000404060004040E00"
    "4d4942386774616300000000080000000444656d6f000000"
    "4d494238656d616e000000000800000004426c7572000000"
    "4d49423865646f6d000000000400000010000000"
    "4d4942386d7473680000000018000000000000006d5466446d546644e803426c7572000000000000"
    "4d49423874706d63000000000c00000003020100426c757200000000";

const std::string terminologyHiMac =
    "0100000000000001024869004466546d000100010001024869004466546d4466546d6e756c6c0000000023496d52"
    "0000B0000000000000000000";

const std::string terminologyHiWin =
    "01000100000000000100024869006d546644010001000100024869006d5466446d5466446c6c756e000000526d4923"
    "0000B00000000000000100646d43540100002020202000";

}  // namespace

TEST(PiplWorkedExamples, IllustratorListsAndByteImage)
{
    PiplRun run = runPipl(illustratorHi);
    ASSERT_TRUE(run.ok) << run.errorText;
    EXPECT_EQ("", run.errorText);
    EXPECT_EQ(136u, illustratorHiMac.size() / 2);
    EXPECT_EQ(98u, illustratorHiWin.size() / 2);
    EXPECT_EQ(88u, illustratorHiImage.size() / 2);

    EXPECT_EQ(std::vector<std::string>{"data 'PiPL' (10000) {"}, rezHeads(run.macText));
    EXPECT_EQ(std::vector<std::string>{illustratorHiMac}, rezDataHex(run.macText));
    EXPECT_EQ(std::vector<std::string>{"10000 PiPL {"}, rcHeads(run.winText));
    EXPECT_EQ(std::vector<std::string>{illustratorHiWin}, rcDataHex(run.winText));
    EXPECT_EQ(illustratorHiImage, bytesToHex(run.piplBytes));
}

TEST(PiplWorkedExamples, PhotoshopListsFollowedByTheirTerminologyResource)
{
    PiplRun run = runPipl(photoshopBlur);
    ASSERT_TRUE(run.ok) << run.errorText;
    EXPECT_EQ(332u, photoshopBlurMac.size() / 2);
    EXPECT_EQ(370u, photoshopBlurWin.size() / 2);

    const std::vector<std::string> macHeads = {"data 'PiPL' (10000) {", "data 'aete' (1000) {"};
    const std::vector<std::string> winHeads = {"10000 PiPL {", "1000 aete {"};
    EXPECT_EQ(macHeads, rezHeads(run.macText));
    EXPECT_EQ(winHeads, rcHeads(run.winText));

    std::vector<std::string> macData = rezDataHex(run.macText);
    std::vector<std::string> winData = rcDataHex(run.winText);
    ASSERT_EQ(2u, macData.size());
    ASSERT_EQ(2u, winData.size());
    EXPECT_EQ(photoshopBlurMac, macData[0]);
    EXPECT_EQ(lowerCase(photoshopBlurWin), winData[0]);
    EXPECT_TRUE(run.piplBytes.empty());
}

TEST(PiplWorkedExamples, TerminologyResourceOfAPluginNamedHi)
{
    PiplRun run = runPipl("{\"PluginType\":\"Photoshop_Picker\",\"Name\":\"Hi\",\"Version\":{"
                          "\"Major\":1,\"Minor\":0,\"Revision\":0}}");
    ASSERT_TRUE(run.ok) << run.errorText;
    EXPECT_EQ(58u, terminologyHiMac.size() / 2);
    EXPECT_EQ(70u, terminologyHiWin.size() / 2);

    std::vector<std::string> macData = rezDataHex(run.macText);
    std::vector<std::string> winData = rcDataHex(run.winText);
    ASSERT_EQ(2u, macData.size());
    ASSERT_EQ(2u, winData.size());
    EXPECT_EQ(terminologyHiMac, macData[1]);
    EXPECT_EQ(lowerCase(terminologyHiWin), winData[1]);
}
