// Loading step: validates each element of the root array and files it in resourcesByType.
#ifndef VANTREL_RESOURCE_LOADER_H
#define VANTREL_RESOURCE_LOADER_H

#include <memory>
#include <string>

#include "common/Diagnostics.h"
#include "keljsonEvents.h"
#include "resources/EntryMembers.h"
#include "resources/Resource.h"

namespace kel::rez {

/// Loads the index-th element of the root array into its record, filed in resourcesByType.
/// Returns 0, or the status of a bad entry (79 to 87) after reporting its message. The
/// entry's texts are moved out of it, into the record when it is good.
int loadResource(kel::json::Node* element, unsigned int index, ResourcesByType& resourcesByType,
                 Diagnostics& diagnostics);

/// loadResource for an entry that is an object, given by the members it holds.
int loadEntry(EntryMembers& members, unsigned int index, ResourcesByType& resourcesByType,
              Diagnostics& diagnostics);

/// loadResource for every element, up to the first bad one.
int loadResources(kel::json::Node& rootArray, ResourcesByType& resourcesByType,
                  Diagnostics& diagnostics);

/// Loads each element of the root array as soon as the parser has completed it, so that the
/// whole document is never held as a tree. An element that is an object is read from the
/// parser's events into its members, without a node for it or for its scalar members; only
/// a container value of a member the loader reads (a PiPL description) becomes a tree. Any
/// other element and whatever is not in the root array are built as TreeBuilder builds
/// them, an element then loaded from its node and let go. After the first bad entry the
/// rest of the text is only parsed, unless diagnostics collect (then every entry is
/// checked, up to the most problems they keep). Messages go to diagnostics, where they wait
/// unprinted: a caller that must report a syntax error first clears them when the parse
/// fails.
class ResourceLoader : public kel::json::TreeBuilder
{
public:
    ResourceLoader(ResourcesByType& resourcesByType, Diagnostics& diagnostics);
    ~ResourceLoader() override;

    /// 0, or the status of the first bad entry.
    int status() const { return __status; }

    void beginContainer(kel::json::Node::Type type, const std::string& name) override;
    void endContainer() override;
    void nullValue(const std::string& name) override;
    void boolValue(const std::string& name, bool value) override;
    void intValue(const std::string& name, std::int64_t value) override;
    void floatValue(const std::string& name, double value) override;
    void stringValue(const std::string& name, std::string&& value) override;

protected:
    bool keepRootElement(kel::json::Node* element) override;

private:
    template <typename Fill, typename Forward>
    void __value(const std::string& name, Fill fill, Forward forward);
    bool __inRootArray() const { return __rootArrayOpen && __builtDepth == 1; }
    void __beginMember(const std::string& name);
    void __endMember();
    void __endEntry();
    template <typename Load>
    void __loadNext(Load load);

    ResourcesByType& __resourcesByType;
    Diagnostics& __diagnostics;
    unsigned int __index = 0;
    int __status = 0;
    // The containers open in the tree this builder makes, and whether the first of them,
    // the root, is an array that is still open.
    unsigned int __builtDepth = 0;
    bool __rootSeen = false;
    bool __rootArrayOpen = false;
    // The entry being read, and the containers open inside its current member's value.
    bool __entryOpen = false;
    EntryMembers __entry;
    unsigned int __memberDepth = 0;
    EntryValue* __memberSlot = nullptr;               // null: a member the loader skips
    std::unique_ptr<kel::json::TreeBuilder> __memberTree;  // builds the slot's container
};

}  // namespace kel::rez

#endif
