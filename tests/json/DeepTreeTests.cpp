// Documents nested a million levels deep go through parse, find, serialize and release on
// the ordinary call stack: nothing walks the tree recursively.
#include <gtest/gtest.h>

#include <string>

#include "keljsonParse.h"

using kel::json::Node;
using kel::utils::AutoNode;

namespace {

constexpr std::size_t depth = 1000000;

std::string repeated(const std::string& piece, std::size_t count)
{
    std::string text;
    text.reserve(piece.size() * count);
    for (std::size_t i = 0; i < count; ++i)
        text += piece;
    return text;
}

void expectDeepRoundTrip(const std::string& text)
{
    AutoNode root(kel::json::parse(text));
    ASSERT_TRUE(root);
    AutoNode deepest(root->find("x"));
    ASSERT_TRUE(deepest);
    EXPECT_EQ(42, deepest->intValue());
    EXPECT_EQ(nullptr, root->find("absent"));
    EXPECT_EQ(text, kel::json::serialize(root.get()));
}

}  // namespace

TEST(DeepTrees, millionNestedArrays)
{
    expectDeepRoundTrip(repeated("[", depth) + "{\"x\":42}" + repeated("]", depth));
}

TEST(DeepTrees, millionNestedObjects)
{
    expectDeepRoundTrip(repeated("{\"a\":", depth) + "{\"x\":42}" + repeated("}", depth));
}

TEST(DeepTrees, unclosedDeepDocumentIsRejectedAndFreed)
{
    EXPECT_EQ(nullptr, kel::json::parse(repeated("[{\"k\":", depth)));
}

// Built from the inside out: each new container wraps the previous one.
TEST(DeepTrees, deepTreeBuiltByHandIsSerializedAndReleasedIteratively)
{
    Node* inner = Node::create(Node::TypeNull, "n");
    std::string reversedOpenings;
    std::string closings = "null";
    for (std::size_t i = 0; i < depth; ++i) {
        bool isArray = i % 2 == 0;
        Node* outer = Node::create(isArray ? Node::TypeArray : Node::TypeObject, "n");
        EXPECT_TRUE(isArray ? outer->addElement(inner) : outer->addMember(inner));
        inner->release();
        inner = outer;
        std::string opening = isArray ? "[" : "{\"n\":";
        reversedOpenings.append(opening.rbegin(), opening.rend());
        closings += isArray ? "]" : "}";
    }
    std::string expected(reversedOpenings.rbegin(), reversedOpenings.rend());
    EXPECT_EQ(expected + closings, kel::json::serialize(inner));
    inner->release();
}
