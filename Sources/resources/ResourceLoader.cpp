// Loading step: each element of the root array becomes one Resource, filed by its type.
#include "resources/ResourceLoader.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
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
using kel::utils::AutoNode;

bool __isOfType(const AutoNode& node, Node::Type type)
{
    return node->nodeType() == type;
}

/// The members of one entry, looked up once and released together.
struct __EntryMembers {
    AutoNode type, file, data, id, name, define;
};

/// The kind a key spells and its precedence among the kind's spellings (0 first); false
/// for a key the loader does not read.
bool __kindOfKey(std::string_view key, std::size_t& kind, std::size_t& rank)
{
    for (kind = 0; kind < entryMemberKinds; ++kind)
        for (rank = 0; rank < std::size(entryMemberNames[kind]); ++rank)
            if (entryMemberNames[kind][rank] == key)
                return true;
    return false;
}

/// One walk over the entry's members, comparing keys in place: an entry has few members,
/// and looking up each of the 18 spellings would build a key string for every one.
__EntryMembers __findMembers(const Node& entry)
{
    __EntryMembers members;
    AutoNode* const slots[entryMemberKinds] = {&members.type, &members.file, &members.data,
                                               &members.id,   &members.name, &members.define};
    std::size_t filledRank[entryMemberKinds];
    std::fill(std::begin(filledRank), std::end(filledRank), std::size(entryMemberNames[0]));
    for (const auto& [key, node] : *entry.members()) {
        std::size_t kind = 0;
        std::size_t rank = 0;
        if (__kindOfKey(key, kind, rank) && rank < filledRank[kind]) {
            filledRank[kind] = rank;
            *slots[kind] = node;  // shares the member
        }
    }
    return members;
}

bool __isValidId(const AutoNode& id)
{
    if (!__isOfType(id, Node::TypeNumber))
        return false;
    // The whole 64-bit value is checked, so that huge values cannot wrap into the range.
    const std::int64_t value = id->intValue();
    return value >= lowestResourceId && value <= highestResourceId;
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
int __checkValues(const __EntryMembers& members, unsigned int index, Diagnostics& diagnostics)
{
    for (const __ValueRule& rule : __valueRules) {
        const AutoNode& member = members.*rule.member;
        if (!member)
            continue;
        // Every member checked here was found to be a string.
        if (const std::optional<UnsafeByte> unsafe = findUnsafeByte(rule.kind, member->stringView()))
            return __failAt(rule.status,
                            "the \"" + std::string(entryMemberNames[rule.kind][0]) + "\" member "
                                + describeUnsafeByte(*unsafe),
                            index, diagnostics, rule.kind);
    }
    return statusSuccess;
}

/// 0 when the entry's members have acceptable types, else the status after its message.
int __checkEntry(const __EntryMembers& members, unsigned int index, Diagnostics& diagnostics)
{
    if (!members.type)
        return __failAt(statusTypeMissing, "expected \"type\" member", index, diagnostics);
    if (!__isOfType(members.type, Node::TypeString))
        return __failAt(statusTypeNotString, "expected the \"type\" member to be of type string",
                        index, diagnostics, memberType);
    if (members.file && !__isOfType(members.file, Node::TypeString))
        return __failAt(statusFileNotString, "expected the \"file\" member to be of type string",
                        index, diagnostics, memberFile);
    if (!members.file && !members.data)
        return __failAt(statusFileAndDataMissing, "expected either the \"file\" or \"data\" member",
                        index, diagnostics);
    if (members.data && !__isOfType(members.data, Node::TypeString)
        && !__isOfType(members.data, Node::TypeObject))
        return __failAt(statusDataBadType,
                        "expected the \"data\" member to be of type string or object", index,
                        diagnostics, memberData);
    if (members.id && !__isValidId(members.id))
        return __failAt(statusIdBad,
                        "\"id\" member must be of type number and in the range "
                            + kel::utils::itoa(lowestResourceId) + "-"
                            + kel::utils::itoa(highestResourceId) + "(other values are reserved)",
                        index, diagnostics, memberId);
    if (members.name && !__isOfType(members.name, Node::TypeString))
        return __failAt(statusNameNotString, "expected the \"name\" member to be of type string",
                        index, diagnostics, memberName);
    if (members.define && !__isOfType(members.define, Node::TypeString))
        return __failAt(statusDefineNotString,
                        "expected the \"define\" member to be of type string", index, diagnostics,
                        memberDefine);
    return __checkValues(members, index, diagnostics);
}

/// The record of a checked entry. Its texts are moved out of the entry, which is released
/// once its record is built; a hex "data" string may be as long as the whole input.
ResourcePtr __makeResource(const __EntryMembers& members)
{
    auto resource = std::make_unique<Resource>();
    resource->type = members.type->takeStringValue();
    if (members.file) {
        // A present "file" wins; "data" has only been type-checked.
        resource->file = members.file->takeStringValue();
    } else if (__isOfType(members.data, Node::TypeString)) {
        resource->data = members.data->takeStringValue();
    } else {
        resource->dataObject = members.data.get();  // takes its own reference
    }
    if (members.id)
        resource->id = static_cast<std::int16_t>(members.id->intValue());
    if (members.name)
        resource->name = members.name->takeStringValue();
    else if (!resource->file.empty())
        resource->name = nameFromFilePath(resource->file);
    if (members.define)
        resource->define = members.define->takeStringValue();
    return resource;
}

}  // namespace

int loadResource(Node* element, unsigned int index, ResourcesByType& resourcesByType,
                 Diagnostics& diagnostics)
{
    if (!element || element->nodeType() != Node::TypeObject)
        return __failAt(statusEntryNotObject, "expected to fine JSON object", index, diagnostics);

    const __EntryMembers members = __findMembers(*element);
    if (int status = __checkEntry(members, index, diagnostics))
        return status;

    ResourcePtr resource = __makeResource(members);
    resource->entryIndex = index;
    resourcesByType[resource->type].push_back(std::move(resource));
    return statusSuccess;
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

bool ResourceLoader::keepRootElement(Node* element)
{
    // Under --strict every entry is checked, so that all their problems are reported at once.
    const unsigned int index = __index++;
    if (__status == statusSuccess || (__diagnostics.collecting() && !__diagnostics.stopping())) {
        const int status = loadResource(element, index, __resourcesByType, __diagnostics);
        if (__status == statusSuccess)
            __status = status;
    }
    return false;  // the record holds what it still needs
}

}  // namespace kel::rez
