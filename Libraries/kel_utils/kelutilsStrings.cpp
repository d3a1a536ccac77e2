// Byte-string functions, string-form conversions and number-to-text conversions.
#include "kelutilsStrings.h"
#include "kelutilsUtf8.h"

#include <algorithm>
#include <cstring>
#include <locale>
#include <sstream>

namespace kel::utils {

namespace {

const char* const __blankBytes = " \t\v\r\n\f";

/// Maps single bytes with mapByte and copies multi-byte UTF-8 sequences unchanged.
template <typename ByteMapping>
std::string __mapAsciiBytes(const std::string& text, ByteMapping mapByte)
{
    std::string result;
    result.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        const std::size_t length = __utf8SequenceLength(byte);
        if (length == 1) {
            result += static_cast<char>(mapByte(byte));
            ++i;
        } else {
            const std::size_t kept = std::min(length, text.size() - i);
            result.append(text, i, kept);
            i += kept;
        }
    }
    return result;
}

/// ASCII-only mappings, the same as toupper / tolower in the default locale.
int __asciiUpper(unsigned char byte)
{
    return byte >= 'a' && byte <= 'z' ? byte - 'a' + 'A' : byte;
}
int __asciiLower(unsigned char byte)
{
    return byte >= 'A' && byte <= 'Z' ? byte - 'A' + 'a' : byte;
}

template <typename Number>
std::string __streamText(Number value)
{
    std::ostringstream stream;
    stream.imbue(std::locale::classic());  // no digit grouping, whatever the global locale
    stream << value;
    return stream.str();
}

/// New array: length byte, the bytes, a zero byte. Null when bytes are longer than 255.
unsigned char* __newPString(const char* bytes, std::size_t length)
{
    if (length > 255)
        return nullptr;
    unsigned char* pString = new unsigned char[length + 2];
    pString[0] = static_cast<unsigned char>(length);
    std::memcpy(pString + 1, bytes, length);
    pString[length + 1] = 0;
    return pString;
}

/// The counted bytes of a length-prefixed string, up to the first zero byte among them.
std::size_t __pStringLength(const unsigned char* pString)
{
    std::size_t length = 0;
    while (length < pString[0] && pString[1 + length] != 0)
        ++length;
    return length;
}

}  // namespace

unsigned int stringSubstrCount(const std::string& text, const std::string& pattern)
{
    if (pattern.empty() || pattern.size() > text.size())
        return 0;
    unsigned int count = 0;
    for (std::size_t at = text.find(pattern); at != std::string::npos;
         at = text.find(pattern, at + 1))
        ++count;
    return count;
}

bool stringSplit(const std::string& text, const std::string& delimiter, std::string*& parts,
                 unsigned int& count)
{
    const unsigned int occurrences = stringSubstrCount(text, delimiter);
    count = occurrences;
    if (occurrences == 0)
        return false;
    // Occurrences are counted overlapping but cut apart without overlap, so an overlapping
    // delimiter leaves empty slots at the end.
    count = occurrences + 1;
    parts = new std::string[count];
    unsigned int slot = 0;
    std::size_t position = 0;
    while (slot < count) {
        const std::size_t found = text.find(delimiter, position);
        if (found == std::string::npos) {
            parts[slot] = text.substr(position);
            break;
        }
        parts[slot++] = text.substr(position, found - position);
        position = found + delimiter.size();
        if (position >= text.size())
            break;
    }
    return true;
}

std::string stringTrim(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(__blankBytes);
    if (first == std::string::npos)
        return "";
    const std::size_t last = text.find_last_not_of(__blankBytes);
    return text.substr(first, last - first + 1);
}

std::string stringReplaceAll(const std::string& text, const std::string& find,
                             const std::string& replacement)
{
    if (find.empty() || text.empty())
        return text;
    std::size_t found = text.find(find);
    if (found == std::string::npos)
        return text;
    // Built by appending so that many replacements in a long text stay linear.
    std::string result;
    result.reserve(text.size());
    std::size_t copied = 0;
    while (found != std::string::npos) {
        result.append(text, copied, found - copied);
        result += replacement;
        copied = found + find.size();
        found = text.find(find, copied);
    }
    result.append(text, copied, std::string::npos);
    return result;
}

std::string stringUpper(const std::string& text)
{
    return __mapAsciiBytes(text, __asciiUpper);
}

std::string stringLower(const std::string& text)
{
    return __mapAsciiBytes(text, __asciiLower);
}

std::string bytesUpper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(__asciiUpper(static_cast<unsigned char>(c)));
    return text;
}

std::string bytesLower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(__asciiLower(static_cast<unsigned char>(c)));
    return text;
}

std::string itoa(int value)
{
    return std::to_string(value);
}

std::string ltoa(std::int64_t value)
{
    return std::to_string(value);
}

std::string ftoa(float value)
{
    return __streamText(value);
}

std::string dtoa(double value)
{
    return __streamText(value);
}

std::string ldtoa(long double value)
{
    return __streamText(value);
}

char* stdStringToCString(const std::string& text)
{
    char* copy = new char[text.size() + 1]();
    const std::size_t length = std::strlen(text.c_str());
    std::memcpy(copy, text.data(), length);
    return copy;
}

std::string cStringToStdString(const char* text)
{
    return text ? std::string(text) : std::string();
}

bool unconstCString(const char* text, char*& copy)
{
    const std::size_t size = std::strlen(text) + 1;
    copy = new char[size];
    std::memcpy(copy, text, size);
    return true;
}

std::string fourCharCodeToString(int code)
{
    if (code <= 32767)
        return ltoa(code);
    const auto bits = static_cast<std::uint32_t>(code);
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>((bits >> (24 - 8 * i)) & 0xFF);
    return bytes;
}

bool stdStringToPString(const std::string& text, unsigned char*& result)
{
    result = __newPString(text.c_str(), std::strlen(text.c_str()));
    return result != nullptr;
}

bool cStringToPString(const char* text, unsigned char*& result)
{
    result = nullptr;
    if (!text)
        return false;
    result = __newPString(text, std::strlen(text));
    return result != nullptr;
}

bool pStringToStdString(const unsigned char* pString, std::string& result)
{
    if (!pString)
        return false;
    result.assign(reinterpret_cast<const char*>(pString + 1), __pStringLength(pString));
    return true;
}

bool pStringToCString(const unsigned char* pString, char*& result)
{
    result = nullptr;
    if (!pString)
        return false;
    const std::size_t length = __pStringLength(pString);
    result = new char[length + 1];
    std::memcpy(result, pString + 1, length);
    result[length] = '\0';
    return true;
}

}  // namespace kel::utils
