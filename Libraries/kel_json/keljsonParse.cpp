// The lenient parser: one left-to-right pass, a state machine over explicit stacks, so the
// nesting depth of a document is limited only by memory.
#include "keljsonParse.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "kelutilsStrings.h"

namespace kel::json {

enum __ParseState : std::int32_t {
    psRoot = 1,
    psObject = 2,
    psObjectMember = 4,
    psMemberKey = 8,
    psKeyString = 16,
    psArray = 32,
    psArrayElement = 64,
    psMemberValue = 128,
    psNull = 256,
    psBool = 512,
    psNumber = 1024,
    psValueString = 2048
};

namespace {

constexpr std::int32_t __valueStates = 0xF00;

bool __isParserBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool __isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool __startsNumber(char c)
{
    return c == '-' || c == '.' || __isDigit(c);
}

char __lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when text holds word at pos, each letter in either case.
bool __matchesKeyword(const std::string& text, std::size_t pos, const char* word)
{
    std::size_t length = std::strlen(word);
    if (text.size() - pos < length)
        return false;
    for (std::size_t i = 0; i < length; ++i)
        if (__lower(text[pos + i]) != word[i])
            return false;
    return true;
}

// A string's content starts at start and ends before the first '"' that does not follow a
// backslash of the content; the text's end when there is none. One memchr per quote, so a
// long string costs a scan and a copy, with no work per character.
struct __StringToken {
    std::size_t end;
    std::string value;
};

std::size_t __stringEnd(const std::string& text, std::size_t start, bool& hasEscapedQuote)
{
    const char* base = text.data();
    std::size_t size = text.size();
    std::size_t from = start;
    hasEscapedQuote = false;
    while (from < size) {
        const void* hit = std::memchr(base + from, '"', size - from);
        if (hit == nullptr)
            break;
        std::size_t quote = static_cast<const char*>(hit) - base;
        if (quote > start && base[quote - 1] == '\\') {
            hasEscapedQuote = true;
            from = quote + 1;
            continue;
        }
        return quote;
    }
    return size;
}

/// The token of the content from start to end, its escaped quotes unescaped when it has any.
/// Made where it is returned to, so that the content is neither moved nor copied again.
__StringToken __stringToken(const std::string& text, std::size_t start, std::size_t end,
                            bool hasEscapedQuote)
{
    __StringToken token{end, text.substr(start, end - start)};
    if (hasEscapedQuote)
        token.value = kel::utils::stringReplaceAll(token.value, "\\\"", "\"");
    return token;
}

__StringToken __readString(const std::string& text, std::size_t start)
{
    bool hasEscapedQuote = false;
    const std::size_t end = __stringEnd(text, start, hasEscapedQuote);
    return __stringToken(text, start, end, hasEscapedQuote);
}

// The number token at start: its first character and every following digit or '.'.
std::size_t __numberTokenEnd(const std::string& text, std::size_t start)
{
    std::size_t end = start + 1;
    while (end < text.size() && (__isDigit(text[end]) || text[end] == '.'))
        ++end;
    return end;
}

bool __isFloatToken(const std::string& token)
{
    return token.find('.') != std::string::npos;
}

// strtoll rather than atoll: beyond the 64-bit range it saturates instead of overflowing.
std::int64_t __integerOf(const std::string& token)
{
    return static_cast<std::int64_t>(std::strtoll(token.c_str(), nullptr, 10));
}

double __floatOf(const std::string& token)
{
    return std::strtod(token.c_str(), nullptr);
}

bool __onlyBlanksFrom(const std::string& text, std::size_t pos)
{
    return pos >= text.size() || kel::utils::stringTrim(text.substr(pos)).empty();
}

bool __parseScalarString(const std::string& text, std::size_t pos, ParseEvents& events)
{
    __StringToken token = __readString(text, pos + 1);
    if (!__onlyBlanksFrom(text, token.end + 1))
        return false;
    events.stringValue("", std::move(token.value));
    return true;
}

bool __parseScalarKeyword(const std::string& text, std::size_t pos, ParseEvents& events)
{
    static const char* const words[] = {"true", "false", "null"};
    for (const char* word : words) {
        if (__lower(text[pos]) != word[0])
            continue;
        if (!__matchesKeyword(text, pos, word) || !__onlyBlanksFrom(text, pos + std::strlen(word)))
            return false;
        if (word[0] == 'n')
            events.nullValue("");
        else
            events.boolValue("", word[0] == 't');
        return true;
    }
    return false;
}

// A number token as an integer or, when it holds a '.', a floating value.
void __reportNumber(const std::string& token, const std::string& name, ParseEvents& events)
{
    if (__isFloatToken(token))
        events.floatValue(name, __floatOf(token));
    else
        events.intValue(name, __integerOf(token));
}

bool __parseScalarNumber(const std::string& text, std::size_t pos, ParseEvents& events)
{
    std::size_t end = __numberTokenEnd(text, pos);
    if (!__onlyBlanksFrom(text, end))
        return false;
    __reportNumber(text.substr(pos, end - pos), "", events);
    return true;
}

// The container state machine. It holds no part of the document but the keys in use; what
// it reads goes to the events as soon as it is read.
class __ContainerParser
{
public:
    /// ownText, when given, is text itself, which the parser may then take apart.
    __ContainerParser(const std::string& text, ParseEvents& events, std::string* ownText = nullptr)
        : __text(text)
        , __events(events)
        , __ownText(ownText)
    {
        __states.push_back(psRoot);
        __keys = new std::string[__keyCapacity];
    }

    ~__ContainerParser() { delete[] __keys; }

    __ContainerParser(const __ContainerParser&) = delete;
    __ContainerParser& operator=(const __ContainerParser&) = delete;

    // False when the text is rejected.
    bool run(std::size_t pos)
    {
        __pos = pos;
        while (__pos < __text.size()) {
            const char c = __text[__pos];
            if (__isParserBlank(c))
                ++__pos;  // the commonest byte between tokens, passed without the dispatch
            else if (!__step(c))
                return false;
        }
        return __top() == psRoot;
    }

private:
    bool __step(char c)
    {
        switch (c) {
        case '[':
            __open(Node::TypeArray, psArray, psArrayElement, ']');
            return true;
        case '{':
            __open(Node::TypeObject, psObject, psObjectMember, '}');
            return true;
        case ']':
            return __closeArray();
        case '}':
            return __closeObject();
        case ',':
            __separator();
            return true;
        case ':':
            return __colon();
        case '"':
            return __quote();
        case 't':
        case 'T':
            return __keyword("true", psBool);
        case 'f':
        case 'F':
            return __keyword("false", psBool);
        case 'n':
        case 'N':
            return __keyword("null", psNull);
        default:
            if (__startsNumber(c))
                return __number();
            ++__pos;
            return true;
        }
    }

    std::int32_t __top() const { return __states.back(); }

    // The state just below the top; psRoot sits at the bottom, so this is defined whenever
    // a value state has been pushed on it.
    std::int32_t __belowTop() const { return __states[__states.size() - 2]; }

    void __popIf(std::int32_t state)
    {
        if (__top() == state)
            __states.pop_back();
    }

    void __popValueState()
    {
        if (__top() & __valueStates)
            __states.pop_back();
    }

    /// The name of a new node: the latest key when there is one and the context allows it.
    const std::string& __nameFor(bool contextAllows) const
    {
        static const std::string noName;
        return __keyCount > 0 && contextAllows ? __keys[__keyCount - 1] : noName;
    }

    void __pushKey(std::string key)
    {
        if (__keyCount + 1 > __keyCapacity)
            kel::utils::enlargeArray(__keyCount, __keys, __keyCapacity);
        __keys[__keyCount++] = std::move(key);
    }

    void __discardKeyUnlessInArray()
    {
        if (__keyCount > 0 && __top() != psArrayElement)
            __keys[--__keyCount].clear();
    }

    // With no container open there is nowhere to put a value, so the document is rejected.
    bool __valueHasPlace() const { return __openContainers > 0; }

    void __open(Node::Type type, __ParseState opened, __ParseState expecting, char closer)
    {
        __events.beginContainer(type, __nameFor(__top() != psArrayElement));
        ++__openContainers;
        __states.push_back(opened);
        bool emptyAtOnce = __pos + 1 < __text.size() && __text[__pos + 1] == closer;
        if (!emptyAtOnce)
            __states.push_back(expecting);
        ++__pos;
    }

    void __closeContainer()
    {
        --__openContainers;
        __events.endContainer();
        ++__pos;
    }

    bool __closeArray()
    {
        __popValueState();
        __popIf(psArrayElement);
        if (__top() != psArray)
            return false;
        __states.pop_back();
        __closeContainer();
        return true;
    }

    bool __closeObject()
    {
        __popValueState();
        __popIf(psMemberValue);
        __popIf(psMemberKey);
        __popIf(psObjectMember);
        if (__top() != psObject)
            return false;
        __states.pop_back();
        __closeContainer();
        __discardKeyUnlessInArray();
        return true;
    }

    void __separator()
    {
        __popValueState();
        __popIf(psMemberValue);
        __popIf(psMemberKey);
        __discardKeyUnlessInArray();
        ++__pos;
    }

    bool __colon()
    {
        if (__top() != psMemberKey)
            return false;
        __states.push_back(psMemberValue);
        ++__pos;
        return true;
    }

    bool __quote()
    {
        if (__top() == psKeyString || __top() == psValueString) {
            __states.pop_back();
            ++__pos;
            return true;
        }
        if (__top() == psObjectMember)
            __states.push_back(psMemberKey);
        if (__top() == psMemberKey)
            __states.push_back(psKeyString);
        if (__top() == psArrayElement || __top() == psMemberValue)
            __states.push_back(psValueString);

        __StringToken token = __nextString();
        if (__top() == psKeyString) {
            __pushKey(std::move(token.value));
            return true;
        }
        if (!__valueHasPlace())
            return false;
        __events.stringValue(__nameFor(__belowTop() != psArrayElement), std::move(token.value));
        return true;
    }

    // The string at the position, after which the position is at its closing quote.
    __StringToken __nextString()
    {
        const std::size_t start = __pos + 1;
        bool hasEscapedQuote = false;
        const std::size_t end = __stringEnd(__text, start, hasEscapedQuote);
        if (__ownText && !hasEscapedQuote && 2 * (end - start) > __text.size())
            return __takeOverText(start, end);
        __pos = end;
        return __stringToken(__text, start, end, hasEscapedQuote);
    }

    // A string that is most of the text (a large hex image) keeps the text's own buffer
    // instead of a copy of it, which would double the memory the run needs. What follows
    // the string, from its closing quote on, becomes the text still to read.
    __StringToken __takeOverText(std::size_t start, std::size_t end)
    {
        std::string value = std::move(*__ownText);
        *__ownText = value.substr(end);  // __text is *__ownText
        value.resize(end);
        value.erase(0, start);
        __pos = 0;
        return {0, std::move(value)};
    }

    bool __keyword(const char* word, __ParseState state)
    {
        if (!__matchesKeyword(__text, __pos, word))
            return false;
        if (!__valueHasPlace())
            return false;
        __states.push_back(state);
        const std::string& name = __nameFor(__belowTop() != psArrayElement);
        if (state == psNull)
            __events.nullValue(name);
        else
            __events.boolValue(name, word[0] == 't');
        __pos += std::strlen(word);
        return true;
    }

    bool __number()
    {
        if (!__valueHasPlace())
            return false;
        __states.push_back(psNumber);
        std::size_t end = __numberTokenEnd(__text, __pos);
        __reportNumber(__text.substr(__pos, end - __pos),
                       __nameFor(__belowTop() != psArrayElement), __events);
        __pos = end;
        return true;
    }

    const std::string& __text;
    ParseEvents& __events;
    std::string* __ownText;
    std::size_t __pos = 0;
    std::vector<std::int32_t> __states;
    std::size_t __openContainers = 0;
    std::string* __keys = nullptr;
    unsigned int __keyCount = 0;
    unsigned int __keyCapacity = 2;
};

}  // namespace

namespace {

bool __parseEvents(const std::string& text, ParseEvents& events, std::string* ownText)
{
    std::size_t pos = 0;
    while (pos < text.size() && __isParserBlank(text[pos]))
        ++pos;
    if (pos == text.size())
        return false;
    char first = text[pos];
    if (first == '[' || first == '{')
        return __ContainerParser(text, events, ownText).run(pos);
    if (first == '"')
        return __parseScalarString(text, pos, events);
    if (__startsNumber(first))
        return __parseScalarNumber(text, pos, events);
    return __parseScalarKeyword(text, pos, events);
}

}  // namespace

bool parseEvents(const std::string& text, ParseEvents& events)
{
    return __parseEvents(text, events, nullptr);
}

bool parseEvents(std::string&& text, ParseEvents& events)
{
    return __parseEvents(text, events, &text);
}

Node* parse(const std::string& text)
{
    TreeBuilder builder;
    if (!parseEvents(text, builder))
        return nullptr;
    return builder.takeRoot();
}

}  // namespace kel::json
