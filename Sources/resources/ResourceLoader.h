// Loading step: validates each element of the root array and files it in resourcesByType.
#ifndef VANTREL_RESOURCE_LOADER_H
#define VANTREL_RESOURCE_LOADER_H

#include <string_view>

#include "common/Diagnostics.h"
#include "keljsonEvents.h"
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

/// Loads the index-th element of the root array into its record, filed in resourcesByType.
/// Returns 0, or the status of a bad entry (79 to 87) after reporting its message. The
/// entry's texts are moved into the record and left empty in the entry.
int loadResource(kel::json::Node* element, unsigned int index, ResourcesByType& resourcesByType,
                 Diagnostics& diagnostics);

/// loadResource for every element, up to the first bad one.
int loadResources(kel::json::Node& rootArray, ResourcesByType& resourcesByType,
                  Diagnostics& diagnostics);

/// Loads each element of the root array as soon as the parser has completed it, and lets it
/// go once its record is built, so that the whole document is never held as a tree. After
/// the first bad entry the rest of the text is only parsed, unless diagnostics collect (then
/// every entry is checked, up to the most problems they keep). Messages go to diagnostics,
/// where it waits unprinted: a caller that must report a syntax error first clears them
/// when the parse fails.
class ResourceLoader : public kel::json::TreeBuilder
{
public:
    ResourceLoader(ResourcesByType& resourcesByType, Diagnostics& diagnostics);

    /// 0, or the status of the first bad entry.
    int status() const { return __status; }

protected:
    bool keepRootElement(kel::json::Node* element) override;

private:
    ResourcesByType& __resourcesByType;
    Diagnostics& __diagnostics;
    unsigned int __index = 0;
    int __status = 0;
};

}  // namespace kel::rez

#endif
