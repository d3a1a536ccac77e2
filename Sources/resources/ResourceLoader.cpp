// Loading step: each element of the root array becomes one Resource, filed by its type.
#include "resources/ResourceLoader.h"

#include <cstdint>
#include <string>
#include <string_view>

#include "driver/ExitStatus.h"
#include "resources/ResourceNames.h"
#include "kelutilsStrings.h"

namespace kel::rez {

namespace {

using kel::json::Node;
using kel::utils::AutoNode;

/// The rank of key among the spellings of kind (0 to 2), or 3 when it is none of them.
/// Length and first letter rule out all but one kind before any text is compared.
int spellingRank(std::string_view key, EntryMemberKind kind)
{
    const std::string_view lowerCase = entryMemberNames[kind][0];
    if (key.size() != lowerCase.size() || (key[0] | 0x20) != lowerCase[0])
        return 3;
    int rank = 0;
    while (rank < 3 && key != entryMemberNames[kind][rank])
        ++rank;
    return rank;
}

bool isOfType(const AutoNode& node, Node::Type type)
{
    return node->nodeType() == type;
}

/// The members of one entry, looked up once and released together.
struct EntryMembers {
    AutoNode type, file, data, id, name, define;
};

/// One walk over the entry's members finds every kind under its best spelling present,
/// as a lookup of each spelling in turn would, without a dozen and a half lookups.
EntryMembers findMembers(const Node& entry)
{
    Node* found[entryMemberKinds] = {};
    int foundRank[entryMemberKinds] = {3, 3, 3, 3, 3, 3};
    for (const auto& [key, child] : *entry.members()) {
        if (child == nullptr)
            continue;
        for (int kind = 0; kind < entryMemberKinds; ++kind) {
            const int rank = spellingRank(key, static_cast<EntryMemberKind>(kind));
            if (rank < foundRank[kind]) {
                found[kind] = child;
                foundRank[kind] = rank;
            }
        }
    }
    auto held = [&](EntryMemberKind kind) { return AutoNode(Node::acquire(found[kind])); };
    return {held(memberType), held(memberFile), held(memberData), held(memberId), held(memberName),
            held(memberDefine)};
}

bool isValidId(const AutoNode& id)
{
    if (!isOfType(id, Node::TypeNumber))
        return false;
    // The whole 64-bit value is checked, so that huge values cannot wrap into the range.
    const std::int64_t value = id->intValue();
    return value >= lowestResourceId && value <= highestResourceId;
}

/// 0 when the entry's members have acceptable types, else the status after its message.
int checkEntry(const EntryMembers& members, const std::string& index)
{
    if (!members.type)
        return failWith(statusTypeMissing, "expected \"type\" member at array index " + index);
    if (!isOfType(members.type, Node::TypeString))
        return failWith(statusTypeNotString,
                        "expected the \"type\" member to be of type string at array index " + index);
    if (members.file && !isOfType(members.file, Node::TypeString))
        return failWith(statusFileNotString,
                        "expected the \"file\" member to be of type string at array index " + index);
    if (!members.file && !members.data)
        return failWith(statusFileAndDataMissing,
                        "expected either the \"file\" or \"data\" member at array index " + index);
    if (members.data && !isOfType(members.data, Node::TypeString) &&
        !isOfType(members.data, Node::TypeObject))
        return failWith(statusDataBadType,
                        "expected the \"data\" member to be of type string or object at array index " +
                            index);
    if (members.id && !isValidId(members.id))
        return failWith(statusIdBad, "\"id\" member must be of type number and in the range " +
                                         kel::utils::itoa(lowestResourceId) + "-" +
                                         kel::utils::itoa(highestResourceId) +
                                         "(other values are reserved) at array index " + index);
    if (members.name && !isOfType(members.name, Node::TypeString))
        return failWith(statusNameNotString,
                        "expected the \"name\" member to be of type string at array index " + index);
    if (members.define && !isOfType(members.define, Node::TypeString))
        return failWith(statusDefineNotString,
                        "expected the \"define\" member to be of type string at array index " + index);
    return statusSuccess;
}

ResourcePtr makeResource(const EntryMembers& members)
{
    auto resource = std::make_shared<Resource>();
    resource->type = members.type->stringValue();
    if (members.file) {
        // A present "file" wins; "data" has only been type-checked.
        resource->file = members.file->stringValue();
    } else if (isOfType(members.data, Node::TypeString)) {
        resource->data = members.data->stringValue();
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

int loadResources(const Node& rootArray, ResourcesByType& resourcesByType)
{
    const unsigned int count = rootArray.elementsCount();
    for (unsigned int i = 0; i < count; ++i) {
        const std::string index = std::to_string(i);
        AutoNode entry(rootArray.element(i));
        if (!entry || !isOfType(entry, Node::TypeObject))
            return failWith(statusEntryNotObject, "expected to fine JSON object at array index " + index);

        const EntryMembers members = findMembers(*entry.get());
        if (int status = checkEntry(members, index))
            return status;

        ResourcePtr resource = makeResource(members);
        resource->entryIndex = i;
        resourcesByType[resource->type].push_back(std::move(resource));
    }
    return statusSuccess;
}

}  // namespace kel::rez
