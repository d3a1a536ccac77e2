// The serializer: writes into one output string while walking the tree with an explicit
// stack of open containers, so deep trees cost neither call stack nor re-copied text.
#include <cstdio>
#include <cstring>
#include <map>

#include "keljsonSerialize.h"
#include "kelutilsFiles.h"

namespace kel::json {

namespace {

// "%.15lf" with trailing zeros trimmed, and then a trailing '.'.
void __appendNumber(double value, std::string& out)
{
    char buffer[512] = {};
    std::snprintf(buffer, 384, "%.15lf", value);
    std::size_t length = std::strlen(buffer);
    while (length > 0 && buffer[length - 1] == '0')
        --length;
    if (length > 0 && buffer[length - 1] == '.')
        --length;
    out.append(buffer, length);
}

// A double quote, the text with every '"' written as backslash-quote, a double quote.
void __appendQuoted(const std::string& text, std::string& out)
{
    out += '"';
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t quote = text.find('"', from);
        if (quote == std::string::npos) {
            out.append(text, from, std::string::npos);
            break;
        }
        out.append(text, from, quote - from);
        out += "\\\"";
        from = quote + 1;
    }
    out += '"';
}

// One open container: where its children stand and how far it has been written.
struct __OpenContainer {
    const Node* node;
    unsigned int indent;
    std::size_t nextElement;
    std::map<std::string, Node*>::const_iterator nextMember;
    bool first;
};

class __Writer
{
public:
    __Writer(bool pretty, std::string& out)
        : __pretty(pretty),
          __out(out)
    {
    }

    void write(const Node* root, unsigned int indent)
    {
        __writeValue(root, indent);
        while (!__open.empty()) {
            const Node* child = nullptr;
            unsigned int childIndent = __open.back().indent + 1;
            if (__nextChild(__open.back(), child))
                __writeValue(child, childIndent);
            else
                __close();
        }
    }

private:
    void __lineEnd()
    {
        if (__pretty)
            __out += kel::utils::platformLineEnding;
    }

    void __tabs(unsigned int count)
    {
        if (__pretty)
            __out.append(count, '\t');
    }

    // Writes the separator and the lead of the next child of top (tabs, and the key for an
    // object member); false when top has no child left.
    bool __nextChild(__OpenContainer& top, const Node*& child)
    {
        bool isArray = top.node->nodeType() == Node::TypeArray;
        if (isArray ? top.nextElement >= top.node->elements()->size()
                    : top.nextMember == top.node->members()->end())
            return false;
        if (!top.first) {
            __out += ',';
            __lineEnd();
        }
        top.first = false;
        __tabs(top.indent + 1);
        if (isArray) {
            child = (*top.node->elements())[top.nextElement++];
        } else {
            child = top.nextMember->second;
            ++top.nextMember;
            __appendQuoted(child != nullptr ? child->name() : std::string(), __out);
            __out += ':';
        }
        return true;
    }

    void __writeValue(const Node* node, unsigned int indent)
    {
        if (node == nullptr)
            return;
        switch (node->nodeType()) {
        case Node::TypeNull:
            __out += "null";
            break;
        case Node::TypeBool:
            __out += node->boolValue() ? "true" : "false";
            break;
        case Node::TypeNumber:
            __appendNumber(node->doubleValue(), __out);
            break;
        case Node::TypeString:
            __appendQuoted(node->stringValue(), __out);
            break;
        case Node::TypeArray:
        case Node::TypeObject:
            __openContainer(node, indent);
            break;
        default:
            break;
        }
    }

    void __openContainer(const Node* node, unsigned int indent)
    {
        bool isArray = node->nodeType() == Node::TypeArray;
        if (indent > 0) {
            __lineEnd();
            __tabs(indent);
        }
        __out += isArray ? '[' : '{';
        __lineEnd();
        __OpenContainer open{node, indent, 0, {}, true};
        if (!isArray)
            open.nextMember = node->members()->begin();
        __open.push_back(open);
    }

    void __close()
    {
        const __OpenContainer& top = __open.back();
        __lineEnd();
        __tabs(top.indent);
        __out += top.node->nodeType() == Node::TypeArray ? ']' : '}';
        __open.pop_back();
    }

    bool __pretty;
    std::string& __out;
    std::vector<__OpenContainer> __open;
};

}  // namespace

std::string serialize(const Node* node, bool pretty, unsigned int indent)
{
    std::string out;
    __Writer(pretty, out).write(node, indent);
    return out;
}

}  // namespace kel::json
