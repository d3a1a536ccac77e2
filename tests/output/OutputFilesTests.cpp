// The output pass and the writing of its files.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "common/ExitStatus.h"
#include "driver/Pipeline.h"
#include "output/OutputFiles.h"
#include "output/OutputPass.h"

namespace kel::rez {
namespace {

std::string readBytes(const std::string& path)
{
    std::ifstream stream(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

TEST(OutputPass, StartsFromEmptyTextsAndSkipsAbsentOutputs)
{
    OutputPaths paths;
    paths.idToFile = "IDtoFile.txt";
    paths.windows = "res.rc";
    OutputTexts texts;
    texts.headerText.text() = "stale";
    texts.macText.text() = "stale";
    texts.piplBytes = {1, 2, 3};
    Diagnostics diagnostics;
    EXPECT_EQ(statusSuccess,
              buildOutputsFromText(
                  R"([{"type":"T","file":"a/b.c","define":"B"},{"type":"T","data":"01"}])", paths,
                  texts, diagnostics));
    EXPECT_FALSE(diagnostics.failed());
    EXPECT_EQ("", texts.headerText.text());
    EXPECT_EQ("", texts.macText.text());
    EXPECT_TRUE(texts.piplBytes.empty());
    EXPECT_EQ("10000.T a/b.c\nb.T a/b.c\n", texts.idToFileText.text());
    EXPECT_EQ("10000 T \"a/b.c\"\n\"b\" T \"a/b.c\"\n10001 T {\n\t\"\\1\"\n}\n\n", texts.winText.text());
}

TEST(OutputFiles, PiplImageIsWrittenByteForByte)
{
    const std::string path = "output_files_test_image.bin";
    std::remove(path.c_str());
    OutputPaths paths;
    paths.pipl = path;
    OutputTexts texts;
    // Line ends and the DOS end-of-file byte must pass through unchanged.
    texts.piplBytes = {0x0a, 0x0d, 0x0a, 0x1a, 0x00, 0xff, 0x0d};
    Diagnostics diagnostics;
    EXPECT_EQ(statusSuccess, writeOutputs(texts, paths, diagnostics));
    EXPECT_EQ(std::string("\n\r\n\x1a\0\xff\r", 7), readBytes(path));

    texts.piplBytes = {0x41};
    EXPECT_EQ(statusSuccess, writeOutputs(texts, paths, diagnostics));
    EXPECT_FALSE(diagnostics.failed());
    EXPECT_EQ("A", readBytes(path));
    std::remove(path.c_str());
}

TEST(OutputFiles, NothingToWriteIsNotAFailure)
{
    OutputPaths paths;
    paths.header = "missing-folder/res.h";
    paths.idToFile = "missing-folder/IDtoFile.txt";
    paths.pipl = "missing-folder/out.bin";
    Diagnostics diagnostics;
    EXPECT_EQ(statusSuccess, writeOutputs(OutputTexts(), paths, diagnostics));
    EXPECT_FALSE(diagnostics.failed());
}

#ifndef _WIN32
TEST(OutputFiles, FullDeviceFailsEveryKindOfFile)
{
    const struct {
        std::optional<std::string> OutputPaths::*path;
        const char* message;
    } outputs[] = {
        {&OutputPaths::header, "Error: cannot write to header output file at /dev/full\n"},
        {&OutputPaths::idToFile, "Error: cannot write to IDtoFile.txt output file at /dev/full\n"},
        {&OutputPaths::mac, "Error: cannot write to *.r output file at /dev/full\n"},
        {&OutputPaths::windows, "Error: cannot write to *.rc output file at /dev/full\n"},
        {&OutputPaths::pipl, "Error: cannot write to PiPL output file at /dev/full\n"},
    };
    OutputTexts texts;
    for (StreamedText* text : {&texts.headerText, &texts.idToFileText, &texts.macText, &texts.winText})
        text->text() = "x\n";
    texts.piplBytes = {1};
    for (const auto& output : outputs) {
        OutputPaths paths;
        paths.*output.path = "/dev/full";
        Diagnostics diagnostics;
        EXPECT_EQ(statusCannotWrite, writeOutputs(texts, paths, diagnostics));
        EXPECT_EQ(output.message, diagnostics.text());
        EXPECT_EQ(statusCannotWrite, diagnostics.status());
    }
}
#endif

}  // namespace
}  // namespace kel::rez
