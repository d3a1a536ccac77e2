// Loading step: each element of the root array becomes one Resource, filed by its type.
#include "resources/ResourceLoader.h"

#include <cstdint>
#include <string>

#include "common/ExitStatus.h"
#include "kelutilsStrings.h"
#include "resources/ResourceNames.h"
#include "resources/ResourceValues.h"

namespace kel::rez {

namespace {

using kel::json::Node;
using kel::utils::AutoNode;

/// The member of the given kind under the first of its spellings that is present.
AutoNode __findMember(const Node& entry, EntryMemberKind kind)
{
    for (std::string_view spelling : entryMemberNames[kind]) {
        AutoNode member(entry.member(std::string(spelling)));
        if (member)
            return member;
    }
    return AutoNode();
}

bool __isOfType(const AutoNode& node, Node::Type type)
{
    return node->nodeType() == type;
}

/// The members of one entry, looked up once and released together.
struct __EntryMembers {
    AutoNode type, file, data, id, name, define;
};

__EntryMembers __findMembers(const Node& entry)
{
    return {__findMember(entry, memberType), __findMember(entry, memberFile),
            __findMember(entry, memberData), __findMember(entry, memberId),
            __findMember(entry, memberName), __findMember(entry, memberDefine)};
}

bool __isValidId(const AutoNode& id)
{
    if (!__isOfType(id, Node::TypeNumber))
        return false;
    // The whole 64-bit value is checked, so that huge values cannot wrap into the range.
    const std::int64_t value = id->intValue();
    return value >= lowestResourceId && value <= highestResourceId;
}

/// The status after printing what, followed by the index of the entry.
int __failAt(int status, const std::string& what, unsigned int index)
{
    return failWith(status, what + " at array index " + std::to_string(index));
}

/// Per member whose text goes into the outputs, the status of a byte it may not hold: that
/// of the member's type error, since either way the member is unfit for the outputs.
struct __ValueRule {
    EntryMemberKind kind;
    AutoNode __EntryMembers::*member;
    ExitStatus status;
};

constexpr __ValueRule __valueRules[] = {
    {memberType, &__EntryMembers::type, statusTypeNotString},
    {memberFile, &__EntryMembers::file, statusFileNotString},
    {memberName, &__EntryMembers::name, statusNameNotString},
    {memberDefine, &__EntryMembers::define, statusDefineNotString},
};

/// 0 when no text of the entry holds a byte its outputs cannot carry, else the status after
/// the message: the "type" member may not hold a double quote (byte 0x22 at offset 4).
int __checkValues(const __EntryMembers& members, unsigned int index)
{
    for (const __ValueRule& rule : __valueRules) {
        const AutoNode& member = members.*rule.member;
        if (!member)
            continue;
        if (const std::optional<UnsafeByte> unsafe = findUnsafeByte(rule.kind, member->stringValue()))
            return __failAt(rule.status,
                            "the \"" + std::string(entryMemberNames[rule.kind][0]) + "\" member "
                                + describeUnsafeByte(*unsafe),
                            index);
    }
    return statusSuccess;
}

/// 0 when the entry's members have acceptable types, else the status after its message.
int __checkEntry(const __EntryMembers& members, unsigned int index)
{
    if (!members.type)
        return __failAt(statusTypeMissing, "expected \"type\" member", index);
    if (!__isOfType(members.type, Node::TypeString))
        return __failAt(statusTypeNotString, "expected the \"type\" member to be of type string",
                        index);
    if (members.file && !__isOfType(members.file, Node::TypeString))
        return __failAt(statusFileNotString, "expected the \"file\" member to be of type string",
                        index);
    if (!members.file && !members.data)
        return __failAt(statusFileAndDataMissing, "expected either the \"file\" or \"data\" member",
                        index);
    if (members.data && !__isOfType(members.data, Node::TypeString)
        && !__isOfType(members.data, Node::TypeObject))
        return __failAt(statusDataBadType,
                        "expected the \"data\" member to be of type string or object", index);
    if (members.id && !__isValidId(members.id))
        return __failAt(statusIdBad,
                        "\"id\" member must be of type number and in the range "
                            + kel::utils::itoa(lowestResourceId) + "-"
                            + kel::utils::itoa(highestResourceId) + "(other values are reserved)",
                        index);
    if (members.name && !__isOfType(members.name, Node::TypeString))
        return __failAt(statusNameNotString, "expected the \"name\" member to be of type string",
                        index);
    if (members.define && !__isOfType(members.define, Node::TypeString))
        return __failAt(statusDefineNotString,
                        "expected the \"define\" member to be of type string", index);
    return __checkValues(members, index);
}

/// The record of a checked entry. A hex "data" string, which may be as long as the whole
/// input, is moved out of the tree; the short texts are copied, so that the records and
/// their texts lie together, apart from the tree that is released after loading.
ResourcePtr __makeResource(const __EntryMembers& members)
{
    auto resource = std::make_shared<Resource>();
    resource->type = members.type->stringValue();
    if (members.file) {
        // A present "file" wins; "data" has only been type-checked.
        resource->file = members.file->stringValue();
    } else if (__isOfType(members.data, Node::TypeString)) {
        resource->data = members.data->takeStringValue();
    } else {
        resource->dataObject = members.data.get();  // takes its own reference
    }
    if (members.id)
        resource->id = static_cast<std::int16_t>(members.id->intValue());
    if (members.name)
        resource->name = members.name->stringValue();
    else if (!resource->file.empty())
        resource->name = nameFromFilePath(resource->file);
    if (members.define)
        resource->define = members.define->stringValue();
    return resource;
}

}  // namespace

int loadResources(Node& rootArray, ResourcesByType& resourcesByType)
{
    const unsigned int count = rootArray.elementsCount();
    for (unsigned int i = 0; i < count; ++i) {
        AutoNode entry(rootArray.element(i));
        if (!entry || !__isOfType(entry, Node::TypeObject))
            return __failAt(statusEntryNotObject, "expected to fine JSON object", i);

        const __EntryMembers members = __findMembers(*entry.get());
        if (int status = __checkEntry(members, i))
            return status;

        ResourcePtr resource = __makeResource(members);
        resource->entryIndex = i;
        resourcesByType[resource->type].push_back(std::move(resource));
    }
    return statusSuccess;
}

}  // namespace kel::rez
