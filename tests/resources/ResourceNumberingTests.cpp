// Generated IDs: per type in input order, PNG images by name with their variants.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/ExitStatus.h"
#include "resources/ResourceNumbering.h"

namespace kel::rez {
namespace {

struct Entry {
    std::string type;
    std::string name;
    int id;
};

/// Files the entries in input order, as loading does, and keeps them in that order.
class Numbering
{
public:
    explicit Numbering(const std::vector<Entry>& entries)
    {
        for (const Entry& entry : entries) {
            auto resource = std::make_unique<Resource>();
            resource->type = entry.type;
            resource->name = entry.name;
            resource->id = static_cast<std::int16_t>(entry.id);
            inInputOrder.push_back(resource.get());
            byType[entry.type].push_back(std::move(resource));
        }
    }

    int run() { return assignResourceIds(byType, diagnostics); }

    std::vector<int> ids() const
    {
        std::vector<int> result;
        for (const Resource* resource : inInputOrder)
            result.push_back(resource->id);
        return result;
    }

    Diagnostics diagnostics;

private:
    ResourcesByType byType;
    std::vector<const Resource*> inInputOrder;  // owned by byType
};

std::vector<int> numbered(const std::vector<Entry>& entries)
{
    Numbering numbering(entries);
    EXPECT_EQ(statusSuccess, numbering.run());
    return numbering.ids();
}

Entry png(const std::string& name, int id = 0)
{
    return {"PNGI", name, id};
}

TEST(NumberingPng, WorkedExampleWithVariantsAndExplicitBase)
{
    EXPECT_EQ((std::vector<int>{10005, 10002, 12000, 10004, 10000, 10003, 10001}),
              numbered({png("logo@2x"), png("arrow@3x"), png("logo", 12000), png("close@2x.png"),
                        png("arrow"), png("close.png"), png("arrow@2x")}));
}

TEST(NumberingPng, VariantGroupsFollowTheirBaseInResolutionOrder)
{
    EXPECT_EQ((std::vector<int>{10004, 10003, 10002, 10001, 10000}),
              numbered({png("a@4x"), png("a@3x"), png("a@3to2x"), png("a@2x"), png("a")}));
    EXPECT_EQ((std::vector<int>{10000, 10002, 10001, 10003}),
              numbered({png("a"), png("a@4x.PNG"), png("a@2x.png"), png("b")}));
}

TEST(NumberingPng, SecondMemberOfAGroupWaitsForTheLeftovers)
{
    EXPECT_EQ((std::vector<int>{10003, 10001, 10000, 10002}),
              numbered({png("x@2x.png"), png("x@2x"), png("x"), png("y")}));
}

TEST(NumberingPng, NamesThatAreNotVariants)
{
    // "@2x" has nothing before its suffix; "@2X" is not a suffix at all.
    EXPECT_EQ((std::vector<int>{10000, 10001, 10002}),
              numbered({png("@2x"), png("@2x@2x"), png("b@2X")}));
}

TEST(NumberingPng, NameStartingLikeAVariantIsABaseOfItsOwn)
{
    // "a@2xyz" begins as the "@2x" variants of "a" do, but is none: a base of its own.
    EXPECT_EQ((std::vector<int>{10000, 10002, 10001}),
              numbered({png("a"), png("a@2xyz"), png("a@2x.PNG")}));
    EXPECT_EQ((std::vector<int>{10002, 10000, 10001}),
              numbered({png("a@2xyz"), png("a"), png("a@3x")}));
}

TEST(NumberingPng, BasesSharingAStemNumberEachVariantOnce)
{
    EXPECT_EQ((std::vector<int>{10000, 10002, 10001, 10003}),
              numbered({png("x"), png("x.png"), png("x@2x"), png("x@2x.png")}));
    // "x.PNG" sorts before "x.png".
    EXPECT_EQ((std::vector<int>{10002, 10000, 10001, 10003}),
              numbered({png("x.png"), png("x.PNG"), png("x@2x"), png("x@2x.png")}));
}

TEST(NumberingPng, SharedNamesEachGetTheirOwnId)
{
    // The first of each name is numbered by name, the others after everything else.
    EXPECT_EQ(
        (std::vector<int>{10000, 10002, 10004, 10005, 10003, 10001, 10006}),
        numbered({png("a"), png(""), png(""), png("a"), png("z@2x"), png("a@2x"), png("a@2x")}));
    // The others keep their input order, not the order of their names.
    EXPECT_EQ((std::vector<int>{10001, 10000, 10002, 10003, 10004}),
              numbered({png("b"), png("a"), png("b"), png("a"), png("b")}));
}

TEST(NumberingPng, VariantsAreFoundAmongOtherNamesOfTheirStem)
{
    // Sorted by bytes: "a", "a\0@2x", "a.b", "a.png", "a@2x", "a@2x.png", "ab@2x"; a zero
    // byte is a byte like any other, and "ab@2x" has no base.
    const std::string zeroVariant("a\0@2x", 5);
    EXPECT_EQ((std::vector<int>{10001, 10002, 10000, 10003, 10004, 10006, 10005}),
              numbered({png("a@2x"), png("a.b"), png("a"), png("a.png"), png("a@2x.png"),
                        png("ab@2x"), png(zeroVariant)}));
}

TEST(NumberingPlainTypes, CountersPerTypeInInputOrderAndExplicitIdsNotReserved)
{
    EXPECT_EQ((std::vector<int>{10000, 10000, 10000, 10001, 10000, 12000, 10001, 10000}),
              numbered({{"PiPL", "", 0},
                        {"SVG", "z", 0},
                        {"SVG", "", 10000},
                        {"PiPL", "a", 0},
                        {"pngi", "", 0},
                        {"SVG", "", 12000},
                        {"SVG", "", 0},
                        png("p")}));
}

TEST(NumberingLimits, LastIdIs32767AndOneMoreFails)
{
    const int available = highestResourceId - lowestResourceId + 1;
    for (const std::string& type : {std::string("DATA"), resourceTypePNGI}) {
        std::vector<Entry> entries;
        for (int i = 0; i < available; ++i)
            entries.push_back({type, type == resourceTypePNGI ? "n" + std::to_string(i) : "", 0});
        Numbering full(entries);
        EXPECT_EQ(statusSuccess, full.run());
        std::vector<int> ids = full.ids();
        std::sort(ids.begin(), ids.end());
        EXPECT_EQ(10000, ids.front());
        EXPECT_EQ(32767, ids.back());
        EXPECT_EQ(ids.end(), std::adjacent_find(ids.begin(), ids.end()));

        entries.push_back({type, "", 0});
        Numbering overfull(entries);
        EXPECT_EQ(statusTooManyIds, overfull.run());
        EXPECT_EQ("Error: too many resources of type " + type
                      + "; IDs are limited to the range 10000-32767(other values are reserved)\n",
                  overfull.diagnostics.text());
    }
}

}  // namespace
}  // namespace kel::rez
