// The --strict reader on its own: what each fault of syntax is called and where, what it
// lets through, and what it keeps of the document. Whole runs are golden cases
// (tests/cli/cases/strict-*).
#include <gtest/gtest.h>

#include <string>

#include "common/ExitStatus.h"
#include "strict/StrictSyntax.h"

namespace kel::rez {
namespace {

/// The lines a --strict run prints for text, naming the input "in".
std::string problemsOf(const std::string& text)
{
    Diagnostics diagnostics(Diagnostics::Mode::collect);
    diagnostics.setInput("in", text);
    readStrictSyntax(text, diagnostics);
    if (diagnostics.failed()) {
        EXPECT_EQ(statusStrictCheckFailed, diagnostics.status());
    }
    return diagnostics.text();
}

TEST(StrictSyntax, NamesWhatWasExpectedAndWhatWasFound)
{
    const struct {
        const char* text;
        const char* lines;
    } cases[] = {
        {"", "Error: in:1:1: expected a value, found the end of the input\n"},
        {"{1}", "Error: in:1:2: expected a member name or '}', found '1'\n"},
        {"{\"a\":1,}", "Error: in:1:8: expected a member name, found '}'\n"},
        {"{\"a\" 1}", "Error: in:1:6: expected ':' after a member name, found '1'\n"},
        {"{\"a\":}", "Error: in:1:6: expected a value, found '}'\n"},
        {"{\"a\":1 \"b\":2}", "Error: in:1:8: expected ',' or '}' after a member, found '\"'\n"},
        {"[}", "Error: in:1:2: expected a value or ']', found '}'\n"},
        {"[1,]", "Error: in:1:4: expected a value, found ']'\n"},
        {"[1 2]", "Error: in:1:4: expected ',' or ']' after an element, found '2'\n"},
        {"[01]", "Error: in:1:3: expected ',' or ']' after an element, found '1'\n"},
        {"[1]\n[2]",
         "Error: in:2:1: expected the end of the input after the root value, found '['\n"},
        {"[-]", "Error: in:1:3: expected a digit after '-', found ']'\n"},
        {"[.5]", "Error: in:1:2: expected a value or ']', found '.'\n"},
        {"[+5]", "Error: in:1:2: expected a value or ']', found '+'\n"},
        {"[1.]", "Error: in:1:4: expected a digit after '.', found ']'\n"},
        {"[1e]", "Error: in:1:4: expected a digit in the exponent, found ']'\n"},
        {"[1E+]", "Error: in:1:5: expected a digit in the exponent, found ']'\n"},
        {"[nul]", "Error: in:1:5: expected 'l' of 'null', found ']'\n"},
        {"[True]", "Error: in:1:2: expected a value or ']', found 'T'\n"},
        {"[fals", "Error: in:1:6: expected 'e' of 'false', found the end of the input\n"},
        {"[\"abc", "Error: in:1:6: expected '\"' to end the string, found the end of the input\n"},
        {"[\"ab\ncd\"]", "Error: in:1:5: expected '\"' to end the string, found a line feed\n"},
        {"[1,\t\r\n ", "Error: in:2:2: expected a value, found the end of the input\n"},
        {"[\x01]", "Error: in:1:2: expected a value or ']', found byte 0x01\n"},
        {"[1] ~", "Error: in:1:5: expected the end of the input after the root value, found '~'\n"},
        {"\xEF\xBB\xBF[]", "Error: in:1:1: expected a value, found a byte order mark\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.lines, problemsOf(c.text)) << c.text;
}

TEST(StrictSyntax, AcceptsEveryFormOfJson)
{
    for (const char* text :
         {"[]", "{}", " [ ] ", "\t{\r\n}\n", "0", "-0", "-0.5", "12.250", "true", "false", "null",
          "\"\"", "\"\\\"\\\\x\"",
          "\"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\x7F\"",
          "[[[]],{\"a\":[{},{\"a\":null}]},\"x\",-1,true]", "{\"a\":1,\"A\":2,\"a \":3}"})
        EXPECT_EQ("", problemsOf(text)) << text;
}

TEST(StrictSyntax, NestingDeeperThanTheCallStackReachesCostsNoRecursion)
{
    const std::size_t depth = 200000;
    const std::string open(depth, '[');
    EXPECT_EQ("", problemsOf(open + std::string(depth, ']')));
    EXPECT_EQ("Error: in:1:" + std::to_string(2 * depth)
                  + ": expected ',' or ']' after an element, found the end of the input\n",
              problemsOf(open + std::string(depth - 1, ']')));
}

TEST(StrictSyntax, KeepsValuesDownToTheDepthTheChecksReadAndPlacesNames)
{
    const std::string text = R"([{"a":{"b":[{"c":{"d":{"e":1}}}]}}, 7])";
    Diagnostics diagnostics(Diagnostics::Mode::collect);
    const StrictPlaces places = readStrictSyntax(text, diagnostics);
    EXPECT_FALSE(diagnostics.failed());
    // The root, the entry, "a", "b", its element, "c", and the 7; "d" and "e" are too deep.
    ASSERT_EQ(7u, places.values().size());
    const StrictValue& c = places[5];
    EXPECT_EQ(StrictValue::Kind::object, c.kind);
    EXPECT_EQ("c", c.name);
    EXPECT_EQ(text.find("\"c\""), c.keyOffset);
    EXPECT_EQ(StrictValue::none, c.firstChild);
    const StrictValue& entry = places[1];
    EXPECT_EQ(6u, entry.nextSibling);
    EXPECT_EQ(text.find('7'), places[6].offset);
}

TEST(StrictSyntax, ReadsStringsAsTheLenientParserDoes)
{
    const std::string text = R"(["say \"hi\" \\ \n"])";
    Diagnostics diagnostics(Diagnostics::Mode::collect);
    const StrictPlaces places = readStrictSyntax(text, diagnostics);
    ASSERT_EQ(2u, places.values().size());
    const StrictValue& value = places[1];
    EXPECT_EQ(R"(say "hi" \\ \n)", strictStringText(text, value.offset, value.end));
}

TEST(StrictProblems, CountsLinesAtLineFeedsAndColumnsInBytes)
{
    const std::string text = "a\r\n\xC3\xA9x\n\nz";
    Diagnostics diagnostics(Diagnostics::Mode::collect);
    diagnostics.setInput("in", text);
    EXPECT_EQ("1:1", diagnostics.lineAndColumn(0));
    EXPECT_EQ("1:2", diagnostics.lineAndColumn(1));  // the CR ends no line
    EXPECT_EQ("2:3", diagnostics.lineAndColumn(5));  // after the two bytes of é
    EXPECT_EQ("3:1", diagnostics.lineAndColumn(7));
    EXPECT_EQ("4:2", diagnostics.lineAndColumn(text.size()));
}

}  // namespace
}  // namespace kel::rez
