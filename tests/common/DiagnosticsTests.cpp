#include <gtest/gtest.h>

#include <string>

#include "common/Diagnostics.h"
#include "common/ExitStatus.h"

using kel::rez::Diagnostics;
using kel::rez::Place;

TEST(Diagnostics, DefaultModeKeepsOnlyTheFirstErrorAsPrintedAlways)
{
    Diagnostics diagnostics;
    diagnostics.setInput("in.json", "[\n{}]");
    EXPECT_FALSE(diagnostics.failed());
    EXPECT_EQ(0, diagnostics.status());
    EXPECT_FALSE(diagnostics.fail(85, "first", {3, 1}));
    EXPECT_TRUE(diagnostics.stopping());
    diagnostics.fail(91, "second");
    EXPECT_EQ(85, diagnostics.status());
    EXPECT_EQ("Error: first\n", diagnostics.text());  // no place outside --strict
}

TEST(Diagnostics, CollectingModePlacesProblemsInInputOrder)
{
    Diagnostics diagnostics(Diagnostics::Mode::collect);
    const std::string text = "[\r\n  {\"a\": 1},\n\t{\"b\": 2}\n]";
    diagnostics.setInput("dir/in put.json", text);
    diagnostics.fail(85, "late", {text.find("\"b\""), 1});
    diagnostics.fail(80, "no place");
    diagnostics.fail(79, "early", {text.find("\"a\""), 0});
    diagnostics.fail(81, "same offset as early", {text.find("\"a\""), 0});
    EXPECT_FALSE(diagnostics.stopping());
    // The status of the first failure found, as in default mode: each kind keeps its own.
    EXPECT_EQ(85, diagnostics.status());
    EXPECT_EQ("Error: dir/in put.json:2:4: entry 0: early\n"
              "Error: dir/in put.json:2:4: entry 0: same offset as early\n"
              "Error: dir/in put.json:3:3: entry 1: late\n"
              "Error: no place\n",
              diagnostics.text());
}

TEST(Diagnostics, CollectingModeKeepsAtMostFiftyAndHostileTextVerbatim)
{
    Diagnostics diagnostics(Diagnostics::Mode::collect);
    diagnostics.setInput("x", "");
    for (int i = 0; i < 60; ++i)
        diagnostics.fail(90, std::string("m\"%s\0\n", 6) + std::to_string(i), {0});
    EXPECT_TRUE(diagnostics.stopping());
    const std::string text = diagnostics.text();
    std::size_t lines = 0;
    for (std::size_t at = text.find("Error: x:1:1: m\"%s"); at != std::string::npos;
         at = text.find("Error: x:1:1: m\"%s", at + 1))
        ++lines;
    EXPECT_EQ(Diagnostics::maxProblems, lines);
    EXPECT_NE(std::string::npos, text.find(std::string("m\"%s\0\n49\n", 9)));
    EXPECT_EQ(std::string::npos, text.find("\n50\n"));
}

TEST(Diagnostics, HeldFailuresKeepTheFirstFiftyInInputOrder)
{
    Diagnostics diagnostics(Diagnostics::Mode::collect);
    diagnostics.setInput("x", std::string(100, '\n'));
    EXPECT_FALSE(diagnostics.release());  // nothing held
    diagnostics.hold();
    for (std::size_t line = 100; line > 0; --line)
        diagnostics.fail(92, "line " + std::to_string(line), {line - 1});
    EXPECT_FALSE(diagnostics.stopping());
    EXPECT_TRUE(diagnostics.release());
    EXPECT_TRUE(diagnostics.stopping());
    std::string expected;
    for (std::size_t line = 1; line <= Diagnostics::maxProblems; ++line)
        expected += "Error: x:" + std::to_string(line) + ":1: line " + std::to_string(line) + "\n";
    EXPECT_EQ(expected, diagnostics.text());
}
