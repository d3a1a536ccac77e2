// RFC 8259 syntax with positions: one pass with an explicit stack, so that deep nesting
// costs memory and not the call stack.
#include "strict/StrictSyntax.h"

#include <cstdio>
#include <cstring>
#include <unordered_map>

#include "kelutilsStrings.h"

namespace kel::rez {

namespace {

constexpr std::size_t __none = StrictValue::none;

// Root, entry, description, its members, their elements, and the members of those.
constexpr std::size_t __keptDepth = 6;

// What an open container accepts next.
enum class __Expect { memberOrEnd, member, colon, commaOrBrace, valueOrEnd, value, commaOrBracket };

struct __Frame {
    __Frame(bool isObject, std::size_t value)
        : expect(isObject ? __Expect::memberOrEnd : __Expect::valueOrEnd),
          value(value)
    {
    }

    __Expect expect;
    std::size_t value;  // its index in the document, or none when it is too deep to keep
    std::size_t lastChild = __none;
    std::size_t keyOffset = __none;  // the member name just read
    std::size_t keyEnd = __none;
    std::unordered_map<std::string, std::size_t> names;  // each member name and where it first was
};

bool __isDigit(int c)
{
    return c >= '0' && c <= '9';
}

bool __isHexDigit(int c)
{
    return __isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
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
    if (offset >= text.size())
        return "the end of the input";
    if (text.compare(offset, 3, "\xEF\xBB\xBF") == 0)
        return "a byte order mark";
    const unsigned char byte = static_cast<unsigned char>(text[offset]);
    switch (byte) {
    case '\n':
        return "a line feed";
    case '\r':
        return "a carriage return";
    case '\t':
        return "a tab";
    case ' ':
        return "a blank";
    default:
        break;
    }
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
        if (__readValue("a value", __none, __none)) {
            while (!__frames.empty())
                if (!__step())
                    return std::move(__document);
            __skipWhitespace();
            if (__offset < __text.size())
                __fail("expected the end of the input after the root value");
        }
        return std::move(__document);
    }

private:
    const std::string& __text;
    StrictProblems& __problems;
    StrictDocument __document;
    std::vector<__Frame> __frames;
    std::size_t __offset = 0;

    int __peek() const
    {
        return __offset < __text.size() ? static_cast<unsigned char>(__text[__offset]) : -1;
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

    // One move inside the innermost open container.
    bool __step()
    {
        __skipWhitespace();
        __Frame& frame = __frames.back();
        const int c = __peek();
        switch (frame.expect) {
        case __Expect::memberOrEnd:
            if (c == '}')
                return __close();
            if (c != '"')
                return __fail("expected a member name or '}'");
            return __readName(frame);
        case __Expect::member:
            if (c != '"')
                return __fail("expected a member name");
            return __readName(frame);
        case __Expect::colon: {
            if (c != ':')
                return __fail("expected ':' after a member name");
            ++__offset;
            __skipWhitespace();
            frame.expect = __Expect::commaOrBrace;
            // frame may move when the value opens a container: the name is copied first.
            const std::size_t keyOffset = frame.keyOffset, keyEnd = frame.keyEnd;
            return __readValue("a value", keyOffset, keyEnd);
        }
        case __Expect::commaOrBrace:
            return __readSeparator(frame, c, '}', "expected ',' or '}' after a member",
                                   __Expect::member);
        case __Expect::valueOrEnd:
            if (c == ']')
                return __close();
            frame.expect = __Expect::commaOrBracket;
            return __readValue("a value or ']'", __none, __none);
        case __Expect::value:
            frame.expect = __Expect::commaOrBracket;
            return __readValue("a value", __none, __none);
        case __Expect::commaOrBracket:
            return __readSeparator(frame, c, ']', "expected ',' or ']' after an element",
                                   __Expect::value);
        }
        return false;
    }

    // After a member or an element: a comma, then next, or the end of the container.
    bool __readSeparator(__Frame& frame, int c, char closing, const char* expected, __Expect next)
    {
        if (c == closing)
            return __close();
        if (c != ',')
            return __fail(expected);
        ++__offset;
        frame.expect = next;
        return true;
    }

    bool __close()
    {
        ++__offset;
        __frames.pop_back();
        return true;
    }

    bool __readName(__Frame& frame)
    {
        const std::size_t start = __offset;
        if (!__readString())
            return false;
        frame.keyOffset = start;
        frame.keyEnd = __offset;
        frame.expect = __Expect::colon;
        const std::string name = strictStringText(__text, start, __offset);
        const auto first = frame.names.try_emplace(name, start);
        if (!first.second)
            __problems.add(start, "duplicate member \"" + name + "\"; only the first, at "
                                      + __problems.place(first.first->second) + ", is read");
        return true;
    }

    // Keeps a value that starts at the offset when it is shallow enough, linked to its container.
    std::size_t __keep(StrictValue::Kind kind, std::size_t keyOffset, std::size_t keyEnd)
    {
        if (__frames.size() >= __keptDepth
            || (!__frames.empty() && __frames.back().value == __none))
            return __none;
        const std::size_t index = __document.values.size();
        StrictValue value{kind, __offset};
        value.keyOffset = keyOffset;
        value.keyEnd = keyEnd;
        __document.values.push_back(value);
        if (!__frames.empty()) {
            __Frame& parent = __frames.back();
            if (parent.lastChild == __none)
                __document.values[parent.value].firstChild = index;
            else
                __document.values[parent.lastChild].nextSibling = index;
            parent.lastChild = index;
        }
        return index;
    }

    bool __readValue(const char* expected, std::size_t keyOffset, std::size_t keyEnd)
    {
        using Kind = StrictValue::Kind;
        const int c = __peek();
        if (c == '{' || c == '[') {
            const bool isObject = c == '{';
            const std::size_t index =
                __keep(isObject ? Kind::object : Kind::array, keyOffset, keyEnd);
            __frames.emplace_back(isObject, index);
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
        if (c == 't' || c == 'f' || c == 'n') {
            __keep(Kind::literal, keyOffset, keyEnd);
            return __readLiteral(c == 't' ? "true" : c == 'f' ? "false" : "null");
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

    bool __readNumber()
    {
        const std::size_t start = __offset;
        if (__peek() == '-') {
            ++__offset;
            if (!__isDigit(__peek()))
                return __fail("expected a digit after '-'");
        }
        if (__peek() == '0')
            ++__offset;
        else
            __readDigits("expected a digit");
        if (__peek() == '.') {
            ++__offset;
            if (!__readDigits("expected a digit after '.'"))
                return false;
        }
        if (__peek() == 'e' || __peek() == 'E') {
            ++__offset;
            if (__peek() == '+' || __peek() == '-')
                ++__offset;
            if (!__readDigits("expected a digit in the exponent"))
                return false;
            // Valid JSON, but the lenient parser stops at the letter.
            __problems.add(start, "numbers with an exponent are not supported");
        }
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
        for (;;) {
            const int c = __peek();
            if (c == '"')
                break;
            if (c == -1 || c == '\n' || c == '\r')
                return __fail("expected '\"' to end the string");
            if (c == '\\')
                __readEscape();
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
            __problems.add(__offset - 1,
                           "a backslash right before the closing '\"' is not supported");
        ++__offset;
        return true;
    }

    void __readEscape()
    {
        const std::size_t backslash = __offset++;
        const int c = __peek();
        if (c != -1 && std::strchr("\"\\/bfnrt", c)) {
            ++__offset;
            return;
        }
        if (c == 'u') {
            std::size_t digits = 0;
            while (digits < 4 && __offset + 1 + digits < __text.size()
                   && __isHexDigit(static_cast<unsigned char>(__text[__offset + 1 + digits])))
                ++digits;
            if (digits == 4) {
                __offset += 5;
                return;
            }
            __problems.add(backslash, "expected four hex digits after '\\u', found "
                                          + __describeFound(__text, __offset + 1 + digits));
            return;
        }
        // What follows is read as an ordinary character of the string.
        __problems.add(backslash, "expected an escape sequence after '\\', found "
                                      + __describeFound(__text, __offset));
    }

    void __readControlCharacter()
    {
        __problems.add(__offset, "control characters must be escaped in a string, found "
                                     + __describeFound(__text, __offset));
        ++__offset;
    }

    void __readUtf8()
    {
        const std::size_t length = __utf8Length(__text, __offset);
        if (length > 0) {
            __offset += length;
            return;
        }
        __problems.add(__offset, "expected UTF-8 text, found "
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
