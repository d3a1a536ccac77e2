// The members of one entry of the resource list that the loader reads, each under the
// spelling that wins. Filled either from an entry's node or straight from the parser's
// events, so that an entry of the list needs no node per member.
#ifndef VANTREL_ENTRY_MEMBERS_H
#define VANTREL_ENTRY_MEMBERS_H

#include <cstdint>
#include <string>
#include <string_view>

#include "keljsonNode.h"

namespace kel::rez {

/// The members of an entry that the loader reads.
enum EntryMemberKind {
    memberType,
    memberFile,
    memberData,
    memberId,
    memberName,
    memberDefine,
    entryMemberKinds
};

/// Per kind, the names it may have in order of precedence: the first one present wins.
inline constexpr std::string_view entryMemberNames[entryMemberKinds][3] = {
    {"type", "Type", "TYPE"}, {"file", "File", "FILE"}, {"data", "Data", "DATA"},
    {"id", "Id", "ID"},       {"name", "Name", "NAME"}, {"define", "Define", "DEFINE"},
};

/// The kind a name spells and its precedence among the kind's spellings (0 first); false
/// for a name the loader does not read.
bool entryMemberKindOf(std::string_view name, std::size_t& kind, std::size_t& rank);

/// One member's value, as much of it as loading needs.
struct EntryValue {
    bool present = false;
    kel::json::Node::Type type = kel::json::Node::TypeNull;
    std::string text;           // of a string
    std::int64_t integer = 0;   // of a number, as Node::intValue reads it
    kel::utils::AutoNode node;  // of an array or an object

    bool is(kel::json::Node::Type wanted) const { return present && type == wanted; }
    void clear();
};

class EntryMembers
{
public:
    /// The members of an entry node; its texts are moved out of it.
    static EntryMembers takenFrom(const kel::json::Node& entry);

    /// Where the value of a member of that name goes, emptied; null when the loader does not
    /// read the name, or a member that wins over it (an earlier one of the same name, or a
    /// spelling tried first) has been given. A key given twice keeps its first value, as an
    /// object node does.
    EntryValue* slotFor(std::string_view name);

    /// Empty again for the next entry, without giving back what the values hold.
    void clear();

    EntryValue& operator[](EntryMemberKind kind) { return __values[kind]; }
    const EntryValue& operator[](EntryMemberKind kind) const { return __values[kind]; }

private:
    static constexpr unsigned char __noRank = 3;

    EntryValue __values[entryMemberKinds];
    unsigned char __ranks[entryMemberKinds] = {__noRank, __noRank, __noRank,
                                               __noRank, __noRank, __noRank};
};

/// A member value read from its node: strings are moved out of it, containers shared.
void takeValue(kel::json::Node& member, EntryValue& value);

}  // namespace kel::rez

#endif
