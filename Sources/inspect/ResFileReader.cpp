// Each entry: data size and header size (32-bit little-endian), the type and the name
// (0xFFFF and a 16-bit ordinal, or zero-terminated UTF-16), padding to 4 bytes, data version
// (32), memory flags (16), language (16), version (32), characteristics (32); then the data,
// padded to 4 bytes. The first entry is an empty one with type and name 0.
#include "inspect/ResFileReader.h"

#include <algorithm>

namespace kel::rez {

namespace {

constexpr std::uint64_t fixedFieldsAfterNames = 16;

std::uint64_t alignedTo4(std::uint64_t value) { return (value + 3) & ~std::uint64_t(3); }

/// Reads a type or name at offset inside header and moves offset past it.
bool readId(const ByteView& header, std::uint64_t& offset, WindowsResourceId& id)
{
    if (!header.holds(offset, 2))
        return false;
    if (header.le16(offset) == 0xFFFF) {
        if (!header.holds(offset, 4))
            return false;
        id.ordinal = header.le16(offset + 2);
        offset += 4;
        return true;
    }
    id.isOrdinal = false;
    std::uint64_t end = offset;
    while (header.holds(end, 2) && header.le16(end) != 0)
        end += 2;
    if (!header.holds(end, 2) || !appendUtf16AsUtf8(header, offset, (end - offset) / 2, id.name))
        return false;
    offset = end + 2;
    return true;
}

bool isEmptyEntry(const WindowsResource& resource)
{
    return resource.bytes.empty() && resource.type.isOrdinal && resource.type.ordinal == 0 &&
           resource.name.isOrdinal && resource.name.ordinal == 0;
}

}  // namespace

bool looksLikeResFile(const std::vector<unsigned char>& bytes)
{
    static const unsigned char opening[] = {0, 0, 0, 0, 0x20, 0, 0, 0, 0xFF, 0xFF, 0, 0,
                                            0xFF, 0xFF, 0, 0};
    return bytes.size() >= sizeof opening &&
           std::equal(opening, opening + sizeof opening, bytes.begin());
}

ReadResult<std::vector<WindowsResource>> readResFile(const std::vector<unsigned char>& bytes)
{
    using Result = ReadResult<std::vector<WindowsResource>>;
    const ByteView file(bytes);
    Result result;
    std::uint64_t offset = 0;
    for (unsigned number = 1; offset < file.size(); ++number) {
        const std::string which = ".res entry " + std::to_string(number) + " (at " +
                                  hexNumber(offset) + ")";
        if (!file.holds(offset, 8))
            return Result::failure(which + " is cut short in its sizes");
        const std::uint32_t dataSize = file.le32(offset);
        const std::uint32_t headerSize = file.le32(offset + 4);
        const ByteView header = file.sub(offset, headerSize);
        if (header.size() != headerSize)
            return Result::failure(which + " has a header running past the end of the file");
        WindowsResource resource;
        std::uint64_t at = 8;
        if (!readId(header, at, resource.type) || !readId(header, at, resource.name))
            return Result::failure(which + " has a type or name running past its header");
        at = alignedTo4(at);
        if (!header.holds(at, fixedFieldsAfterNames))
            return Result::failure(which + " has a header too short for its fields");
        resource.language = header.le16(at + 6);
        const ByteView data = file.sub(offset + headerSize, dataSize);
        if (data.size() != dataSize)
            return Result::failure(which + " has data running past the end of the file");
        resource.bytes = data.copy();
        if (!(number == 1 && isEmptyEntry(resource)))
            result.value.push_back(std::move(resource));
        offset = alignedTo4(offset + headerSize + dataSize);
    }
    return result;
}

}  // namespace kel::rez
