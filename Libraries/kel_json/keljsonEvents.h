// The parser's events, and the consumer of them that builds a Node tree.
//
// The parser reports each value as it reads it, already named the way the tree would name
// it, and each container as it opens and closes. A consumer that only reacts is not asked to
// hold the document: it may take the elements of the root array one by one and let each go
// as soon as it is done with it. The parse always runs to the end of the text, whatever the
// consumer does, so a consumer that meets a problem of its own holds it until parseEvents
// returns and reports it only when the text was accepted: a syntax error anywhere in the
// text then comes first.
#ifndef KEL_JSON_EVENTS_H
#define KEL_JSON_EVENTS_H

#include <cstdint>
#include <string>
#include <vector>

#include "keljsonNode.h"

namespace kel::json {

/// What the parser reports. name is the name the value's node carries in the tree ("" for
/// array elements and values without a key). Values are only reported inside an open
/// container, except the single value of a document that is not a container.
class ParseEvents
{
public:
    virtual ~ParseEvents() = default;

    /// An array (TypeArray) or an object (TypeObject) opens.
    virtual void beginContainer(Node::Type type, const std::string& name) = 0;
    /// The innermost open container is complete.
    virtual void endContainer() = 0;
    virtual void nullValue(const std::string& name) = 0;
    virtual void boolValue(const std::string& name, bool value) = 0;
    virtual void intValue(const std::string& name, std::int64_t value) = 0;
    /// As read; NaN and infinities are not cleaned here.
    virtual void floatValue(const std::string& name, double value) = 0;
    /// The unescaped content, handed over.
    virtual void stringValue(const std::string& name, std::string&& value) = 0;
};

/// Builds the tree that parse returns. The first container of the text is the root; a later
/// top-level container is built and discarded. A refused member (a duplicate key) is dropped.
class TreeBuilder : public ParseEvents
{
public:
    TreeBuilder() = default;
    TreeBuilder(const TreeBuilder&) = delete;
    TreeBuilder& operator=(const TreeBuilder&) = delete;
    ~TreeBuilder() override;

    void beginContainer(Node::Type type, const std::string& name) override;
    void endContainer() override;
    void nullValue(const std::string& name) override;
    void boolValue(const std::string& name, bool value) override;
    void intValue(const std::string& name, std::int64_t value) override;
    void floatValue(const std::string& name, double value) override;
    void stringValue(const std::string& name, std::string&& value) override;

    /// The root, handed over with its one reference; null when there is none (yet).
    Node* takeRoot();

protected:
    /// Each complete element of a root array, before the array takes it in. Return false to
    /// keep it out of the tree: the builder then drops its own reference, so a consumer that
    /// still needs the element acquires it first. The default keeps every element.
    virtual bool keepRootElement(Node* element);

private:
    void __place(Node* node);

    std::vector<Node*> __open;  // the open containers, innermost last, one reference each
    Node* __root = nullptr;
    bool __rootDone = false;  // the first top-level value is complete
};

}  // namespace kel::json

#endif
