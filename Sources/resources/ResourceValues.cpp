#include "resources/ResourceValues.h"

#include <cstdio>

namespace kel::rez {

namespace {

// The rules, each the bytes of one kind of value that the places it is copied to cannot
// carry. A control byte would break the line of every output; a double quote ends the quoted
// path or the .rc's bare word early; an apostrophe or backslash ends or escapes the .r's
// '...' type literal; a blank before more bytes splits the .rc's type into two words, and
// "//" or "/*" there turns the rest of the line into a comment for the preprocessor. Blanks
// at the end of a type stay allowed: 'snd ' is a real Mac type.

bool __isControl(unsigned char byte)
{
    return byte < 0x20 || byte == 0x7F;
}

bool __isIdentifierByte(unsigned char byte, bool first)
{
    const bool letter = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z');
    const bool digit = byte >= '0' && byte <= '9';
    return letter || byte == '_' || (digit && !first);
}

std::optional<std::string_view> __typeByteReason(std::string_view value, std::size_t at)
{
    const char byte = value[at];
    if (byte == '"')
        return "may not hold a double quote";
    if (byte == '\'')
        return "may not hold an apostrophe";
    if (byte == '\\')
        return "may not hold a backslash";
    if (byte == ' ' && value.find_first_not_of(' ', at) != std::string_view::npos)
        return "may hold blanks only at its end";
    if (byte == '/' && at + 1 < value.size() && (value[at + 1] == '/' || value[at + 1] == '*'))
        return "may not hold the start of a comment";
    return std::nullopt;
}

std::optional<std::string_view> __byteReason(EntryMemberKind kind, std::string_view value,
                                             std::size_t at)
{
    const auto byte = static_cast<unsigned char>(value[at]);
    if (kind == memberDefine) {
        if (__isIdentifierByte(byte, at == 0))
            return std::nullopt;
        return at == 0 && byte >= '0' && byte <= '9'
                   ? "must be a C identifier, but begins with a digit"
                   : "must be a C identifier of letters, digits and underscores";
    }
    if (__isControl(byte))
        return "may not hold a control character";
    if (kind == memberType)
        return __typeByteReason(value, at);
    if (kind == memberFile && byte == '"')
        return "may not hold a double quote";
    // Names keep their quotes, which every output escapes; a backslash would be read by
    // each of them as the start of an escape.
    if (kind == memberName && byte == '\\')
        return "may not hold a backslash";
    return std::nullopt;
}

}  // namespace

std::optional<UnsafeByte> findUnsafeByte(EntryMemberKind kind, std::string_view value)
{
    for (std::size_t at = 0; at < value.size(); ++at)
        if (std::optional<std::string_view> reason = __byteReason(kind, value, at))
            return UnsafeByte{at, static_cast<unsigned char>(value[at]), *reason};
    return std::nullopt;
}

std::string describeUnsafeByte(const UnsafeByte& unsafe)
{
    char where[48];
    std::snprintf(where, sizeof where, " (byte 0x%02X at offset %zu)", unsafe.byte,
                  unsafe.offset);
    return std::string(unsafe.reason) + where;
}

}  // namespace kel::rez
