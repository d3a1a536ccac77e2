// Layout from the public description of the Mac resource file format, all numbers
// big-endian. Header: data offset, map offset, data length, map length (32-bit each). Each
// resource's data: a 32-bit length and its bytes. Map: a copy of the header, 4 + 2 + 2 bytes
// of run-time fields, the type list's and the name list's offsets from the map (16-bit).
// Type list: count - 1 (16-bit), then per type the code, count - 1 and the offset of its
// reference list from the type list. Reference: ID (16-bit), name offset from the name list
// (0xFFFF: none), attributes (8-bit), data offset from the data area (24-bit), 4 reserved.
// Name: a length byte and the bytes.
#include "inspect/MacResourceFileReader.h"

#include "inspect/ByteView.h"

namespace kel::rez {

namespace {

constexpr std::uint64_t headerSize = 16;
constexpr std::uint64_t mapFixedSize = 28;
constexpr std::uint64_t typeEntrySize = 8;
constexpr std::uint64_t referenceSize = 12;
constexpr std::uint16_t noName = 0xFFFF;

struct MacMap
{
    ByteView data;
    ByteView map;
    ByteView typeList;
    ByteView names;
};

std::string readReference(const MacMap& file, std::uint64_t at, MacResource& resource)
{
    const ByteView& list = file.typeList;
    resource.id = static_cast<std::int16_t>(list.be16(at));
    const std::uint16_t nameOffset = list.be16(at + 2);
    resource.attributes = list.u8(at + 4);
    const std::uint32_t dataOffset = list.be24(at + 5);
    const std::string which = "resource '" + resource.type + "' " + std::to_string(resource.id);
    if (!file.data.holds(dataOffset, 4))
        return "the data of " + which + " lies outside the data area";
    const ByteView bytes = file.data.sub(std::uint64_t(dataOffset) + 4, file.data.be32(dataOffset));
    if (bytes.size() != file.data.be32(dataOffset))
        return "the data of " + which + " runs past the data area";
    resource.bytes = bytes.copy();
    if (nameOffset != noName) {
        const ByteView name = file.names.sub(std::uint64_t(nameOffset) + 1,
                                             file.names.u8(nameOffset));
        if (!file.names.holds(nameOffset, 1) || name.size() != file.names.u8(nameOffset))
            return "the name of " + which + " lies outside the name list";
        resource.hasName = true;
        resource.name = name.text();
    }
    return {};
}

std::string readTypes(const MacMap& file, std::vector<MacResource>& resources)
{
    const ByteView& list = file.typeList;
    if (!list.holds(0, 2))
        return "the resource type list lies outside the resource map";
    // A count of -1 (0xFFFF) stands for no types at all.
    const std::uint64_t typeCount = (list.be16(0) + 1u) & 0xFFFF;
    if (!list.holds(2, typeCount * typeEntrySize))
        return "the resource type list runs past the resource map";
    for (std::uint64_t t = 0; t < typeCount; ++t) {
        const std::uint64_t entry = 2 + t * typeEntrySize;
        const std::string type = list.sub(entry, 4).text();
        const std::uint64_t count = list.be16(entry + 4) + 1u;
        const std::uint64_t references = list.be16(entry + 6);
        if (!list.holds(references, count * referenceSize))
            return "the reference list of type '" + type + "' runs past the resource map";
        for (std::uint64_t r = 0; r < count; ++r) {
            MacResource resource;
            resource.type = type;
            std::string error = readReference(file, references + r * referenceSize, resource);
            if (!error.empty())
                return error;
            resources.push_back(std::move(resource));
        }
    }
    return {};
}

}  // namespace

ReadResult<std::vector<MacResource>> readMacResourceFile(const std::vector<unsigned char>& bytes)
{
    using Result = ReadResult<std::vector<MacResource>>;
    const ByteView file(bytes);
    if (!file.holds(0, headerSize))
        return Result::failure("the resource file is shorter than its 16-byte header");
    MacMap parts;
    parts.data = file.sub(file.be32(0), file.be32(8));
    parts.map = file.sub(file.be32(4), file.be32(12));
    if (parts.data.size() != file.be32(8))
        return Result::failure("the resource data area runs past the end of the file");
    if (parts.map.size() != file.be32(12) || parts.map.size() < mapFixedSize)
        return Result::failure("the resource map runs past the end of the file");
    const std::uint16_t typeListOffset = parts.map.be16(24);
    const std::uint16_t nameListOffset = parts.map.be16(26);
    parts.typeList = parts.map.sub(typeListOffset, parts.map.size() - typeListOffset);
    if (typeListOffset > parts.map.size())
        return Result::failure("the resource type list lies outside the resource map");
    if (nameListOffset <= parts.map.size())
        parts.names = parts.map.sub(nameListOffset, parts.map.size() - nameListOffset);
    Result result;
    std::string error = readTypes(parts, result.value);
    if (!error.empty())
        return Result::failure(error);
    return result;
}

}  // namespace kel::rez
