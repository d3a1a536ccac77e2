// The layout follows the Resource Manager's description of a resource file: a 256-byte
// header (four offsets and lengths, the rest reserved), the data area of length-prefixed
// resource data, then the map: a copy of the header, 8 reserved bytes, the offsets of the
// type list and the name list, the type list, the reference lists and the name list. All
// integers are big-endian.
#include "output/MacResourceFile.h"

#include <map>
#include <set>
#include <utility>

#include "common/ExitStatus.h"
#include "kelutilsStrings.h"

namespace kel::rez {

namespace {

constexpr std::size_t __headerSize = 256;
constexpr std::size_t __mapHeaderSize = 28;  // header copy, reserved, two list offsets
constexpr std::size_t __typeEntrySize = 8;
constexpr std::size_t __referenceSize = 12;
constexpr std::size_t __largestDataOffset = 0xFFFFFF;  // 24 bits in a reference
constexpr std::size_t __largestMapOffset = 0xFFFF;
constexpr std::uint16_t __noName = 0xFFFF;

void __putBigEndian(std::string& out, std::size_t at, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out[at + i] = static_cast<char>(value >> (8 * (bytes - 1 - i)));
}

void __appendBigEndian(std::string& out, std::uint32_t value, int bytes)
{
    out.append(static_cast<std::size_t>(bytes), '\0');
    __putBigEndian(out, out.size() - bytes, value, bytes);
}

CompiledFile __refuse(const std::string& message)
{
    CompiledFile file;
    file.error = message;
    file.status = statusCannotCompile;
    return file;
}

std::string __described(const CompiledResource& resource)
{
    return "the " + resource.type + " resource " + kel::utils::itoa(resource.id);
}

/// The resources grouped by type, types in order of first appearance.
using __TypeGroups = std::vector<std::pair<std::string, std::vector<const CompiledResource*>>>;

std::string __checkAndGroup(const CompiledResources& resources, __TypeGroups& groups)
{
    std::map<std::string, std::size_t> groupOfType;
    std::set<std::pair<std::string, std::int16_t>> seen;
    for (const CompiledResource& resource : resources) {
        if (resource.type.size() > 4)
            return __described(resource) + " cannot go into a Mac resource file: its type is "
                   "longer than four bytes";
        if (resource.name.size() > 255)
            return __described(resource) + " cannot go into a Mac resource file: its name is "
                   "longer than 255 bytes";
        if (!seen.insert({resource.type, resource.id}).second)
            return __described(resource) + " is listed twice; a Mac resource file holds one "
                   "resource per type and ID";
        auto found = groupOfType.emplace(resource.type, groups.size());
        if (found.second)
            groups.push_back({resource.type, {}});
        groups[found.first->second].second.push_back(&resource);
    }
    return "";
}

/// The four bytes of a type: right-aligned, zero bytes before a shorter one.
void __appendType(std::string& out, const std::string& type)
{
    out.append(4 - type.size(), '\0');
    out += type;
}

}  // namespace

CompiledFile writeMacResourceFile(const CompiledResources& resources)
{
    __TypeGroups groups;
    if (std::string problem = __checkAndGroup(resources, groups); !problem.empty())
        return __refuse(problem);

    CompiledFile file;
    std::string& out = file.bytes;
    out.assign(__headerSize, '\0');

    // The data area, and where each resource's data begins in it.
    std::map<const CompiledResource*, std::size_t> dataOffset;
    for (const auto& group : groups)
        for (const CompiledResource* resource : group.second) {
            const std::size_t offset = out.size() - __headerSize;
            if (offset > __largestDataOffset || resource->bytes->size() > 0xFFFFFFFFu)
                return __refuse("the resources hold more data than a Mac resource file can "
                                "address (16 MiB)");
            dataOffset[resource] = offset;
            __appendBigEndian(out, static_cast<std::uint32_t>(resource->bytes->size()), 4);
            out += *resource->bytes;
        }
    const std::size_t mapStart = out.size();
    if (mapStart > 0x7FFFFFFF)
        return __refuse("the resources hold more data than a Mac resource file can "
                        "address (16 MiB)");
    const std::size_t dataLength = mapStart - __headerSize;

    const std::size_t typeListSize = 2 + __typeEntrySize * groups.size();
    const std::size_t nameListOffset = __mapHeaderSize + typeListSize
                                       + __referenceSize * resources.size();
    if (groups.size() > 0x10000 || nameListOffset > __largestMapOffset)
        return __refuse("the resources have more types and IDs than a Mac resource file's map "
                        "can address");

    out.append(16 + 8, '\0');  // the header copy is filled in below; reserved bytes stay 0
    __appendBigEndian(out, static_cast<std::uint32_t>(__mapHeaderSize), 2);
    __appendBigEndian(out, static_cast<std::uint32_t>(nameListOffset), 2);
    __appendBigEndian(out, static_cast<std::uint32_t>(groups.size() - 1), 2);  // 0xFFFF: none

    std::size_t referenceListOffset = typeListSize;
    for (const auto& group : groups) {
        __appendType(out, group.first);
        __appendBigEndian(out, static_cast<std::uint32_t>(group.second.size() - 1), 2);
        __appendBigEndian(out, static_cast<std::uint32_t>(referenceListOffset), 2);
        referenceListOffset += __referenceSize * group.second.size();
    }

    std::string names;
    for (const auto& group : groups)
        for (const CompiledResource* resource : group.second) {
            __appendBigEndian(out, static_cast<std::uint16_t>(resource->id), 2);
            if (resource->name.empty()) {
                __appendBigEndian(out, __noName, 2);
            } else {
                if (names.size() >= __noName)
                    return __refuse("the resources' names are longer together than a Mac "
                                    "resource file's map can address");
                __appendBigEndian(out, static_cast<std::uint32_t>(names.size()), 2);
                names += static_cast<char>(resource->name.size());
                names += resource->name;
            }
            out += '\0';  // attributes
            __appendBigEndian(out, static_cast<std::uint32_t>(dataOffset[resource]), 3);
            __appendBigEndian(out, 0, 4);  // handle, filled in by the Resource Manager
        }
    out += names;

    const std::size_t mapLength = out.size() - mapStart;
    for (std::size_t at : {std::size_t(0), mapStart}) {
        __putBigEndian(out, at, static_cast<std::uint32_t>(__headerSize), 4);
        __putBigEndian(out, at + 4, static_cast<std::uint32_t>(mapStart), 4);
        __putBigEndian(out, at + 8, static_cast<std::uint32_t>(dataLength), 4);
        __putBigEndian(out, at + 12, static_cast<std::uint32_t>(mapLength), 4);
    }
    return file;
}

}  // namespace kel::rez
