// The serializer's text: layout in both modes, number formatting and string quoting.
#include <gtest/gtest.h>

#include <cfloat>
#include <string>

#include "keljsonParse.h"
#include "kelutilsFiles.h"

using kel::json::Node;
using kel::utils::AutoNode;

namespace {

std::string numberText(double value)
{
    AutoNode node(Node::createFloat("", value));
    return kel::json::serialize(node.get());
}

// Pretty text with each platformLineEnding (CR LF on Windows) read as "\n", so that one
// expectation serves every platform; a bare LF where CR LF belongs shows as "<bare LF>".
std::string withLineFeeds(const std::string& text)
{
    const std::string ending = kel::utils::platformLineEnding;
    std::string lines;
    for (std::size_t i = 0; i < text.size();) {
        if (text.compare(i, ending.size(), ending) == 0) {
            lines += '\n';
            i += ending.size();
        } else if (text[i] == '\n') {
            lines += "<bare LF>";
            ++i;
        } else {
            lines += text[i++];
        }
    }
    return lines;
}

std::string prettyOf(const std::string& json, unsigned int indent = 0)
{
    AutoNode root(kel::json::parse(json));
    return withLineFeeds(kel::json::serialize(root.get(), true, indent));
}

}  // namespace

TEST(SerializeLayout, prettyObjectWithArrayMember)
{
    AutoNode root(Node::create(Node::TypeObject));
    AutoNode list(Node::create(Node::TypeArray, "a"));
    AutoNode one(Node::createInt("", 1));
    AutoNode two(Node::createInt("", 2));
    AutoNode flag(Node::createBool("b", true));
    list->addElement(one.get());
    list->addElement(two.get());
    root->addMember(flag.get());
    root->addMember(list.get());

    EXPECT_EQ("{\n"
              "\t\"a\":\n"
              "\t[\n"
              "\t\t1,\n"
              "\t\t2\n"
              "\t],\n"
              "\t\"b\":true\n"
              "}",
              withLineFeeds(kel::json::serialize(root.get(), true)));
    EXPECT_EQ("{\"a\":[1,2],\"b\":true}", kel::json::serialize(root.get()));
}

TEST(SerializeLayout, nestedContainersStartOnTheirOwnLine)
{
    EXPECT_EQ("[\n"
              "\t\n"
              "\t[\n"
              "\t\t\n"
              "\t\t{\n"
              "\t\t\t\"k\":null\n"
              "\t\t}\n"
              "\t],\n"
              "\t\"s\"\n"
              "]",
              prettyOf("[[{\"k\":null}],\"s\"]"));
    EXPECT_EQ("[\n\n]", prettyOf("[]"));
    EXPECT_EQ("{}", kel::json::serialize(AutoNode(kel::json::parse("{ }")).get()));
    EXPECT_EQ("{\n"
              "\t\"e\":\n"
              "\t[\n"
              "\n"
              "\t]\n"
              "}",
              prettyOf("{\"e\":[]}"));
}

TEST(SerializeLayout, startingIndentShiftsEveryLine)
{
    EXPECT_EQ("\n\t\t{\n\t\t\t\"a\":1\n\t\t}", prettyOf("{\"a\":1}", 2));
    EXPECT_EQ("\n\t[\n\t\t7\n\t]", prettyOf("[7]", 1));
}

TEST(SerializeLayout, membersInKeyOrderAndNothingForNull)
{
    AutoNode root(Node::create(Node::TypeObject));
    for (const char* key : {"b", "B", "a", "", "aa"}) {
        AutoNode value(Node::createStr(key, key));
        root->addMember(value.get());
    }
    EXPECT_EQ("{\"\":\"\",\"B\":\"B\",\"a\":\"a\",\"aa\":\"aa\",\"b\":\"b\"}",
              kel::json::serialize(root.get()));
    EXPECT_EQ("", kel::json::serialize(nullptr));
    EXPECT_EQ("", kel::json::serialize(nullptr, true, 3));
}

TEST(SerializeNumbers, fifteenDecimalsWithTrailingZerosTrimmed)
{
    EXPECT_EQ("1.5", numberText(1.5));
    EXPECT_EQ("2.5", numberText(2.50));
    EXPECT_EQ("100", numberText(100));
    EXPECT_EQ("0.1", numberText(0.1));
    EXPECT_EQ("-0.25", numberText(-0.25));
    EXPECT_EQ("100000000000000000000", numberText(1e20));
    EXPECT_EQ("0", numberText(0.0));
    EXPECT_EQ("-0", numberText(-0.0));
    EXPECT_EQ("0", numberText(4e-16));
    EXPECT_EQ("-0", numberText(-4e-16));
    EXPECT_EQ("0.000000000000001", numberText(1e-15));
    EXPECT_EQ(309u, numberText(DBL_MAX).size());
    EXPECT_EQ("17976931348623157", numberText(DBL_MAX).substr(0, 17));

    AutoNode integer(Node::createInt("", 3));
    EXPECT_EQ("3", kel::json::serialize(integer.get()));
    // Integers print through a double.
    AutoNode wide(Node::createInt("", 9007199254740993));
    EXPECT_EQ("9007199254740992", kel::json::serialize(wide.get()));
}

TEST(SerializeStrings, onlyQuotesAreEscaped)
{
    AutoNode text(Node::createStr("", "say \"hi\" \\n \t\x01\xC3\xA9"));
    EXPECT_EQ("\"say \\\"hi\\\" \\n \t\x01\xC3\xA9\"", kel::json::serialize(text.get()));

    AutoNode object(Node::create(Node::TypeObject));
    AutoNode quotedKey(Node::createBool("k\"", false));
    object->addMember(quotedKey.get());
    EXPECT_EQ("{\"k\\\"\":false}", kel::json::serialize(object.get()));
}

TEST(SerializeRoundTrip, parsedTextComesBackUnchanged)
{
    const std::string compact =
        "[{\"data\":{\"list\":[1,-2.5,\"x\\\"y\",true,false,null,[],{}]},\"id\":10000,"
        "\"type\":\"PNGI\"}]";
    AutoNode root(kel::json::parse(compact));
    ASSERT_TRUE(root);
    EXPECT_EQ(compact, kel::json::serialize(root.get()));
    AutoNode again(kel::json::parse(kel::json::serialize(root.get(), true)));
    ASSERT_TRUE(again);
    EXPECT_EQ(compact, kel::json::serialize(again.get()));
}
