// Placing the problems the loader, the numbering and the PiPL compiler report under --strict.
#include <gtest/gtest.h>

#include <string>

#include "common/Diagnostics.h"
#include "strict/StrictPlaces.h"
#include "strict/StrictSyntax.h"

namespace kel::rez {
namespace {

/// The offset in text of the value that entry and path lead to.
std::size_t offsetIn(const std::string& text, std::size_t entry, std::vector<std::string> path)
{
    Diagnostics diagnostics(Diagnostics::Mode::collect);
    const StrictPlaces places = readStrictSyntax(text, diagnostics);
    EXPECT_FALSE(diagnostics.failed()) << text;
    Place where;
    where.entry = entry;
    where.path = std::move(path);
    return places.offsetOf(where);
}

TEST(StrictPlaces, EntryMembersAreFoundByEverySpellingTheLoaderReads)
{
    const std::string text = R"([{"type":"A"}, {"Id": 1, "TYPE": 2, "Type": 3}])";
    EXPECT_EQ(text.find("{\"Id\""), offsetIn(text, 1, {}));
    EXPECT_EQ(text.find("3}"), offsetIn(text, 1, {"type"}));  // "Type" wins over "TYPE"
    EXPECT_EQ(text.find("1,"), offsetIn(text, 1, {"id"}));
    EXPECT_EQ(text.find("\"A\""), offsetIn(text, 0, {"type"}));
}

TEST(StrictPlaces, PiplMembersAndElementsAreFoundByTheirPath)
{
    const std::string text = R"([{"type":"PiPL","data":{"Version":{"Minor":"2"},)"
                             R"("FormatReadExt":["a", 7]}}])";
    EXPECT_EQ(text.find("\"2\""), offsetIn(text, 0, {"data", "Version", "Minor"}));
    EXPECT_EQ(text.find("7]"), offsetIn(text, 0, {"data", "FormatReadExt", "1"}));
    // Inner names are exact: a PiPL member has one spelling.
    EXPECT_EQ(text.find("{\"Version\""), offsetIn(text, 0, {"data", "version"}));
}

TEST(StrictPlaces, AMissingValueIsPlacedAtTheDeepestValueOnItsPath)
{
    const std::string text = R"([{"type":"PiPL","data":{"Version":{}}}])";
    EXPECT_EQ(text.find("{}"), offsetIn(text, 0, {"data", "Version", "Major"}));
    EXPECT_EQ(text.find("{\"Version\""), offsetIn(text, 0, {"data", "FormatReadExt", "3"}));
    EXPECT_EQ(Place::unknown, offsetIn(text, 1, {}));
    EXPECT_EQ(Place::unknown, offsetIn(text, Place::unknown, {"type"}));
}

TEST(StrictPlaces, DiagnosticsPlaceWhatTheFinderFinds)
{
    const std::string text = "[\n  {\"type\": 5}\n]";
    Diagnostics diagnostics(Diagnostics::Mode::collect);
    const StrictPlaces places = readStrictSyntax(text, diagnostics);
    diagnostics.setInput("in.json", text);
    diagnostics.setPlaceFinder([&places](const Place& where) { return places.offsetOf(where); });
    Place where;
    where.entry = 0;
    where.path = {"type"};
    diagnostics.fail(81, "not a string", where);
    diagnostics.fail(91, "cannot write");
    EXPECT_EQ("Error: in.json:2:12: entry 0: not a string\nError: cannot write\n",
              diagnostics.text());
    EXPECT_EQ(81, diagnostics.status());
}

}  // namespace
}  // namespace kel::rez
