#include "resources/EntryMembers.h"

#include <iterator>

namespace kel::rez {

using kel::json::Node;

bool entryMemberKindOf(std::string_view name, std::size_t& kind, std::size_t& rank)
{
    // The three spellings of a kind share their length and their first letter but for its
    // case, which rules out the other kinds at once.
    if (name.empty())
        return false;
    const char first = static_cast<char>(name[0] | 0x20);  // lower case of a letter
    for (kind = 0; kind < entryMemberKinds; ++kind) {
        const std::string_view* spellings = entryMemberNames[kind];
        if (spellings[0].size() != name.size() || spellings[0][0] != first)
            continue;
        for (rank = 0; rank < std::size(entryMemberNames[kind]); ++rank)
            if (spellings[rank] == name)
                return true;
        return false;
    }
    return false;
}

EntryValue* EntryMembers::slotFor(std::string_view name)
{
    std::size_t kind = 0;
    std::size_t rank = 0;
    if (!entryMemberKindOf(name, kind, rank) || rank >= __ranks[kind])
        return nullptr;
    __ranks[kind] = static_cast<unsigned char>(rank);
    __values[kind].clear();
    return &__values[kind];
}

void EntryValue::clear()
{
    present = false;
    type = Node::TypeNull;
    text.clear();
    integer = 0;
    node.reset();
}

void EntryMembers::clear()
{
    for (std::size_t kind = 0; kind < entryMemberKinds; ++kind) {
        __values[kind].clear();
        __ranks[kind] = __noRank;
    }
}

void takeValue(Node& member, EntryValue& value)
{
    value.present = true;
    value.type = member.nodeType();
    if (value.type == Node::TypeString)
        value.text = member.takeStringValue();
    else if (value.type == Node::TypeNumber)
        value.integer = member.intValue();
    else if (value.type == Node::TypeArray || value.type == Node::TypeObject)
        value.node = &member;  // shares it
}

EntryMembers EntryMembers::takenFrom(const Node& entry)
{
    EntryMembers members;
    for (const auto& [key, node] : *entry.members())
        if (EntryValue* slot = members.slotFor(key))
            takeValue(*node, *slot);
    return members;
}

}  // namespace kel::rez
