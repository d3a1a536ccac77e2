#include "keljsonEvents.h"

namespace kel::json {

TreeBuilder::~TreeBuilder()
{
    for (Node* open : __open)
        open->release();
    if (__root != nullptr)
        __root->release();
}

Node* TreeBuilder::takeRoot()
{
    Node* root = __root;
    __root = nullptr;
    return root;
}

bool TreeBuilder::keepRootElement(Node*)
{
    return true;
}

// Hands the builder's reference on a complete node to the open container; with none open
// the node is the document's first value, the root, or a later one, which is dropped.
void TreeBuilder::__place(Node* node)
{
    if (__open.empty()) {
        if (__rootDone) {
            node->release();
            return;
        }
        __rootDone = true;
        __root = node;
        return;
    }
    Node* container = __open.back();
    if (container->nodeType() == Node::TypeObject) {
        container->addMember(node);  // a duplicate key is refused, and the node lost
    } else {
        const bool inRootArray = __open.size() == 1 && !__rootDone;
        if (!inRootArray || keepRootElement(node))
            container->addElement(node);
    }
    node->release();
}

void TreeBuilder::beginContainer(Node::Type type, const std::string& name)
{
    __open.push_back(Node::create(type, name));
}

void TreeBuilder::endContainer()
{
    Node* closed = __open.back();
    __open.pop_back();
    __place(closed);
}

void TreeBuilder::nullValue(const std::string& name)
{
    __place(Node::create(Node::TypeNull, name));
}

void TreeBuilder::boolValue(const std::string& name, bool value)
{
    __place(Node::createBool(name, value));
}

void TreeBuilder::intValue(const std::string& name, std::int64_t value)
{
    __place(Node::createInt(name, value));
}

// Inside a container a number is cleaned of NaN and infinities; the lone number of a scalar
// document is kept as read.
void TreeBuilder::floatValue(const std::string& name, double value)
{
    if (__open.empty()) {
        __place(Node::createFloat(name, value));
        return;
    }
    Node* node = Node::create(Node::TypeNumber, name);
    node->setDoubleValue(value);
    __place(node);
}

void TreeBuilder::stringValue(const std::string& name, std::string&& value)
{
    Node* node = Node::create(Node::TypeString, name);
    node->setStringValue(std::move(value));
    __place(node);
}

}  // namespace kel::json
