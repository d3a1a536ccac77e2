// RFC 8259 syntax with positions: one pass with an explicit stack, so that deep nesting
// costs memory and not the call stack. The lenient parser keeps every escape but \" as
// written, so escapes that mean something else in JSON are reported with what to write.
#include "strict/StrictSyntax.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "common/ExitStatus.h"
#include "common/HexEncoding.h"
#include "common/Utf8.h"
#include "kelutilsStrings.h"

namespace kel::rez {

namespace {

using __Kind = StrictValue::Kind;
constexpr std::size_t __none = StrictValue::none;

// Root, entry, description, its members, their elements, and the members of those.
constexpr std::size_t __keptDepth = 6;

/// An object or array not yet closed.
struct __Open {
    bool isObject;
    std::size_t value;  // its index among the values, or none when it is too deep to keep
    bool empty = true;
    std::size_t lastChild = __none;
    std::unordered_map<std::string, std::size_t> names = {};  // each member name, where first
};

/// A one-letter escape and the character JSON reads it as, where the lenient parser keeps
/// the escape as written; none for the two that both read alike.
struct __LetterEscape {
    char letter;
    const char* meaning;
};

constexpr __LetterEscape __letterEscapes[] = {
    {'"', nullptr},
    {'\\', nullptr},
    {'/', "\"/\""},
    {'b', "a backspace"},
    {'f', "a form feed"},
    {'n', "a line feed"},
    {'r', "a carriage return"},
    {'t', "a tab"},
};

/// What to write instead of a letter escape: the slash itself; for the others, which no
/// output can hold, the backslash escaped.
std::string __insteadOf(char letter)
{
    if (letter == '/')
        return "\"/\"";
    return std::string("\"\\\\") + letter + "\" to keep both characters, or \"/\" between folders";
}

// What stands at offset, for "found ..." in a message.
std::string __describeFound(const std::string& text, std::size_t offset)
{
    static const std::unordered_map<int, const char*> named = {
        {'\n', "a line feed"}, {'\r', "a carriage return"}, {'\t', "a tab"}, {' ', "a blank"}};
    if (offset >= text.size())
        return "the end of the input";
    if (text.compare(offset, 3, "\xEF\xBB\xBF") == 0)
        return "a byte order mark";
    const unsigned char byte = static_cast<unsigned char>(text[offset]);
    if (named.count(byte))
        return named.at(byte);
    if (byte > ' ' && byte < 0x7F)
        return std::string("'") + static_cast<char>(byte) + "'";
    char name[16];
    std::snprintf(name, sizeof name, "byte 0x%02X", byte);
    return name;
}

/// What a \u escape would mean to a JSON reader, and what to write instead.
std::string __unicodeMeaning(std::uint32_t code)
{
    if (code >= 0xD800 && code <= 0xDFFF)
        return "any character (half of a pair alone); leave it out";
    if (code < 0x20 || code == 0x7F)
        return "a control character, which no output can hold; leave it out";
    std::string written = code == '"' || code == '\\' ? "\\" : "";
    appendUtf8(code, written);
    return "\"" + written + "\"; write \"" + written + "\"";
}

class __StrictReader
{
public:
    __StrictReader(const std::string& text, Diagnostics& diagnostics)
        : __text(text),
          __diagnostics(diagnostics)
    {
    }

    StrictPlaces read()
    {
        __skipWhitespace();
        bool reading = __readValue("a value", __none, {});
        while (reading && !__open.empty())
            reading = __readNext();
        __skipWhitespace();
        if (reading && __offset < __text.size())
            __fail("expected the end of the input after the root value");
        return StrictPlaces(std::move(__values));
    }

private:
    const std::string& __text;
    Diagnostics& __diagnostics;
    std::vector<StrictValue> __values;
    std::vector<__Open> __open;
    std::size_t __offset = 0;

    int __peek() const
    {
        return __offset < __text.size() ? static_cast<unsigned char>(__text[__offset]) : -1;
    }

    /// Skips c when it stands next; true when it did.
    bool __skip(char c)
    {
        if (__peek() != static_cast<unsigned char>(c))
            return false;
        ++__offset;
        return true;
    }

    void __skipWhitespace()
    {
        for (int c = __peek(); c == ' ' || c == '\t' || c == '\n' || c == '\r'; c = __peek())
            ++__offset;
    }

    void __problem(std::size_t offset, std::string message)
    {
        __diagnostics.fail(statusStrictCheckFailed, std::move(message), {offset});
    }

    /// "<what>, found <what stands at found>", reported at offset.
    void __found(std::size_t offset, const std::string& what, std::size_t found)
    {
        __problem(offset, what + ", found " + __describeFound(__text, found));
    }

    // A fault of structure: reported where it stands, and the reading ends.
    bool __fail(const std::string& expected)
    {
        __found(__offset, expected, __offset);
        return false;
    }

    /// In the innermost open container: its end, or its next member or element.
    bool __readNext()
    {
        __skipWhitespace();
        __Open& open = __open.back();
        if (__skip(open.isObject ? '}' : ']')) {
            __open.pop_back();
            return true;
        }
        const bool first = std::exchange(open.empty, false);
        if (!first && !__skip(','))
            return __fail(open.isObject ? "expected ',' or '}' after a member"
                                        : "expected ',' or ']' after an element");
        __skipWhitespace();
        if (!open.isObject)
            return __readValue(first ? "a value or ']'" : "a value", __none, {});
        if (__peek() != '"')
            return __fail(first ? "expected a member name or '}'" : "expected a member name");
        const std::size_t keyOffset = __offset;
        if (!__readString())
            return false;
        std::string name = strictStringText(__text, keyOffset, __offset);
        __noteName(open, name, keyOffset);
        __skipWhitespace();
        if (!__skip(':'))
            return __fail("expected ':' after a member name");
        __skipWhitespace();
        return __readValue("a value", keyOffset, std::move(name));
    }

    void __noteName(__Open& open, const std::string& name, std::size_t keyOffset)
    {
        const auto first = open.names.try_emplace(name, keyOffset);
        if (!first.second)
            __problem(keyOffset, "duplicate member \"" + name + "\"; only the first, at "
                                     + __diagnostics.lineAndColumn(first.first->second)
                                     + ", is read");
    }

    // Keeps the value that starts here when it is shallow enough, linked to its container.
    std::size_t __keep(__Kind kind, std::size_t keyOffset, std::string name)
    {
        if (__open.size() >= __keptDepth || (!__open.empty() && __open.back().value == __none))
            return __none;
        const std::size_t index = __values.size();
        __values.push_back({kind, __offset, __none, keyOffset, std::move(name)});
        if (!__open.empty()) {
            __Open& parent = __open.back();
            const std::size_t last = std::exchange(parent.lastChild, index);
            (last == __none ? __values[parent.value].firstChild : __values[last].nextSibling) =
                index;
        }
        return index;
    }

    bool __readValue(const char* expected, std::size_t keyOffset, std::string name)
    {
        const int c = __peek();
        const char* literal = c == 't' ? "true" : c == 'f' ? "false" : c == 'n' ? "null" : nullptr;
        if (!literal && c != '{' && c != '[' && c != '"' && c != '-' && !std::isdigit(c))
            return __fail(std::string("expected ") + expected);
        const __Kind kind = c == '{'   ? __Kind::object
                            : c == '[' ? __Kind::array
                            : c == '"' ? __Kind::string
                            : literal  ? __Kind::literal
                                       : __Kind::number;
        const std::size_t index = __keep(kind, keyOffset, std::move(name));
        if (kind == __Kind::object || kind == __Kind::array) {
            __open.push_back({kind == __Kind::object, index});
            ++__offset;
            return true;
        }
        if (kind != __Kind::string)
            return literal ? __readLiteral(literal) : __readNumber();
        if (!__readString())
            return false;
        if (index != __none)
            __values[index].end = __offset;
        return true;
    }

    bool __readDigits(const char* expected)
    {
        if (!std::isdigit(__peek()))
            return __fail(expected);
        while (std::isdigit(__peek()))
            ++__offset;
        return true;
    }

    bool __readNumber()
    {
        const std::size_t start = __offset;
        // Only after a '-' can the first digit be missing.
        __skip('-');
        if (!__skip('0') && !__readDigits("expected a digit after '-'"))
            return false;
        if (__skip('.') && !__readDigits("expected a digit after '.'"))
            return false;
        if (!__skip('e') && !__skip('E'))
            return true;
        if (!__skip('+'))
            __skip('-');
        if (!__readDigits("expected a digit in the exponent"))
            return false;
        // Valid JSON, but the lenient parser stops at the letter.
        __problem(start, "numbers with an exponent are not supported");
        return true;
    }

    bool __readLiteral(const char* word)
    {
        for (const char* letter = word; *letter; ++letter, ++__offset)
            if (__peek() != *letter)
                return __fail(std::string("expected '") + *letter + "' of '" + word + "'");
        return true;
    }

    // From the opening quote to past the closing one.
    bool __readString()
    {
        ++__offset;
        for (int c = __peek(); c != '"'; c = __peek()) {
            if (c == -1 || c == '\n')
                return __fail("expected '\"' to end the string");
            if (c == '\\') {
                __readEscape();
            } else if (c == '\r') {
                __problem(__offset++, "a carriage return inside a string cannot reach the "
                                      "outputs as written; leave it out");
            } else if (c < 0x20) {
                __found(__offset, "control characters must be escaped in a string", __offset);
                ++__offset;
            } else if (c >= 0x80) {
                __readUtf8();
            } else {
                ++__offset;
            }
        }
        // Only an escaped backslash can stand before a closing quote; the lenient parser
        // reads the pair as an escaped quote and runs on past the end of the string.
        if (__text[__offset - 1] == '\\')
            __problem(__offset - 1, "a backslash right before the closing '\"' is not supported");
        ++__offset;
        return true;
    }

    /// The escape from backslash up to here, which the lenient parser keeps as written.
    void __keptAsWritten(std::size_t backslash, const std::string& meaning)
    {
        __problem(backslash, "escape \"" + __text.substr(backslash, __offset - backslash)
                                 + "\" is kept as written, not read as " + meaning);
    }

    void __readEscape()
    {
        const std::size_t backslash = __offset++;
        const int c = __peek();
        if (c == 'u')
            return __readUnicodeEscape(backslash);
        for (const __LetterEscape& escape : __letterEscapes)
            if (c == escape.letter) {
                ++__offset;
                if (escape.meaning)
                    __keptAsWritten(backslash, std::string(escape.meaning) + "; write "
                                                   + __insteadOf(escape.letter));
                return;
            }
        // What follows, a NUL byte too, is read as an ordinary character of the string.
        __found(backslash, "expected an escape sequence after '\\'", __offset);
    }

    /// The four hex digits after "\u" at offset as a number, or -1.
    long __unicodeAt(std::size_t offset) const
    {
        if (__text.compare(offset, 2, "\\u") != 0)
            return -1;
        const std::string digits = __text.substr(offset + 2, 4);
        return digits.size() == 4 && firstNonHexDigit(digits) == 4
                   ? std::strtol(digits.c_str(), nullptr, 16)
                   : -1;
    }

    void __readUnicodeEscape(std::size_t backslash)
    {
        long code = __unicodeAt(backslash);
        if (code < 0) {
            const std::size_t digits = firstNonHexDigit(__text.substr(__offset + 1, 4));
            return __found(backslash, "expected four hex digits after '\\u'",
                           __offset + 1 + digits);
        }
        __offset = backslash + 6;
        const long low = __unicodeAt(__offset);
        if (code >= 0xD800 && code <= 0xDBFF && low >= 0xDC00 && low <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            __offset += 6;
        }
        __keptAsWritten(backslash, __unicodeMeaning(static_cast<std::uint32_t>(code)));
    }

    void __readUtf8()
    {
        if (const std::size_t length = utf8SequenceLength(__text, __offset)) {
            __offset += length;
            return;
        }
        __found(__offset, "expected UTF-8 text", __offset);
        // The continuation bytes after a bad byte belong to the same bad sequence.
        for (++__offset; __peek() >= 0x80 && __peek() <= 0xBF;)
            ++__offset;
    }
};

}  // namespace

StrictPlaces readStrictSyntax(const std::string& text, Diagnostics& diagnostics)
{
    return __StrictReader(text, diagnostics).read();
}

std::string strictStringText(const std::string& text, std::size_t openingQuote, std::size_t end)
{
    return kel::utils::stringReplaceAll(text.substr(openingQuote + 1, end - openingQuote - 2),
                                        "\\\"", "\"");
}

}  // namespace kel::rez
