#include "keljsonNode.h"

#include <cfloat>
#include <unordered_set>

#include "kelutilsMath.h"
#include "kelutilsStrings.h"

namespace kel::json {

namespace {

// A child reference waiting to be released, with the container that held it.
struct __HeldChild {
    Node* child;
    const Node* holder;
};

// Takes every child reference out of a container's tables into the worklist, leaving the
// tables empty, so that deleting the container afterwards touches no child.
void __moveChildrenTo(const Node* holder, std::vector<Node*>& elements,
                      std::map<std::string, Node*>& members, std::vector<__HeldChild>& worklist)
{
    for (auto entry = members.rbegin(); entry != members.rend(); ++entry)
        worklist.push_back({entry->second, holder});
    for (auto element = elements.rbegin(); element != elements.rend(); ++element)
        worklist.push_back({*element, holder});
    elements.clear();
    members.clear();
}

}  // namespace

Node::Node(Type type, const std::string& name)
    : refCount(1),
      containerCount(0),
      nodeName(name),
      type(type),
      boolVal(false),
      intVal(0),
      floatVal(0.0),
      isFloat(false),
      parentNode(nullptr)
{
}

// Releases the whole subtree without recursion: a child whose last reference goes is
// emptied into the worklist before it is deleted, so every destructor after this one runs
// on a node without children. A child that keeps other owners survives; its parentNode is
// cleared when it named the dying holder, so it never points at a deleted node.
Node::~Node()
{
    std::vector<__HeldChild> worklist;
    __moveChildrenTo(this, elementList, memberMap, worklist);
    while (!worklist.empty()) {
        __HeldChild held = worklist.back();
        worklist.pop_back();
        Node* child = held.child;
        if (child == nullptr || child == this)
            continue;
        if (child->refCount >= 2) {
            --child->refCount;
            --child->containerCount;
            if (child->parentNode == held.holder)
                child->parentNode = nullptr;
            continue;
        }
        __moveChildrenTo(child, child->elementList, child->memberMap, worklist);
        delete child;
    }
    parentNode = nullptr;
}

Node* Node::create(Type type, const std::string& name)
{
    return new Node(type, name);
}

Node* Node::createBool(const std::string& name, bool value)
{
    Node* node = new Node(TypeBool, name);
    node->boolVal = value;
    return node;
}

Node* Node::createInt(const std::string& name, std::int64_t value)
{
    Node* node = new Node(TypeNumber, name);
    node->intVal = value;
    return node;
}

Node* Node::createFloat(const std::string& name, double value)
{
    Node* node = new Node(TypeNumber, name);
    node->floatVal = value;
    node->isFloat = true;
    return node;
}

Node* Node::createStr(const std::string& name, const std::string& value)
{
    Node* node = new Node(TypeString, name);
    node->strVal = value;
    return node;
}

void Node::acquire()
{
    ++refCount;
}

Node* Node::acquire(Node* node)
{
    if (node != nullptr)
        node->acquire();
    return node;
}

void Node::release()
{
    if (refCount-- < 2)
        delete this;
}

std::string Node::name() const
{
    return nodeName;
}

void Node::setName(const std::string& name)
{
    nodeName = name;
}

Node::Type Node::nodeType() const
{
    return type;
}

Node* Node::parent() const
{
    return acquire(parentNode);
}

bool Node::boolValue() const
{
    return boolVal;
}

std::int64_t Node::intValue() const
{
    if (type == TypeBool)
        return boolVal ? 1 : 0;
    if (type != TypeNumber)
        return 0;
    return isFloat ? kel::utils::round(floatVal) : intVal;
}

double Node::doubleValue() const
{
    if (type == TypeBool)
        return boolVal ? 1.0 : 0.0;
    if (type != TypeNumber)
        return 0.0;
    return isFloat ? floatVal : static_cast<double>(intVal);
}

std::string Node::stringValue() const
{
    switch (type) {
    case TypeNumber:
        return isFloat ? kel::utils::dtoa(floatVal) : kel::utils::ltoa(intVal);
    case TypeBool:
        return boolVal ? "true" : "false";
    case TypeString:
        return strVal;
    default:
        return "";
    }
}

bool Node::setBoolValue(bool value)
{
    if (type != TypeBool)
        return false;
    boolVal = value;
    return true;
}

bool Node::setIntValue(std::int64_t value)
{
    if (type != TypeNumber)
        return false;
    intVal = value;
    isFloat = false;
    return true;
}

bool Node::setDoubleValue(double value)
{
    if (type != TypeNumber)
        return false;
    double cleaned = kel::utils::checkNaN(value, 0.0);
    cleaned = kel::utils::checkInf(cleaned, DBL_MAX);
    floatVal = kel::utils::checkRange(cleaned, -DBL_MAX, DBL_MAX);
    isFloat = true;
    return true;
}

bool Node::setStringValue(const std::string& value)
{
    if (type != TypeString)
        return false;
    strVal = value;
    return true;
}

bool Node::setStringValue(std::string&& value)
{
    if (type != TypeString)
        return false;
    strVal = std::move(value);
    return true;
}

std::string_view Node::stringView() const
{
    return type == TypeString ? std::string_view(strVal) : std::string_view();
}

std::string Node::takeStringValue()
{
    if (type != TypeString)
        return std::string();
    std::string taken = std::move(strVal);
    strVal.clear();  // a moved-from string is valid but unspecified
    return taken;
}

const std::vector<Node*>* Node::elements() const
{
    return type == TypeArray ? &elementList : nullptr;
}

unsigned int Node::elementsCount() const
{
    return type == TypeArray ? static_cast<unsigned int>(elementList.size()) : 0;
}

Node* Node::element(unsigned int index) const
{
    if (type != TypeArray)
        return nullptr;
    return acquire(elementList.at(index));
}

bool Node::addElement(Node* child)
{
    if (child == nullptr || child == this || type != TypeArray || __isAncestor(child))
        return false;
    child->parentNode = this;
    child->acquire();
    ++child->containerCount;
    elementList.push_back(child);
    return true;
}

bool Node::removeElement(unsigned int index)
{
    if (type != TypeArray || index >= elementList.size())
        return false;
    Node* child = elementList[index];
    elementList.erase(elementList.begin() + index);
    if (child != nullptr) {
        child->parentNode = nullptr;
        --child->containerCount;
        child->release();
    }
    return true;
}

const std::map<std::string, Node*>* Node::members() const
{
    return type == TypeObject ? &memberMap : nullptr;
}

unsigned int Node::membersCount() const
{
    return type == TypeObject ? static_cast<unsigned int>(memberMap.size()) : 0;
}

Node* Node::member(const std::string& key) const
{
    if (type != TypeObject)
        return nullptr;
    auto found = memberMap.find(key);
    return found == memberMap.end() ? nullptr : acquire(found->second);
}

bool Node::addMember(Node* child)
{
    if (child == nullptr || child == this || type != TypeObject || __isAncestor(child))
        return false;
    if (!memberMap.emplace(child->nodeName, child).second)
        return false;
    child->parentNode = this;
    child->acquire();
    ++child->containerCount;
    return true;
}

bool Node::removeMember(Node* child)
{
    if (child == nullptr || type != TypeObject)
        return false;
    auto found = memberMap.find(child->nodeName);
    if (found == memberMap.end() || found->second != child)
        return false;
    memberMap.erase(found);
    child->parentNode = nullptr;
    --child->containerCount;
    child->release();
    return true;
}

// Pre-order with an explicit stack: children are pushed in reverse so that the first
// element (or the smallest key) is visited next.
Node* Node::find(const std::string& name) const
{
    std::vector<const Node*> pending{this};
    while (!pending.empty()) {
        const Node* node = pending.back();
        pending.pop_back();
        if (node->nodeName == name)
            return acquire(const_cast<Node*>(node));
        if (node->type == TypeArray) {
            for (auto it = node->elementList.rbegin(); it != node->elementList.rend(); ++it)
                if (*it != nullptr)
                    pending.push_back(*it);
        } else if (node->type == TypeObject) {
            for (auto it = node->memberMap.rbegin(); it != node->memberMap.rend(); ++it)
                if (it->second != nullptr)
                    pending.push_back(it->second);
        }
    }
    return nullptr;
}

// The parentNode chain is the whole story only while every node on it sits in at most one
// container and knows which. A shared node (or one whose recorded parent has let it go)
// may have ancestors the chain does not show, so then the candidate's subtree is searched
// instead: without that, a node shared by two containers could be made its own ancestor.
bool Node::__isAncestor(const Node* candidate) const
{
    for (const Node* node = this; node != nullptr; node = node->parentNode) {
        if (node != this && node == candidate)
            return true;
        bool chainIsComplete =
            node->containerCount == 0 || (node->containerCount == 1 && node->parentNode != nullptr);
        if (!chainIsComplete)
            return candidate->__subtreeHolds(this);
    }
    return false;
}

// Explicit stack and a visited set: shared subtrees are searched once.
bool Node::__subtreeHolds(const Node* target) const
{
    std::vector<const Node*> pending{this};
    std::unordered_set<const Node*> visited{this};
    while (!pending.empty()) {
        const Node* node = pending.back();
        pending.pop_back();
        if (node == target)
            return true;
        auto visit = [&](const Node* child) {
            if (child != nullptr && visited.insert(child).second)
                pending.push_back(child);
        };
        for (const Node* element : node->elementList)
            visit(element);
        for (const auto& entry : node->memberMap)
            visit(entry.second);
    }
    return false;
}

}  // namespace kel::json
