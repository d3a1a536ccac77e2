// Loading step: validates each element of the root array and files it in resourcesByType.
#ifndef VANTREL_RESOURCE_LOADER_H
#define VANTREL_RESOURCE_LOADER_H

#include <string_view>

#include "resources/Resource.h"

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

/// Returns 0 with the table filled, or the status of the first bad entry (79 to 87) after
/// printing its message. A "data" string is moved into its record and left empty in the
/// tree, which has served its purpose once loaded.
int loadResources(kel::json::Node& rootArray, ResourcesByType& resourcesByType);

}  // namespace kel::rez

#endif
