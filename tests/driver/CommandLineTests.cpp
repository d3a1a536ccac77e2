// The command line's building blocks that the end-to-end cases cannot reach: the home
// directory lookup with HOME unset, and "~" expansion against absolute home folders.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "driver/CommandLine.h"
#include "driver/Driver.h"
#include "driver/HomeDirectory.h"
#include "driver/Input.h"
#include "driver/Usage.h"

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

namespace kel::rez {
namespace {

std::optional<std::string> expanded(std::optional<std::string> path, const std::string& home)
{
    expandLeadingTilde(path, home);
    return path;
}

TEST(HomeExpansion, ReplacesOnlyTheLeadingTilde)
{
    EXPECT_EQ(expanded("~/r/x.r", "/Users/k"), "/Users/k/r/x.r");
    EXPECT_EQ(expanded("~bob/x", "/Users/k"), "/Users/kbob/x");
    EXPECT_EQ(expanded("~", "/Users/k"), "/Users/k");
    EXPECT_EQ(expanded("~/~/x", "/h"), "/h/~/x");
    EXPECT_EQ(expanded("a/~/x", "/h"), "a/~/x");
    EXPECT_EQ(expanded("/abs/x.r", "/h"), "/abs/x.r");
}

TEST(HomeExpansion, LeavesAbsentEmptyPathsAndEmptyHomeAlone)
{
    EXPECT_EQ(expanded(std::nullopt, "/h"), std::nullopt);
    EXPECT_EQ(expanded("", "/h"), "");
    EXPECT_EQ(expanded("~/r/x.r", ""), "~/r/x.r");
}

TEST(HomeExpansion, TreatsEverySettingOnItsOwn)
{
    CommandLineSettings settings;
    settings.inputPath = "~/in.json";
    settings.outputs.idToFile = "ids.txt";
    settings.outputs.mac = "~m.r";
    settings.outputs.pipl = "";
    expandHomeInPaths(settings, "/h");
    EXPECT_EQ(settings.inputPath, "/h/in.json");
    EXPECT_EQ(settings.outputs.idToFile, "ids.txt");
    EXPECT_EQ(settings.outputs.mac, "/hm.r");
    EXPECT_EQ(settings.outputs.windows, std::nullopt);
    EXPECT_EQ(settings.outputs.header, std::nullopt);
    EXPECT_EQ(settings.outputs.pipl, "");
}

#ifndef _WIN32
// Restores HOME as it was when the test started.
class HomeDirectoryLookup : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (const char* home = std::getenv("HOME"))
            __savedHome = home;
    }
    void TearDown() override
    {
        if (__savedHome)
            setenv("HOME", __savedHome->c_str(), 1);
        else
            unsetenv("HOME");
    }
    std::optional<std::string> __savedHome;
};

TEST_F(HomeDirectoryLookup, PrefersHomeEvenWhenEmpty)
{
    setenv("HOME", "/somewhere/else", 1);
    EXPECT_EQ(findHomeDirectory(), "/somewhere/else");
    setenv("HOME", "", 1);
    EXPECT_EQ(findHomeDirectory(), "");
}

TEST_F(HomeDirectoryLookup, FallsBackToThePasswordEntry)
{
    unsetenv("HOME");
    const passwd* entry = getpwuid(getuid());
    const std::string expected = entry && entry->pw_dir ? entry->pw_dir : "";
    EXPECT_EQ(findHomeDirectory(), expected);
}
#endif

TEST(CommandLineScan, KeepsAbsentAndEmptyDistinctAndTakesTheLaterValue)
{
    const char* argv[] = {"vantrel", "--adobe", "",           "--mac",   "a.r",        "--mac",
                          "-",       "--in",    "first.json", "--input", "second.json"};
    CommandLineSettings settings;
    Diagnostics diagnostics;
    ASSERT_EQ(scanCommandLine(11, argv, settings, diagnostics), 0);
    EXPECT_FALSE(settings.helpRequested);
    EXPECT_EQ(settings.outputs.idToFile, "");
    EXPECT_EQ(settings.outputs.mac, "-");
    EXPECT_EQ(settings.inputPath, "second.json");
    EXPECT_EQ(settings.outputs.windows, std::nullopt);
    EXPECT_EQ(settings.outputs.header, std::nullopt);
    EXPECT_EQ(settings.outputs.pipl, std::nullopt);
    EXPECT_EQ(checkRequiredOutputs(settings.outputs, diagnostics), 0);
    EXPECT_EQ("", diagnostics.text());
}

/// readLines of a stream that holds given, as standard input would.
std::string readLinesOf(const std::string& given)
{
    std::FILE* stream = std::tmpfile();
    if (!stream)
        return "(no temporary file)";
    std::fwrite(given.data(), 1, given.size(), stream);
    std::rewind(stream);
    std::string text = readLines(stream);
    std::fclose(stream);
    return text;
}

TEST(StandardInputText, EndsEveryLineWithOneNewline)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""},
        {"[]", "[]\n"},
        {"[]\n", "[]\n"},
        {"\n", "\n"},
        {"[\n1,\n2]", "[\n1,\n2]\n"},
        {"a\n\n", "a\n\n"},
        {std::string("a\0b", 3), std::string("a\0b\n", 4)},
    };
    for (const auto& [given, expected] : cases)
        EXPECT_EQ(readLinesOf(given), expected) << "input: " << given;
}

TEST(StandardInputText, ReadsTextLongerThanOneBlock)
{
    std::string given(200000, 'x');
    given[100000] = '\n';
    EXPECT_EQ(readLinesOf(given), given + "\n");
}

// Some launchers start a program with an empty argument vector (argv[0] is null).
TEST(RunTool, PrintsTheUsageForAnEmptyArgumentVector)
{
    char* argv[] = {nullptr};
    ::testing::internal::CaptureStdout();
    const int status = runTool(0, argv);
    const std::string printed = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(status, 0);
    EXPECT_EQ(printed, usageText(""));
    EXPECT_EQ(printed.rfind(" aids in generating Mac *.r files", 0), 0u);
}

}  // namespace
}  // namespace kel::rez
