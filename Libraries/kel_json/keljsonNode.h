// The JSON document tree: reference-counted nodes that carry their own name.
//
// Ownership: every function that returns a Node* hands over one reference, which the
// receiver releases (normally by putting it into a kel::utils::AutoRC). A container holds
// one reference per child. elements() and members() give read access without a reference.
// Releasing, searching and serializing never recurse, so trees may nest arbitrarily deep.
#ifndef KEL_JSON_NODE_H
#define KEL_JSON_NODE_H

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "kelutilsAutoRC.h"

namespace kel::json {

class Node
{
public:
    enum Type : std::int32_t {
        TypeNull = 1,
        TypeBool = 2,
        TypeNumber = 4,
        TypeString = 8,
        TypeArray = 16,
        TypeObject = 32
    };

    Node(Type type, const std::string& name);
    virtual ~Node();

    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    /// Creators: a new node with one reference, owned by the caller.
    static Node* create(Type type, const std::string& name = "");
    static Node* createBool(const std::string& name, bool value);
    static Node* createInt(const std::string& name, std::int64_t value);
    static Node* createFloat(const std::string& name, double value);
    static Node* createStr(const std::string& name, const std::string& value);

    void acquire();
    /// Null stays null; otherwise one more reference on node, which is returned.
    static Node* acquire(Node* node);
    /// Drops one reference; destroys the node (and releases its children) at the last one.
    /// A child that outlives its container has its parent cleared when it named that one.
    void release();

    std::string name() const;
    /// Changes only the node's own name, not the key under which an object holds it.
    void setName(const std::string& name);
    Type nodeType() const;
    /// The container that last took this node in, acquired; or null.
    Node* parent() const;

    bool boolValue() const;
    std::int64_t intValue() const;
    double doubleValue() const;
    std::string stringValue() const;
    /// The payload of a TypeString, read in place; empty for the other types.
    std::string_view stringView() const;

    /// Setters change the payload only when the node has the matching type.
    bool setBoolValue(bool value);
    bool setIntValue(std::int64_t value);
    /// NaN is stored as 0, infinities as +-DBL_MAX.
    bool setDoubleValue(double value);
    bool setStringValue(const std::string& value);
    /// As above, taking the text over without a copy (used for long parsed strings).
    bool setStringValue(std::string&& value);
    /// The payload of a TypeString, handed over without a copy and left empty; "" for the
    /// other types, which are not changed. For readers that are done with the tree.
    std::string takeStringValue();

    const std::vector<Node*>* elements() const;
    unsigned int elementsCount() const;
    /// The element acquired; null when not an array. Throws std::out_of_range past the end.
    Node* element(unsigned int index) const;
    /// Refuses null, this node, a non-array and any ancestor of this node.
    bool addElement(Node* child);
    bool removeElement(unsigned int index);

    const std::map<std::string, Node*>* members() const;
    unsigned int membersCount() const;
    /// The member acquired; null when not an object or absent.
    Node* member(const std::string& key) const;
    /// Also refuses a child whose name is already a key: the first member stays.
    bool addMember(Node* child);
    /// Removes the member stored under child's name only when it is child itself.
    bool removeMember(Node* child);

    /// Depth-first pre-order search (this node first) for a node of that name, acquired.
    Node* find(const std::string& name) const;

private:
    bool __isAncestor(const Node* candidate) const;
    bool __subtreeHolds(const Node* target) const;

    std::int32_t refCount;
    // How many container entries hold this node. parentNode records only the last container,
    // so the cycle check trusts the parentNode chain only where this count is at most one.
    // Kept beside refCount, where it fills what would be padding.
    std::int32_t containerCount;
    std::string nodeName;
    Type type;
    bool boolVal;
    std::int64_t intVal;
    double floatVal;
    bool isFloat;
    std::string strVal;
    std::vector<Node*> elementList;
    std::map<std::string, Node*> memberMap;
    Node* parentNode;
};

}  // namespace kel::json

namespace kel::utils {
using AutoNode = AutoRC<kel::json::Node>;
}

#endif
