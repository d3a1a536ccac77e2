// RFC 8259 syntax with positions: one pass with an explicit stack, so that deep nesting
// costs memory and not the call stack. The lenient parser keeps every escape but \" as
// written, so escapes that mean something else in JSON are reported with what to write.
#include "strict/StrictSyntax.h"

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <unordered_map>

#include "kelutilsStrings.h"

namespace kel::rez {

namespace {

constexpr std::size_t __none = StrictValue::none;

// Root, entry, description, its members, their elements, and the members of those.
constexpr std::size_t __keptDepth = 6;

/// An object or array not yet closed.
struct __Open {
    __Open(bool isObject, std::size_t value)
        : isObject(isObject),
          value(value)
    {
    }

    bool isObject;
    std::size_t value;  // its index in the document, or none when it is too deep to keep
    bool empty = true;
    std::size_t lastChild = __none;
    std::unordered_map<std::string, std::size_t> names;  // each member name and where it first was
};

/// A one-letter escape that JSON reads as another character, and that character.
struct __LetterEscape {
    char letter;
    const char* meaning;
};

constexpr __LetterEscape __letterEscapes[] = {
    {'/', "\"/\""},       {'b', "a backspace"},       {'f', "a form feed"},
    {'n', "a line feed"}, {'r', "a carriage return"}, {'t', "a tab"},
};

/// What to write instead of a letter escape: the slash itself; for the others, which no
/// output can hold, the backslash escaped.
std::string __insteadOf(char letter)
{
    if (letter == '/')
        return "\"/\"";
    return std::string("\"\\\\") + letter + "\" to keep both characters, or \"/\" between folders";
}

bool __isDigit(int c)
{
    return c >= '0' && c <= '9';
}

int __hexValue(int c)
{
    if (__isDigit(c))
        return c - '0';
    if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f')
        return (c | 0x20) - 'a' + 10;
    return -1;
}

std::string __byteName(unsigned char byte)
{
    char name[16];
    std::snprintf(name, sizeof name, "byte 0x%02X", byte);
    return name;
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
    return __byteName(byte);
}

// Length of the well-formed UTF-8 sequence at offset, or 0 when it is not one (overlong
// forms, surrogates and values above U+10FFFF included).
std::size_t __utf8Length(const std::string& text, std::size_t offset)
{
    const unsigned char lead = static_cast<unsigned char>(text[offset]);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, low = lead == 0xE0 ? 0xA0 : 0x80, high = lead == 0xED ? 0x9F : 0xBF;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, low = lead == 0xF0 ? 0x90 : 0x80, high = lead == 0xF4 ? 0x8F : 0xBF;
    if (length == 0 || offset + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char byte = static_cast<unsigned char>(text[offset + i]);
        if (byte < (i == 1 ? low : 0x80) || byte > (i == 1 ? high : 0xBF))
            return 0;
    }
    return length;
}

std::string __utf8Of(std::uint32_t code)
{
    if (code < 0x80)
        return std::string(1, static_cast<char>(code));
    static const unsigned char leads[] = {0, 0xC0, 0xE0, 0xF0};
    const int continuations = code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
    std::string bytes(1, static_cast<char>(leads[continuations] | (code >> (6 * continuations))));
    for (int i = continuations - 1; i >= 0; --i)
        bytes += static_cast<char>(0x80 | ((code >> (6 * i)) & 0x3F));
    return bytes;
}

/// What a \u escape would mean to a JSON reader, and what to write instead.
std::string __unicodeMeaning(std::uint32_t code)
{
    if (code >= 0xD800 && code <= 0xDFFF)
        return "any character (half of a pair alone); leave it out";
    if (code < 0x20 || code == 0x7F)
        return "a control character, which no output can hold; leave it out";
    const std::string written = code == '"' || code == '\\' ? "\\" + __utf8Of(code) : __utf8Of(code);
    return "\"" + written + "\"; write \"" + written + "\"";
}

class __StrictReader
{
public:
    __StrictReader(const std::string& text, StrictProblems& problems)
        : __text(text),
          __problems(problems)
    {
    }

    StrictDocument read()
    {
        __skipWhitespace();
        if (!__readValue("a value", __none, __none))
            return std::move(__document);
        while (!__open.empty())
            if (!__readNext())
                return std::move(__document);
        __skipWhitespace();
        if (__offset < __text.size())
            __fail("expected the end of the input after the root value");
        return std::move(__document);
    }

private:
    const std::string& __text;
    StrictProblems& __problems;
    StrictDocument __document;
    std::vector<__Open> __open;
    std::size_t __offset = 0;

    int __peek(std::size_t ahead = 0) const
    {
        const std::size_t at = __offset + ahead;
        return at < __text.size() ? static_cast<unsigned char>(__text[at]) : -1;
    }

    void __skipWhitespace()
    {
        for (int c = __peek(); c == ' ' || c == '\t' || c == '\n' || c == '\r'; c = __peek())
            ++__offset;
    }

    // A fault of structure: reported where it stands, and the reading ends.
    bool __fail(const std::string& expected)
    {
        __problems.add(__offset, expected + ", found " + __describeFound(__text, __offset));
        return false;
    }

    /// In the innermost open container: its end, or its next member or element.
    bool __readNext()
    {
        __skipWhitespace();
        __Open& open = __open.back();
        if (__peek() == (open.isObject ? '}' : ']')) {
            ++__offset;
            __open.pop_back();
            return true;
        }
        const bool first = open.empty;
        open.empty = false;
        if (!first) {
            if (__peek() != ',')
                return __fail(open.isObject ? "expected ',' or '}' after a member"
                                            : "expected ',' or ']' after an element");
            ++__offset;
            __skipWhitespace();
        }
        if (!open.isObject)
            return __readValue(first ? "a value or ']'" : "a value", __none, __none);
        if (__peek() != '"')
            return __fail(first ? "expected a member name or '}'" : "expected a member name");
        const std::size_t keyOffset = __offset;
        if (!__readString())
            return false;
        __noteName(open, keyOffset);
        const std::size_t keyEnd = __offset;
        __skipWhitespace();
        if (__peek() != ':')
            return __fail("expected ':' after a member name");
        ++__offset;
        __skipWhitespace();
        return __readValue("a value", keyOffset, keyEnd);
    }

    void __noteName(__Open& open, std::size_t keyOffset)
    {
        const std::string name = strictStringText(__text, keyOffset, __offset);
        const auto first = open.names.try_emplace(name, keyOffset);
        if (!first.second)
            __problems.add(keyOffset, "duplicate member \"" + name + "\"; only the first, at "
                                          + __problems.place(first.first->second) + ", is read");
    }

    // Keeps the value that starts here when it is shallow enough, linked to its container.
    std::size_t __keep(StrictValue::Kind kind, std::size_t keyOffset, std::size_t keyEnd)
    {
        if (__open.size() >= __keptDepth || (!__open.empty() && __open.back().value == __none))
            return __none;
        const std::size_t index = __document.values.size();
        StrictValue value{kind, __offset};
        value.keyOffset = keyOffset;
        value.keyEnd = keyEnd;
        __document.values.push_back(value);
        if (!__open.empty()) {
            __Open& parent = __open.back();
            std::size_t& link = parent.lastChild == __none
                                    ? __document.values[parent.value].firstChild
                                    : __document.values[parent.lastChild].nextSibling;
            link = index;
            parent.lastChild = index;
        }
        return index;
    }

    bool __readValue(const char* expected, std::size_t keyOffset, std::size_t keyEnd)
    {
        using Kind = StrictValue::Kind;
        const int c = __peek();
        if (c == '{' || c == '[') {
            const std::size_t index = __keep(c == '{' ? Kind::object : Kind::array, keyOffset, keyEnd);
            __open.emplace_back(c == '{', index);
            ++__offset;
            return true;
        }
        if (c == '"') {
            const std::size_t index = __keep(Kind::string, keyOffset, keyEnd);
            if (!__readString())
                return false;
            if (index != __none)
                __document.values[index].end = __offset;
            return true;
        }
        if (c == '-' || __isDigit(c)) {
            __keep(Kind::number, keyOffset, keyEnd);
            return __readNumber();
        }
        for (const char* word : {"true", "false", "null"})
            if (c == word[0]) {
                __keep(Kind::literal, keyOffset, keyEnd);
                return __readLiteral(word);
            }
        return __fail(std::string("expected ") + expected);
    }

    bool __readDigits(const char* expected)
    {
        if (!__isDigit(__peek()))
            return __fail(expected);
        while (__isDigit(__peek()))
            ++__offset;
        return true;
    }

    /// Skips c when it stands next; true when it did.
    bool __skip(std::initializer_list<char> characters)
    {
        for (char c : characters)
            if (__peek() == static_cast<unsigned char>(c)) {
                ++__offset;
                return true;
            }
        return false;
    }

    bool __readNumber()
    {
        const std::size_t start = __offset;
        if (__skip({'-'}) && !__isDigit(__peek()))
            return __fail("expected a digit after '-'");
        if (!__skip({'0'}))
            __readDigits("expected a digit");
        if (__skip({'.'}) && !__readDigits("expected a digit after '.'"))
            return false;
        if (!__skip({'e', 'E'}))
            return true;
        __skip({'+', '-'});
        if (!__readDigits("expected a digit in the exponent"))
            return false;
        // Valid JSON, but the lenient parser stops at the letter.
        __problems.add(start, "numbers with an exponent are not supported");
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
            if (c == '\\')
                __readEscape();
            else if (c == '\r')
                __problem(__offset++, "a carriage return inside a string cannot reach the "
                                      "outputs as written; leave it out");
            else if (c < 0x20)
                __readControlCharacter();
            else if (c >= 0x80)
                __readUtf8();
            else
                ++__offset;
        }
        // Only an escaped backslash can stand before a closing quote; the lenient parser
        // reads the pair as an escaped quote and runs on past the end of the string.
        if (__text[__offset - 1] == '\\')
            __problem(__offset - 1, "a backslash right before the closing '\"' is not supported");
        ++__offset;
        return true;
    }

    void __problem(std::size_t offset, const std::string& message)
    {
        __problems.add(offset, message);
    }

    void __readControlCharacter()
    {
        __problem(__offset, "control characters must be escaped in a string, found "
                                + __describeFound(__text, __offset));
        ++__offset;
    }

    void __readEscape()
    {
        const std::size_t backslash = __offset++;
        const int c = __peek();
        if (c == '"' || c == '\\') {
            ++__offset;
            return;
        }
        if (c == 'u')
            return __readUnicodeEscape(backslash);
        for (const __LetterEscape& escape : __letterEscapes)
            if (c == escape.letter) {
                ++__offset;
                return __problem(backslash, "escape \"" + __text.substr(backslash, 2)
                                                + "\" is kept as written, not read as "
                                                + escape.meaning + "; write " + __insteadOf(escape.letter));
            }
        // What follows, a NUL byte too, is read as an ordinary character of the string.
        __problem(backslash, "expected an escape sequence after '\\', found "
                                 + __describeFound(__text, __offset));
    }

    /// The four hex digits after "\u" at offset as a number, or -1.
    long __unicodeAt(std::size_t offset) const
    {
        if (__text.compare(offset, 2, "\\u") != 0)
            return -1;
        long code = 0;
        for (std::size_t i = 2; i < 6; ++i) {
            const int digit = offset + i < __text.size() ? __hexValue(__text[offset + i]) : -1;
            if (digit < 0)
                return -1;
            code = code * 16 + digit;
        }
        return code;
    }

    void __readUnicodeEscape(std::size_t backslash)
    {
        long code = __unicodeAt(backslash);
        if (code < 0) {
            std::size_t digits = 0;
            while (digits < 4 && __hexValue(__peek(1 + digits)) >= 0)
                ++digits;
            return __problem(backslash, "expected four hex digits after '\\u', found "
                                            + __describeFound(__text, __offset + 1 + digits));
        }
        __offset = backslash + 6;
        const long low = __unicodeAt(__offset);
        if (code >= 0xD800 && code <= 0xDBFF && low >= 0xDC00 && low <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            __offset += 6;
        }
        __problem(backslash, "escape \"" + __text.substr(backslash, __offset - backslash)
                                 + "\" is kept as written, not read as "
                                 + __unicodeMeaning(static_cast<std::uint32_t>(code)));
    }

    void __readUtf8()
    {
        const std::size_t length = __utf8Length(__text, __offset);
        if (length > 0) {
            __offset += length;
            return;
        }
        __problem(__offset, "expected UTF-8 text, found "
                                + __byteName(static_cast<unsigned char>(__text[__offset])));
        // The continuation bytes after a bad byte belong to the same bad sequence.
        for (++__offset; __peek() >= 0x80 && __peek() <= 0xBF;)
            ++__offset;
    }
};

}  // namespace

StrictDocument readStrictSyntax(const std::string& text, StrictProblems& problems)
{
    return __StrictReader(text, problems).read();
}

std::string strictStringText(const std::string& text, std::size_t openingQuote, std::size_t end)
{
    return kel::utils::stringReplaceAll(text.substr(openingQuote + 1, end - openingQuote - 2),
                                        "\\\"", "\"");
}

}  // namespace kel::rez
