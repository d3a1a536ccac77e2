// The parser's events as a consumer sees them, and a tree builder that takes the elements
// of the root array as they complete.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "keljsonEvents.h"
#include "keljsonParse.h"

using kel::json::Node;
using kel::utils::AutoNode;

namespace {

// Writes every event as one word, with the name in parentheses.
class EventLog : public kel::json::ParseEvents
{
public:
    std::string text;

    void beginContainer(Node::Type type, const std::string& name) override
    {
        text += (type == Node::TypeArray ? "[(" : "{(") + name + ") ";
    }
    void endContainer() override { text += "end "; }
    void nullValue(const std::string& name) override { text += "null(" + name + ") "; }
    void boolValue(const std::string& name, bool value) override
    {
        text += (value ? "true(" : "false(") + name + ") ";
    }
    void intValue(const std::string& name, std::int64_t value) override
    {
        text += "int(" + name + ")" + std::to_string(value) + " ";
    }
    void floatValue(const std::string& name, double value) override
    {
        text += "float(" + name + ")" + std::to_string(value) + " ";
    }
    void stringValue(const std::string& name, std::string&& value) override
    {
        text += "str(" + name + ")" + value + " ";
    }
};

// Takes each element of the root array out of the tree as it completes, as a loader does,
// and notes its text and a problem of its own: an element that is not an object.
class ElementTaker : public kel::json::TreeBuilder
{
public:
    std::vector<std::string> taken;
    std::string firstProblem;

protected:
    bool keepRootElement(Node* element) override
    {
        taken.push_back(kel::json::serialize(element));
        if (element->nodeType() != Node::TypeObject && firstProblem.empty())
            firstProblem = "element " + std::to_string(taken.size()) + " is not an object";
        return false;
    }
};

std::string eventsOf(const std::string& text)
{
    EventLog log;
    bool accepted = kel::json::parseEvents(text, log);
    return log.text + (accepted ? "accepted" : "rejected");
}

}  // namespace

TEST(ParseEvents, valuesArriveNamedInTextOrder)
{
    EXPECT_EQ("{() str(type)PiPL {(data) [(list) int()1 float()2.500000 end null(n) end "
              "true(t) end accepted",
              eventsOf("{\"type\":\"PiPL\",\"data\":{\"list\":[1,2.5],\"n\":null},\"t\":TRUE}"));
    EXPECT_EQ("[() {() str(a)x end {() int(b)2 end end accepted",
              eventsOf("[{\"a\":\"x\"},{\"b\":2}]"));
}

TEST(ParseEvents, scalarDocumentsAreOneValue)
{
    EXPECT_EQ("str()a\"b accepted", eventsOf("\"a\\\"b\""));
    EXPECT_EQ("int()-12 accepted", eventsOf(" -12 "));
    EXPECT_EQ("false() accepted", eventsOf("false"));
    EXPECT_EQ("rejected", eventsOf("false x"));
    EXPECT_EQ("rejected", eventsOf("  "));
}

TEST(ParseEvents, aLateSyntaxErrorRejectsAfterTheEventsBeforeIt)
{
    // The events before the error have been seen; the result still says rejected, so a
    // consumer holding a problem of its own can let the syntax error come first.
    EXPECT_EQ("[() int()1 [() int()2 end int()3 int()4 rejected", eventsOf("[1, [2], 3 4]"));
    EXPECT_EQ("[() int()1 end rejected", eventsOf("[1] ]"));
    EXPECT_EQ("[() str()open rejected", eventsOf("[\"open"));
    EXPECT_EQ("[() end rejected", eventsOf("[] 1"));  // a value with no container to go in
}

TEST(TreeBuilderElements, eachRootElementIsHandedOverCompleteAndLetGo)
{
    ElementTaker builder;
    ASSERT_TRUE(kel::json::parseEvents(
        "[{\"type\":\"PNGI\",\"file\":\"a.png\"}, {\"data\":{\"k\":[1,{\"v\":null}]}}, 7] [8]",
        builder));
    EXPECT_EQ((std::vector<std::string>{"{\"file\":\"a.png\",\"type\":\"PNGI\"}",
                                        "{\"data\":{\"k\":[1,{\"v\":null}]}}", "7"}),
              builder.taken);  // the later top-level [8] is no element of the root
    AutoNode root(builder.takeRoot());
    ASSERT_TRUE(root);
    EXPECT_EQ("[]", kel::json::serialize(root.get()));
    EXPECT_EQ("element 3 is not an object", builder.firstProblem);
}

TEST(TreeBuilderElements, aSyntaxErrorAfterALoadingProblemIsTheOneReported)
{
    // The second element is a problem for the consumer; the text is broken only later.
    ElementTaker builder;
    const bool accepted =
        kel::json::parseEvents("[{\"type\":\"PNGI\"}, 5, {\"type\":\"SVG\"} :]", builder);
    EXPECT_EQ("element 2 is not an object", builder.firstProblem);
    EXPECT_FALSE(accepted);
    EXPECT_EQ(3u, builder.taken.size());
}

TEST(TreeBuilderElements, theDefaultBuilderMakesWhatParseMakes)
{
    const std::string text = "{\"b\":[1,{\"c\":\"d\"}],\"a\":{},\"a\":2} {\"x\":1}";
    kel::json::TreeBuilder builder;
    ASSERT_TRUE(kel::json::parseEvents(text, builder));
    AutoNode built(builder.takeRoot());
    AutoNode parsed(kel::json::parse(text));
    ASSERT_TRUE(built && parsed);
    EXPECT_EQ("{\"a\":{},\"b\":[1,{\"c\":\"d\"}]}", kel::json::serialize(built.get()));
    EXPECT_EQ(kel::json::serialize(parsed.get()), kel::json::serialize(built.get()));
}
