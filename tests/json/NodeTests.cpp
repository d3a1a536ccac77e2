// The node tree: value accessors and their cleaning, container rules, search, and who
// owns what (checked by counting live nodes of a tracking subclass).
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "keljsonNode.h"
#include "keljsonParse.h"

using kel::json::Node;
using kel::utils::AutoNode;

namespace {

// A node that counts how many of its kind are alive, to see exactly when release destroys.
class TrackedNode : public Node
{
public:
    explicit TrackedNode(Type type, const std::string& name = "")
        : Node(type, name)
    {
        ++live;
    }
    ~TrackedNode() override { --live; }
    static int live;
};

int TrackedNode::live = 0;

class NodeOwnership : public ::testing::Test
{
protected:
    void SetUp() override { TrackedNode::live = 0; }
    void TearDown() override { EXPECT_EQ(0, TrackedNode::live) << "a node leaked"; }
};

}  // namespace

TEST(NodeValues, accessorsConvertBetweenForms)
{
    AutoNode up(Node::createFloat("", 2.5));
    AutoNode down(Node::createFloat("", -2.5));
    AutoNode seven(Node::createInt("", 7));
    AutoNode yes(Node::createBool("", true));
    AutoNode list(Node::create(Node::TypeArray));
    AutoNode text(Node::createStr("", "12"));

    EXPECT_EQ(3, up->intValue());
    EXPECT_EQ(-3, down->intValue());
    EXPECT_EQ(7.0, seven->doubleValue());
    EXPECT_EQ("7", seven->stringValue());
    EXPECT_EQ("true", yes->stringValue());
    EXPECT_EQ(1, yes->intValue());
    EXPECT_EQ(1.0, yes->doubleValue());
    EXPECT_EQ("", list->stringValue());
    EXPECT_FALSE(seven->boolValue());
    EXPECT_EQ(0, text->intValue());
    EXPECT_EQ(0.0, text->doubleValue());
}

TEST(NodeValues, aStringIsViewedInPlaceAndOtherTypesViewNothing)
{
    AutoNode text(Node::createStr("", std::string("a\0b", 3)));
    AutoNode seven(Node::createInt("", 7));
    AutoNode yes(Node::createBool("", true));
    EXPECT_EQ(std::string_view("a\0b", 3), text->stringView());
    EXPECT_EQ(text->stringValue().size(), text->stringView().size());
    EXPECT_TRUE(seven->stringView().empty());
    EXPECT_TRUE(yes->stringView().empty());
}

TEST(NodeValues, aNumberTakesTheFormOfTheLastSetterAndOtherTypesRefuseIt)
{
    AutoNode text(Node::createStr("", "keep"));
    EXPECT_FALSE(text->setIntValue(1));
    EXPECT_FALSE(text->setDoubleValue(1.5));
    EXPECT_EQ("keep", text->stringValue());

    AutoNode number(Node::createInt("", 5));
    EXPECT_FALSE(number->setBoolValue(true));
    EXPECT_FALSE(number->boolValue());
    EXPECT_TRUE(number->setDoubleValue(1.25));
    EXPECT_EQ(1.25, number->doubleValue());
    EXPECT_EQ(1, number->intValue());
    EXPECT_TRUE(number->setIntValue(9007199254740993));
    EXPECT_EQ(9007199254740993, number->intValue());
    EXPECT_EQ("9007199254740993", number->stringValue());
}

TEST(NodeValues, takeStringValueEmptiesAStringAndLeavesOtherTypesAlone)
{
    const std::string longText(1000, 'x');
    AutoNode text(Node::createStr("t", longText));
    EXPECT_EQ(longText, text->takeStringValue());
    EXPECT_EQ(Node::TypeString, text->nodeType());
    EXPECT_EQ("", text->stringValue());
    EXPECT_EQ("", text->takeStringValue());

    AutoNode number(Node::createInt("n", 5));
    EXPECT_EQ("", number->takeStringValue());
    EXPECT_EQ("5", number->stringValue());
}

TEST(NodeValues, setDoubleValueCleansButCreateFloatKeeps)
{
    AutoNode number(Node::createInt("", 5));
    EXPECT_TRUE(number->setDoubleValue(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ(0.0, number->doubleValue());
    EXPECT_EQ(0, number->intValue());
    number->setDoubleValue(HUGE_VAL);
    EXPECT_EQ(DBL_MAX, number->doubleValue());
    number->setDoubleValue(-HUGE_VAL);
    EXPECT_EQ(-DBL_MAX, number->doubleValue());

    AutoNode raw(Node::createFloat("", HUGE_VAL));
    EXPECT_EQ(HUGE_VAL, raw->doubleValue());
}

TEST(NodeContainers, accessByKindOnly)
{
    AutoNode array(Node::create(Node::TypeArray));
    AutoNode object(Node::create(Node::TypeObject));
    AutoNode one(Node::createInt("one", 1));

    EXPECT_TRUE(array->addElement(one.get()));
    EXPECT_TRUE(object->addMember(one.get()));
    EXPECT_EQ(0u, array->membersCount());
    EXPECT_EQ(nullptr, object->elements());
    EXPECT_EQ(nullptr, object->element(0));
    EXPECT_FALSE(object->addElement(one.get()));
    EXPECT_FALSE(array->addMember(nullptr));
    EXPECT_THROW(array->element(1), std::out_of_range);
}

TEST(NodeContainers, duplicateKeysAndRenamedMembers)
{
    AutoNode object(Node::create(Node::TypeObject));
    AutoNode first(Node::createInt("a", 1));
    AutoNode second(Node::createInt("a", 2));
    EXPECT_TRUE(object->addMember(first.get()));
    EXPECT_FALSE(object->addMember(second.get()));
    EXPECT_EQ(1u, object->membersCount());
    AutoNode kept(object->member("a"));
    EXPECT_EQ(1, kept->intValue());

    // The key stays what the name was at insertion.
    first->setName("b");
    AutoNode byOldKey(object->member("a"));
    EXPECT_EQ(first.get(), byOldKey.get());
    EXPECT_EQ(nullptr, object->member("b"));
    EXPECT_FALSE(object->removeMember(first.get()));
    EXPECT_FALSE(object->removeMember(second.get()));
    first->setName("a");
    EXPECT_TRUE(object->removeMember(first.get()));
    EXPECT_EQ(0u, object->membersCount());
    EXPECT_EQ(nullptr, first->parent());
}

TEST(NodeContainers, noCycles)
{
    AutoNode outer(Node::create(Node::TypeObject, "outer"));
    AutoNode middle(Node::create(Node::TypeArray, "middle"));
    AutoNode inner(Node::create(Node::TypeObject, "inner"));
    EXPECT_FALSE(outer->addMember(outer.get()));
    EXPECT_TRUE(outer->addMember(middle.get()));
    EXPECT_TRUE(middle->addElement(inner.get()));
    EXPECT_FALSE(inner->addMember(outer.get()));
    EXPECT_FALSE(inner->addMember(middle.get()));
    EXPECT_FALSE(middle->addElement(middle.get()));

    AutoNode parent(inner->parent());
    EXPECT_EQ(middle.get(), parent.get());
}

TEST(NodeContainers, noCyclesThroughANodeSharedByTwoContainers)
{
    AutoNode first(Node::create(Node::TypeArray));
    AutoNode second(Node::create(Node::TypeArray));
    AutoNode shared(Node::create(Node::TypeObject));
    AutoNode top(Node::create(Node::TypeArray));
    EXPECT_TRUE(top->addElement(first.get()));
    EXPECT_TRUE(first->addElement(shared.get()));
    EXPECT_TRUE(second->addElement(shared.get()));  // its parent is now second

    AutoNode renamedTop(Node::create(Node::TypeArray, "top"));
    EXPECT_FALSE(shared->addMember(first.get()));
    EXPECT_FALSE(shared->addMember(top.get()));
    EXPECT_TRUE(second->removeElement(0));  // no parent recorded, still inside first
    EXPECT_FALSE(shared->addMember(top.get()));
    EXPECT_TRUE(shared->addMember(second.get()));
    EXPECT_TRUE(shared->addMember(renamedTop.get()));
    EXPECT_EQ("[[{\"\":[],\"top\":[]}]]", kel::json::serialize(top.get()));
}

TEST(NodeContainers, removeElementShiftsTheRest)
{
    AutoNode array(Node::create(Node::TypeArray));
    for (int i = 0; i < 3; ++i) {
        AutoNode value(Node::createInt("", i));
        array->addElement(value.get());
    }
    EXPECT_FALSE(array->removeElement(3));
    EXPECT_TRUE(array->removeElement(1));
    ASSERT_EQ(2u, array->elementsCount());
    AutoNode last(array->element(1));
    EXPECT_EQ(2, last->intValue());
    EXPECT_TRUE(array->removeElement(0));
    EXPECT_TRUE(array->removeElement(0));
    EXPECT_FALSE(array->removeElement(0));
}

TEST(NodeFind, preOrderByElementAndKeyOrder)
{
    AutoNode root(Node::create(Node::TypeObject, "x"));
    AutoNode z(Node::create(Node::TypeArray, "z"));
    AutoNode deepX(Node::createInt("x", 1));
    AutoNode b(Node::create(Node::TypeObject, "b"));
    AutoNode bx(Node::createInt("x", 2));
    AutoNode by(Node::createInt("y", 3));
    AutoNode zy(Node::createInt("y", 4));
    z->addElement(zy.get());
    z->addElement(deepX.get());
    b->addMember(bx.get());
    b->addMember(by.get());
    root->addMember(z.get());
    root->addMember(b.get());

    AutoNode self(root->find("x"));
    EXPECT_EQ(root.get(), self.get());
    AutoNode y(root->find("y"));
    EXPECT_EQ(by.get(), y.get());
    AutoNode inArray(z->find("x"));
    EXPECT_EQ(deepX.get(), inArray.get());
    EXPECT_EQ(nullptr, root->find("b/x"));
    EXPECT_EQ(nullptr, root->find("X"));
}

TEST_F(NodeOwnership, aContainerHoldsOneReferencePerChild)
{
    Node* array = new TrackedNode(Node::TypeArray);
    Node* child = new TrackedNode(Node::TypeNull);
    EXPECT_TRUE(array->addElement(child));
    child->release();
    EXPECT_EQ(2, TrackedNode::live);
    array->release();
    EXPECT_EQ(0, TrackedNode::live);
}

TEST_F(NodeOwnership, childrenWithOtherOwnersSurviveTheirContainer)
{
    Node* object = new TrackedNode(Node::TypeObject);
    Node* array = new TrackedNode(Node::TypeArray, "list");
    Node* shared = new TrackedNode(Node::TypeNull);
    object->addMember(array);
    array->addElement(shared);
    array->release();
    EXPECT_EQ(3, TrackedNode::live);

    object->release();
    EXPECT_EQ(1, TrackedNode::live);
    EXPECT_EQ(nullptr, shared->parent());
    AutoNode again(Node::create(Node::TypeArray));
    EXPECT_TRUE(again->addElement(shared));
    shared->release();
    EXPECT_EQ(1, TrackedNode::live);
    again.reset();
    EXPECT_EQ(0, TrackedNode::live);
}

TEST_F(NodeOwnership, removingReleasesTheContainersReference)
{
    Node* array = new TrackedNode(Node::TypeArray);
    Node* element = new TrackedNode(Node::TypeNull);
    array->addElement(element);
    Node* object = new TrackedNode(Node::TypeObject);
    Node* member = new TrackedNode(Node::TypeBool, "m");
    object->addMember(member);
    member->release();

    EXPECT_TRUE(object->removeMember(member));
    EXPECT_EQ(3, TrackedNode::live);
    EXPECT_TRUE(array->removeElement(0));
    EXPECT_EQ(3, TrackedNode::live);
    EXPECT_EQ(nullptr, element->parent());
    element->release();
    EXPECT_EQ(2, TrackedNode::live);
    array->release();
    object->release();
}

TEST_F(NodeOwnership, autoRCAdoptsOnConstructionAndSharesOnAssignment)
{
    Node* raw = new TrackedNode(Node::TypeNull);
    {
        kel::utils::AutoRC<Node> adopted(raw);
        EXPECT_EQ(1, TrackedNode::live);
    }
    EXPECT_EQ(0, TrackedNode::live);

    Node* shared = new TrackedNode(Node::TypeNull);
    {
        kel::utils::AutoRC<Node> holder;
        holder = shared;
        holder = shared;  // the same pointer again changes nothing
        kel::utils::AutoRC<Node> copy(holder);
        kel::utils::AutoRC<Node> other(new TrackedNode(Node::TypeNull));
        other = copy;  // releases the node it held
        EXPECT_EQ(1, TrackedNode::live);
        shared->release();
        EXPECT_EQ(1, TrackedNode::live);
        holder = nullptr;
        copy.reset();
        EXPECT_EQ(1, TrackedNode::live);
        EXPECT_EQ(shared, other.get());
    }
    EXPECT_EQ(0, TrackedNode::live);
}
