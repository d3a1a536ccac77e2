// What the lenient parser accepts and builds, checked through the compact serialization of
// the result (or its rejection).
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <string>

#include "keljsonParse.h"

using kel::json::Node;
using kel::utils::AutoNode;

namespace {

// The compact text of the parsed tree, or "<rejected>".
std::string reparsed(const std::string& text)
{
    AutoNode root(kel::json::parse(text));
    return root ? kel::json::serialize(root.get()) : "<rejected>";
}

}  // namespace

TEST(ParseDocuments, ordinaryContainersKeepOrderAndNames)
{
    AutoNode root(kel::json::parse("[1,2,3]"));
    ASSERT_TRUE(root);
    ASSERT_EQ(3u, root->elementsCount());
    for (unsigned int i = 0; i < 3; ++i) {
        AutoNode element(root->element(i));
        EXPECT_EQ(i + 1, element->intValue());
        EXPECT_EQ("", element->name());
    }

    AutoNode object(kel::json::parse("{\"b\": 1, \"a\": [true, null]}"));
    ASSERT_TRUE(object);
    EXPECT_EQ("{\"a\":[true,null],\"b\":1}", kel::json::serialize(object.get()));
    AutoNode a(object->member("a"));
    EXPECT_EQ("a", a->name());
    EXPECT_EQ(Node::TypeArray, a->nodeType());
    AutoNode inner(a->element(0));
    EXPECT_EQ("", inner->name());
}

TEST(ParseDocuments, nestedObjectMembersAreNamedByTheirOwnKeys)
{
    AutoNode root(kel::json::parse(
        "[{\"type\":\"PNGI\",\"file\":\"a.png\",\"id\":10000},{\"type\":\"PiPL\","
        "\"data\":{\"name\":\"x\",\"kind\":{\"code\":\"SPEA\"},\"list\":[1,{\"v\":2}]}}]"));
    ASSERT_TRUE(root);
    AutoNode second(root->element(1));
    AutoNode data(second->member("data"));
    ASSERT_TRUE(data);
    EXPECT_EQ("data", data->name());
    EXPECT_EQ("{\"kind\":{\"code\":\"SPEA\"},\"list\":[1,{\"v\":2}],\"name\":\"x\"}",
              kel::json::serialize(data.get()));
    AutoNode code(data->find("code"));
    ASSERT_TRUE(code);
    EXPECT_EQ("SPEA", code->stringValue());
    AutoNode v(data->find("v"));
    ASSERT_TRUE(v);
    EXPECT_EQ(2, v->intValue());
}

TEST(ParseDocuments, duplicateKeysKeepTheFirstValue)
{
    EXPECT_EQ("{\"a\":1}", reparsed("{\"a\":1,\"a\":2}"));
    EXPECT_EQ("{\"a\":1,\"b\":3}", reparsed("{\"a\":1,\"a\":[4,{\"c\":5}],\"b\":3}"));
}

TEST(ParseStrings, onlyBackslashQuoteIsAnEscape)
{
    AutoNode root(kel::json::parse("[\"say \\\"hi\\\"\", \"a\\nb\", \"c\\\\d\", \"\\u0041\"]"));
    ASSERT_TRUE(root);
    AutoNode first(root->element(0));
    AutoNode second(root->element(1));
    AutoNode third(root->element(2));
    AutoNode fourth(root->element(3));
    EXPECT_EQ("say \"hi\"", first->stringValue());
    EXPECT_EQ("a\\nb", second->stringValue());
    EXPECT_EQ("c\\\\d", third->stringValue());
    EXPECT_EQ("\\u0041", fourth->stringValue());
}

TEST(ParseStrings, twoBackslashesBeforeAQuoteDoNotCloseTheString)
{
    EXPECT_EQ("<rejected>", reparsed("[\"a\\\\\"]"));
    EXPECT_EQ("<rejected>", reparsed("{\"k\":\"a\\\\\"}"));
}

TEST(ParseStrings, keysAndValuesMayHoldAnyBytes)
{
    AutoNode root(kel::json::parse(std::string("{\"k\\\"ey\":\"\xC3\xA9\t\x01\"}")));
    ASSERT_TRUE(root);
    AutoNode member(root->member("k\"ey"));
    ASSERT_TRUE(member);
    EXPECT_EQ(std::string("\xC3\xA9\t\x01"), member->stringValue());
}

TEST(ParseNumbers, tokensAreDigitsAndPointsOnly)
{
    EXPECT_EQ("<rejected>", reparsed("[1e5]"));
    EXPECT_EQ("<rejected>", reparsed("{\"a\":1e5}"));
    EXPECT_EQ("[5]", reparsed("[+5]"));
    EXPECT_EQ("[1.2]", reparsed("[1.2.3]"));
    EXPECT_EQ("[0,0,-0.5]", reparsed("[-,.,-.5]"));

    // A point makes the number floating: its integer value is rounded half away from zero.
    AutoNode root(kel::json::parse("[2.5, -2.5, 25]"));
    AutoNode up(root->element(0));
    AutoNode down(root->element(1));
    AutoNode integer(root->element(2));
    EXPECT_EQ(3, up->intValue());
    EXPECT_EQ(-3, down->intValue());
    EXPECT_EQ(2.5, up->doubleValue());
    EXPECT_EQ("25", integer->stringValue());
}

TEST(ParseNumbers, integersBeyondSixtyFourBitsSaturate)
{
    AutoNode root(kel::json::parse("[99999999999999999999999, -99999999999999999999999, "
                                   "9223372036854775807, -9223372036854775808]"));
    ASSERT_TRUE(root);
    AutoNode big(root->element(0));
    AutoNode small(root->element(1));
    AutoNode max(root->element(2));
    AutoNode min(root->element(3));
    EXPECT_EQ(INT64_MAX, big->intValue());
    EXPECT_EQ(INT64_MIN, small->intValue());
    EXPECT_EQ(INT64_MAX, max->intValue());
    EXPECT_EQ(INT64_MIN, min->intValue());

    AutoNode scalar(kel::json::parse("123456789012345678901234567890"));
    ASSERT_TRUE(scalar);
    EXPECT_EQ(INT64_MAX, scalar->intValue());
}

TEST(ParseNumbers, infiniteFloatsAreCleanedOnlyInsideContainers)
{
    std::string huge = "1" + std::string(400, '0') + ".0";
    AutoNode array(kel::json::parse("[" + huge + ", -" + huge + "]"));
    ASSERT_TRUE(array);
    AutoNode positive(array->element(0));
    AutoNode negative(array->element(1));
    EXPECT_EQ(DBL_MAX, positive->doubleValue());
    EXPECT_EQ(-DBL_MAX, negative->doubleValue());

    AutoNode scalar(kel::json::parse(huge));
    ASSERT_TRUE(scalar);
    EXPECT_EQ(HUGE_VAL, scalar->doubleValue());
}

TEST(ParseSeparators, valuesNeedSeparatorsUnlessTheyCloseThemselves)
{
    EXPECT_EQ("[1,2]", reparsed("[1,,2]"));
    EXPECT_EQ("<rejected>", reparsed("[1 2]"));
    EXPECT_EQ("<rejected>", reparsed("[true false]"));
    EXPECT_EQ("[[1],2]", reparsed("[[1] 2]"));
    EXPECT_EQ("[\"a\",\"b\"]", reparsed("[\"a\" \"b\"]"));
    EXPECT_EQ("{\"\":1}", reparsed("{1}"));
    // A key with no colon after it adds nothing.
    EXPECT_EQ("{}", reparsed("{\"a\" \"b\"}"));
    EXPECT_EQ("<rejected>", reparsed("[1:2]"));
    EXPECT_EQ("<rejected>", reparsed("{\"a\"::1}"));
}

TEST(ParseSeparators, unknownCharactersAreSkipped)
{
    EXPECT_EQ("[1,true]", reparsed("[~1 ,x  trueX\x7f\x01]"));
    EXPECT_EQ("{\"a\":1}", reparsed("{ \"a\" \t\r\n: 1 }"));
}

TEST(ParseKeywords, anyCaseInsideContainersAndAsScalars)
{
    EXPECT_EQ("[true,false,null,true]", reparsed("[TRUE,fAlSe,NULL,True]"));
    EXPECT_EQ("<rejected>", reparsed("[tru]"));
    EXPECT_EQ("<rejected>", reparsed("[nul"));
    EXPECT_EQ("true", reparsed(" TrUe "));
    EXPECT_EQ("null", reparsed("Null"));
    EXPECT_EQ("<rejected>", reparsed("fals"));
    EXPECT_EQ("<rejected>", reparsed("truex"));
}

TEST(ParseContainers, emptyAndUnclosed)
{
    EXPECT_EQ("[]", reparsed("[]"));
    EXPECT_EQ("[]", reparsed("[ ]"));
    EXPECT_EQ("{}", reparsed("{}"));
    EXPECT_EQ("{}", reparsed("{ \n }"));
    EXPECT_EQ("<rejected>", reparsed("["));
    EXPECT_EQ("<rejected>", reparsed("[\"abc]"));
    EXPECT_EQ("<rejected>", reparsed("[{]"));
    EXPECT_EQ("<rejected>", reparsed("{]"));
    EXPECT_EQ("<rejected>", reparsed("[}"));
}

TEST(ParseTrailingText, afterTheRootContainer)
{
    EXPECT_EQ("[1]", reparsed("[1] [2]"));
    EXPECT_EQ("[1]", reparsed("[1] ,"));
    EXPECT_EQ("[1]", reparsed("[1] {\"a\":[3]} ~xyz"));
    EXPECT_EQ("<rejected>", reparsed("[1] ]"));
    EXPECT_EQ("<rejected>", reparsed("[1] }"));
    EXPECT_EQ("<rejected>", reparsed("[1] :"));
    EXPECT_EQ("<rejected>", reparsed("[1] nope"));
    EXPECT_EQ("<rejected>", reparsed("[1] [2"));
    // A value with no container open to take it.
    EXPECT_EQ("<rejected>", reparsed("[1] 2"));
    EXPECT_EQ("<rejected>", reparsed("[1] \"x\""));
    EXPECT_EQ("<rejected>", reparsed("{} null"));
}

TEST(ParseScalarDocuments, stringKeywordAndNumber)
{
    EXPECT_EQ("<rejected>", reparsed(""));
    EXPECT_EQ("<rejected>", reparsed(" \t\r\n"));
    EXPECT_EQ("<rejected>", reparsed("+5"));
    EXPECT_EQ("<rejected>", reparsed("x"));
    EXPECT_EQ("12", reparsed("12 "));
    EXPECT_EQ("12", reparsed("12\v\f"));
    EXPECT_EQ("<rejected>", reparsed("12 x"));
    EXPECT_EQ("<rejected>", reparsed("1e5"));
    EXPECT_EQ("0", reparsed("-"));
    EXPECT_EQ("-0.5", reparsed("-.5"));
    EXPECT_EQ("\"abc\"", reparsed("\"abc\" \n"));
    EXPECT_EQ("<rejected>", reparsed("\"abc\" x"));

    AutoNode unclosed(kel::json::parse("\"rest of \\\"text\n"));
    ASSERT_TRUE(unclosed);
    EXPECT_EQ("rest of \"text\n", unclosed->stringValue());

    AutoNode lonePoint(kel::json::parse("."));
    ASSERT_TRUE(lonePoint);
    EXPECT_EQ(Node::TypeNumber, lonePoint->nodeType());
    EXPECT_EQ(0.0, lonePoint->doubleValue());
    EXPECT_EQ("0", lonePoint->stringValue());
}
