// The bytes an entry's texts may hold. "type", "file", "name" and "define" are copied into
// the .r, the .rc, the header and IDtoFile.txt, each inside quotes or as a bare word; a byte
// that ends such a place early (a quote, a line break) or that the reader of the output
// takes as the start of something else would make the output say what the entry does not.
#ifndef VANTREL_RESOURCE_VALUES_H
#define VANTREL_RESOURCE_VALUES_H

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "resources/ResourceLoader.h"

namespace kel::rez {

/// The first byte of a value that its member may not hold, or, when the value is unfit as a
/// whole (an empty "type", or one that is a word of the resource script language), its word.
struct UnsafeByte {
    std::size_t offset;       // from the value's start
    unsigned char byte;
    std::string_view reason;  // "may not hold a double quote", ...
    std::optional<std::string> word = {};  // the unfit word, when the value is unfit as a whole
};

/// The first byte of value that the member of the given kind may not hold, if any. Only
/// memberType, memberFile, memberName and memberDefine have rules; an empty "define" is
/// the same as none.
std::optional<UnsafeByte> findUnsafeByte(EntryMemberKind kind, std::string_view value);

/// What is wrong, as messages say it after the member: may not hold a double quote (byte
/// 0x22 at offset 4); may not be a macro the resource compiler predefines ("WIN32"); may
/// not be empty.
std::string describeUnsafeByte(const UnsafeByte& unsafe);

}  // namespace kel::rez

#endif
