#include "resources/ResourceValues.h"

#include <cstdio>

#include "resources/ResourceScriptWords.h"

namespace kel::rez {

namespace {

// The rules, each the bytes of one kind of value that the places it is copied to cannot
// carry. A control byte would break the line of every output; a double quote ends the quoted
// path or the .rc's bare word early; an apostrophe or backslash ends or escapes the .r's
// '...' type literal; a blank before more bytes splits the .rc's type into two words, and
// "//" or "/*" there turns the rest of the line into a comment for the preprocessor. Blanks
// at the end of a type stay allowed: 'snd ' is a real Mac type, and the resource compiler
// ends the word before them. Any other byte that is not a letter, a digit or an underscore,
// or a digit first, makes the .rc's type no word, or a number, which the compiler reads as a
// numeric type.

constexpr bool __isControl(unsigned char byte)
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
    if (byte == ' ')  // the last blanks, or all of them
        return at == 0 ? std::optional<std::string_view>("may not be blanks alone") : std::nullopt;
    if (at == 0 && byte >= '0' && byte <= '9')
        return "may not begin with a digit";
    if (!__isIdentifierByte(static_cast<unsigned char>(byte), false))
        return "must be a word of letters, digits and underscores";
    return std::nullopt;
}

/// A type whose every byte is allowed may still be a word the resource compiler reads as
/// something else.
std::optional<UnsafeByte> __unfitTypeWord(std::string_view value)
{
    const std::string_view word = value.substr(0, value.find_last_not_of(' ') + 1);
    if (const std::optional<std::string_view> reason = resourceScriptWordProblem(word))
        return UnsafeByte{0, static_cast<unsigned char>(value[0]), *reason, std::string(word)};
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

/// Bytes that the rules of the kind allow wherever they stand, whatever surrounds them.
constexpr bool __isPlainByte(EntryMemberKind kind, unsigned char byte)
{
    const bool letter = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z');
    if (kind == memberType || kind == memberDefine)
        return letter || byte == '_';
    if (__isControl(byte))
        return false;
    return !(kind == memberFile && byte == '"') && !(kind == memberName && byte == '\\');
}

/// Per kind and byte, whether it is plain: the rules are asked only about the other bytes,
/// as a path or a name is mostly letters. Built by the compiler: filling its 1,536 entries at
/// the first check cost more than checking all the values of a typical list.
struct __PlainBytes {
    bool plain[entryMemberKinds][256] = {};

    constexpr __PlainBytes()
    {
        for (int kind = 0; kind < entryMemberKinds; ++kind)
            for (int byte = 0; byte < 256; ++byte)
                plain[kind][byte] = __isPlainByte(static_cast<EntryMemberKind>(kind),
                                                  static_cast<unsigned char>(byte));
    }
};

constexpr __PlainBytes __plainBytes;

}  // namespace

std::optional<UnsafeByte> findUnsafeByte(EntryMemberKind kind, std::string_view value)
{
    const bool* plain = __plainBytes.plain[kind];
    for (std::size_t at = 0; at < value.size(); ++at) {
        if (plain[static_cast<unsigned char>(value[at])])
            continue;
        if (std::optional<std::string_view> reason = __byteReason(kind, value, at))
            return UnsafeByte{at, static_cast<unsigned char>(value[at]), *reason};
    }
    if (kind != memberType)
        return std::nullopt;
    // An empty type leaves the .rc line without one, and the .r with an empty literal.
    if (value.empty())
        return UnsafeByte{0, 0, "may not be empty", std::string()};
    return __unfitTypeWord(value);
}

std::string describeUnsafeByte(const UnsafeByte& unsafe)
{
    if (unsafe.word)
        return std::string(unsafe.reason) + (unsafe.word->empty() ? "" : " (\"" + *unsafe.word + "\")");
    char where[48];
    std::snprintf(where, sizeof where, " (byte 0x%02X at offset %zu)", unsafe.byte,
                  unsafe.offset);
    return std::string(unsafe.reason) + where;
}

}  // namespace kel::rez
