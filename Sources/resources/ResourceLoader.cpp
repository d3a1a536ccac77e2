// Loading step: each element of the root array becomes one Resource, filed by its type.
#include "resources/ResourceLoader.h"

#include <cstdint>
#include <memory>
#include <string>

#include "common/Diagnostics.h"
#include "common/ExitStatus.h"
#include "keljsonEvents.h"
#include "kelutilsStrings.h"
#include "resources/ResourceNames.h"
#include "resources/ResourceValues.h"

namespace kel::rez {

namespace {

using kel::json::Node;
using kel::json::TreeBuilder;
using kel::utils::AutoNode;

bool __isValidId(const EntryValue& id)
{
    if (!id.is(Node::TypeNumber))
        return false;
    // The whole 64-bit value is checked, so that huge values cannot wrap into the range.
    return id.integer >= lowestResourceId && id.integer <= highestResourceId;
}

/// The status after reporting what, followed by the index of the entry, at the entry's
/// member of the given kind (or at the entry itself, for entryMemberKinds).
int __failAt(int status, const std::string& what, unsigned int index, Diagnostics& diagnostics,
             std::size_t memberKind = entryMemberKinds)
{
    Place place;
    place.entry = index;
    if (memberKind < entryMemberKinds)
        place.path = {std::string(entryMemberNames[memberKind][0])};
    return diagnostics.failWith(status, what + " at array index " + std::to_string(index),
                                std::move(place));
}

/// Per member whose text goes into the outputs, the status of a byte it may not hold: that
/// of the member's type error, since either way the member is unfit for the outputs.
struct __ValueRule {
    EntryMemberKind kind;
    ExitStatus status;
};

constexpr __ValueRule __valueRules[] = {
    {memberType, statusTypeNotString},
    {memberFile, statusFileNotString},
    {memberName, statusNameNotString},
    {memberDefine, statusDefineNotString},
};

/// 0 when no text of the entry holds a byte its outputs cannot carry, else the status after
/// the message: the "type" member may not hold a double quote (byte 0x22 at offset 4). A
/// type already filed has passed its check with the entry that brought it.
int __checkValues(const EntryMembers& members, bool typeIsFiled, unsigned int index,
                  Diagnostics& diagnostics)
{
    for (const __ValueRule& rule : __valueRules) {
        const EntryValue& member = members[rule.kind];
        if (!member.present || (rule.kind == memberType && typeIsFiled))
            continue;
        // Every member checked here was found to be a string.
        if (const std::optional<UnsafeByte> unsafe = findUnsafeByte(rule.kind, member.text))
            return __failAt(rule.status,
                            "the \"" + std::string(entryMemberNames[rule.kind][0]) + "\" member "
                                + describeUnsafeByte(*unsafe),
                            index, diagnostics, rule.kind);
    }
    return statusSuccess;
}

/// 0 when the entry's members have acceptable types, else the status after its message.
int __checkTypes(const EntryMembers& members, unsigned int index, Diagnostics& diagnostics)
{
    const EntryValue& file = members[memberFile];
    const EntryValue& data = members[memberData];
    if (!members[memberType].present)
        return __failAt(statusTypeMissing, "expected \"type\" member", index, diagnostics);
    if (!members[memberType].is(Node::TypeString))
        return __failAt(statusTypeNotString, "expected the \"type\" member to be of type string",
                        index, diagnostics, memberType);
    if (file.present && !file.is(Node::TypeString))
        return __failAt(statusFileNotString, "expected the \"file\" member to be of type string",
                        index, diagnostics, memberFile);
    if (!file.present && !data.present)
        return __failAt(statusFileAndDataMissing, "expected either the \"file\" or \"data\" member",
                        index, diagnostics);
    if (data.present && !data.is(Node::TypeString) && !data.is(Node::TypeObject))
        return __failAt(statusDataBadType,
                        "expected the \"data\" member to be of type string or object", index,
                        diagnostics, memberData);
    if (members[memberId].present && !__isValidId(members[memberId]))
        return __failAt(statusIdBad,
                        "\"id\" member must be of type number and in the range "
                            + kel::utils::itoa(lowestResourceId) + "-"
                            + kel::utils::itoa(highestResourceId) + "(other values are reserved)",
                        index, diagnostics, memberId);
    if (members[memberName].present && !members[memberName].is(Node::TypeString))
        return __failAt(statusNameNotString, "expected the \"name\" member to be of type string",
                        index, diagnostics, memberName);
    if (members[memberDefine].present && !members[memberDefine].is(Node::TypeString))
        return __failAt(statusDefineNotString,
                        "expected the \"define\" member to be of type string", index, diagnostics,
                        memberDefine);
    return statusSuccess;
}

/// The record of a checked entry, its texts moved out of the members; a hex "data" string
/// may be as long as the whole input.
ResourcePtr __makeResource(EntryMembers& members)
{
    auto resource = std::make_unique<Resource>();
    resource->type = std::move(members[memberType].text);
    EntryValue& data = members[memberData];
    if (members[memberFile].present) {
        // A present "file" wins; "data" has only been type-checked.
        resource->file = std::move(members[memberFile].text);
    } else if (data.is(Node::TypeString)) {
        resource->data = std::move(data.text);
    } else {
        resource->dataObject = data.node;  // shares the description
    }
    if (members[memberId].present)
        resource->id = static_cast<std::int16_t>(members[memberId].integer);
    if (members[memberName].present)
        resource->name = std::move(members[memberName].text);
    else if (!resource->file.empty())
        resource->name = nameFromFilePath(resource->file);
    if (members[memberDefine].present)
        resource->define = std::move(members[memberDefine].text);
    return resource;
}

/// A number as a node in a container holds it: cleaned of NaN and infinities, then read as
/// an integer.
std::int64_t __integerOfFloat(double value)
{
    Node number(Node::TypeNumber, std::string());
    number.setDoubleValue(value);
    return number.intValue();
}

}  // namespace

int loadEntry(EntryMembers& members, unsigned int index, ResourcesByType& resourcesByType,
              Diagnostics& diagnostics)
{
    if (int status = __checkTypes(members, index, diagnostics))
        return status;
    auto filed = resourcesByType.find(members[memberType].text);
    if (int status = __checkValues(members, filed != resourcesByType.end(), index, diagnostics))
        return status;
    ResourcePtr resource = __makeResource(members);
    resource->entryIndex = index;
    if (filed == resourcesByType.end())
        filed = resourcesByType.try_emplace(resource->type).first;
    filed->second.push_back(std::move(resource));
    return statusSuccess;
}

int loadResource(Node* element, unsigned int index, ResourcesByType& resourcesByType,
                 Diagnostics& diagnostics)
{
    if (!element || element->nodeType() != Node::TypeObject)
        return __failAt(statusEntryNotObject, "expected to fine JSON object", index, diagnostics);
    EntryMembers members = EntryMembers::takenFrom(*element);
    return loadEntry(members, index, resourcesByType, diagnostics);
}

int loadResources(Node& rootArray, ResourcesByType& resourcesByType, Diagnostics& diagnostics)
{
    const unsigned int count = rootArray.elementsCount();
    for (unsigned int i = 0; i < count; ++i) {
        AutoNode entry(rootArray.element(i));
        if (int status = loadResource(entry.get(), i, resourcesByType, diagnostics))
            return status;
    }
    return statusSuccess;
}

ResourceLoader::ResourceLoader(ResourcesByType& resourcesByType, Diagnostics& diagnostics)
    : __resourcesByType(resourcesByType),
      __diagnostics(diagnostics)
{
}

ResourceLoader::~ResourceLoader() = default;

// Under --strict every entry is checked, so that all their problems are reported at once.
template <typename Load>
void ResourceLoader::__loadNext(Load load)
{
    const unsigned int index = __index++;
    if (__status == statusSuccess || (__diagnostics.collecting() && !__diagnostics.stopping())) {
        const int status = load(index);
        if (__status == statusSuccess)
            __status = status;
    }
}

bool ResourceLoader::keepRootElement(Node* element)
{
    __loadNext([&](unsigned int index) {
        return loadResource(element, index, __resourcesByType, __diagnostics);
    });
    return false;  // the record holds what it still needs
}

// A value goes to the tree this builder makes when no entry is open, to the tree of the
// current member's container when one is open, and else it is a member of the entry.
// forward calls TreeBuilder's own handler, not this class's.
template <typename Fill, typename Forward>
void ResourceLoader::__value(const std::string& name, Fill fill, Forward forward)
{
    if (!__entryOpen) {
        forward(static_cast<TreeBuilder&>(*this));
    } else if (__memberDepth > 0) {
        if (__memberTree)
            forward(*__memberTree);
    } else if (EntryValue* slot = __entry.slotFor(name)) {
        slot->present = true;
        fill(*slot);
    }
}

void ResourceLoader::beginContainer(Node::Type type, const std::string& name)
{
    if (__entryOpen) {
        if (__memberDepth++ == 0)
            __beginMember(name);
        if (__memberTree)
            __memberTree->TreeBuilder::beginContainer(type, name);
        return;
    }
    if (type == Node::TypeObject && __inRootArray()) {
        __entryOpen = true;
        __entry.clear();
        return;
    }
    if (__builtDepth++ == 0 && !__rootSeen) {
        __rootSeen = true;
        __rootArrayOpen = type == Node::TypeArray;
    }
    TreeBuilder::beginContainer(type, name);
}

void ResourceLoader::endContainer()
{
    if (__entryOpen) {
        if (__memberDepth == 0) {
            __endEntry();
            return;
        }
        if (__memberTree)
            __memberTree->TreeBuilder::endContainer();
        if (--__memberDepth == 0)
            __endMember();
        return;
    }
    if (--__builtDepth == 0)
        __rootArrayOpen = false;
    TreeBuilder::endContainer();
}

// A container member is built only when it is one the loader reads; the others are passed.
void ResourceLoader::__beginMember(const std::string& name)
{
    __memberSlot = __entry.slotFor(name);
    if (__memberSlot)
        __memberTree = std::make_unique<TreeBuilder>();
}

void ResourceLoader::__endMember()
{
    if (__memberTree) {
        const AutoNode built(__memberTree->takeRoot());
        takeValue(*built.get(), *__memberSlot);
        __memberTree.reset();
    }
    __memberSlot = nullptr;
}

void ResourceLoader::__endEntry()
{
    __entryOpen = false;
    __loadNext([&](unsigned int index) {
        return loadEntry(__entry, index, __resourcesByType, __diagnostics);
    });
}

void ResourceLoader::nullValue(const std::string& name)
{
    __value(
        name, [](EntryValue& slot) { slot.type = Node::TypeNull; },
        [&](TreeBuilder& tree) { tree.TreeBuilder::nullValue(name); });
}

void ResourceLoader::boolValue(const std::string& name, bool value)
{
    __value(
        name, [](EntryValue& slot) { slot.type = Node::TypeBool; },
        [&](TreeBuilder& tree) { tree.TreeBuilder::boolValue(name, value); });
}

void ResourceLoader::intValue(const std::string& name, std::int64_t value)
{
    __value(
        name,
        [&](EntryValue& slot) {
            slot.type = Node::TypeNumber;
            slot.integer = value;
        },
        [&](TreeBuilder& tree) { tree.TreeBuilder::intValue(name, value); });
}

void ResourceLoader::floatValue(const std::string& name, double value)
{
    __value(
        name,
        [&](EntryValue& slot) {
            slot.type = Node::TypeNumber;
            slot.integer = __integerOfFloat(value);
        },
        [&](TreeBuilder& tree) { tree.TreeBuilder::floatValue(name, value); });
}

void ResourceLoader::stringValue(const std::string& name, std::string&& value)
{
    __value(
        name,
        [&](EntryValue& slot) {
            slot.type = Node::TypeString;
            slot.text = std::move(value);
        },
        [&](TreeBuilder& tree) { tree.TreeBuilder::stringValue(name, std::move(value)); });
}

}  // namespace kel::rez
