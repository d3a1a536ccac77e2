// Each entry of a .res file: data size, header size, type, name (each a 0xFFFF ordinal or
// a zero-ended UTF-16 string), padding to four bytes, data version, memory flags, language,
// version and characteristics, then the data, padded to four bytes. Little-endian.
#include "output/WindowsResourceFile.h"

#include <set>
#include <tuple>

#include "common/ExitStatus.h"
#include "common/Utf8.h"
#include "kelutilsStrings.h"

namespace kel::rez {

namespace {

/// MOVEABLE | PURE | DISCARDABLE, and English (United States): what windres gives the
/// resources of a script without a LANGUAGE statement.
constexpr std::uint16_t __memoryFlags = 0x1030;
constexpr std::uint16_t __language = 0x0409;

void __appendLittleEndian(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(value >> (8 * i));
}

void __padToFour(std::string& out)
{
    out.append((4 - out.size() % 4) % 4, '\0');
}

/// The code points of valid UTF-8 text, or false (an overlong form, a surrogate, a value
/// above U+10FFFF, a cut sequence).
bool __decodeUtf8(const std::string& text, std::u32string& points)
{
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = utf8SequenceLength(text, i);
        if (length == 0)
            return false;
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        char32_t point = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k)
            point = (point << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        points += point;
        i += length;
    }
    return true;
}

/// The zero-ended UTF-16 form of a script word or string, ASCII letters upper-cased as
/// windres does; "" for text the file cannot hold.
std::string __resourceString(const std::string& text)
{
    std::u32string points;
    if (text.empty() || !__decodeUtf8(text, points))
        return "";
    std::string out;
    for (char32_t point : points) {
        if (point == 0)
            return "";
        if (point >= 'a' && point <= 'z')
            point -= 'a' - 'A';
        if (point >= 0x10000) {
            __appendLittleEndian(out, 0xD800 + ((point - 0x10000) >> 10), 2);
            __appendLittleEndian(out, 0xDC00 + ((point - 0x10000) & 0x3FF), 2);
        } else {
            __appendLittleEndian(out, point, 2);
        }
    }
    __appendLittleEndian(out, 0, 2);
    return out;
}

std::string __ordinal(std::uint16_t value)
{
    std::string out;
    __appendLittleEndian(out, 0xFFFF, 2);
    __appendLittleEndian(out, value, 2);
    return out;
}

bool __onlyDigits(const std::string& text)
{
    return text.find_first_not_of("0123456789") == std::string::npos;
}

/// The type as the .rc's bare word reads it: a resource compiler ends the word at a blank.
std::string __scriptWord(const std::string& type)
{
    return type.substr(0, type.find_last_not_of(' ') + 1);
}

std::string __described(const CompiledResource& resource)
{
    return "the " + resource.type + " resource "
           + (resource.keyedByName ? "\"" + resource.name + "\"" : kel::utils::itoa(resource.id));
}

void __appendEntry(std::string& out, const std::string& type, const std::string& name,
                   const std::string& data, std::uint16_t memoryFlags, std::uint16_t language)
{
    std::string header;
    header += type;
    header += name;
    __padToFour(header);
    __appendLittleEndian(header, 0, 4);  // data version
    __appendLittleEndian(header, memoryFlags, 2);
    __appendLittleEndian(header, language, 2);
    __appendLittleEndian(header, 0, 4);  // version
    __appendLittleEndian(header, 0, 4);  // characteristics
    __appendLittleEndian(out, static_cast<std::uint32_t>(data.size()), 4);
    __appendLittleEndian(out, static_cast<std::uint32_t>(8 + header.size()), 4);
    out += header;
    out += data;
    __padToFour(out);
}

CompiledFile __refuse(const std::string& message)
{
    CompiledFile file;
    file.error = message;
    file.status = statusCannotCompile;
    return file;
}

}  // namespace

CompiledFile writeWindowsResourceFile(const CompiledResources& resources)
{
    CompiledFile file;
    __appendEntry(file.bytes, __ordinal(0), __ordinal(0), "", 0, 0);  // marks a 32-bit .res
    std::set<std::tuple<std::string, bool, std::string>> seen;
    for (const CompiledResource& resource : resources) {
        const std::string type = __resourceString(__scriptWord(resource.type));
        if (type.empty() || __onlyDigits(resource.type))
            return __refuse(__described(resource) + " cannot go into a .res file: its type must "
                            "be valid UTF-8 text, not only digits, without zero bytes");
        std::string name = __ordinal(static_cast<std::uint16_t>(resource.id));
        if (resource.keyedByName) {
            name = __resourceString(resource.name);
            if (name.empty())
                return __refuse(__described(resource) + " cannot go into a .res file: its name "
                                "must be valid UTF-8 text without zero bytes");
        }
        if (!seen.insert({type, resource.keyedByName, name}).second)
            return __refuse(__described(resource) + " is listed twice; a .res file holds one "
                            "resource per type and key");
        if (resource.bytes->size() > 0xFFFFFFF0u || file.bytes.size() > 0xFFFFFFF0u)
            return __refuse("the resources hold more data than a .res file can hold");
        __appendEntry(file.bytes, type, name, *resource.bytes, __memoryFlags, __language);
    }
    return file;
}

}  // namespace kel::rez
