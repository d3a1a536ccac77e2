#include "pipl/PiplRecordReader.h"

namespace kel::rez {

namespace {

/// Reads numbers and codes in one platform's byte order, refusing any that lie past the end.
class __ListCursor
{
public:
    __ListCursor(const unsigned char* bytes, std::size_t size, PiplPlatform platform)
        : __bytes(bytes), __size(size), __platform(platform)
    {
    }

    std::size_t offset() const { return __offset; }
    bool holds(std::uint64_t count) const { return count <= __size - __offset; }

    bool number(unsigned width, std::uint32_t& value)
    {
        if (!holds(width))
            return false;
        value = 0;
        for (unsigned i = 0; i < width; ++i) {
            unsigned index = __platform == PiplPlatform::mac ? i : width - 1 - i;
            value = (value << 8) | __bytes[__offset + index];
        }
        __offset += width;
        return true;
    }

    /// A four-character code; Windows lists store it as a little-endian number.
    bool code(std::string& text)
    {
        std::uint32_t value = 0;
        if (!number(4, value))
            return false;
        text.clear();
        for (int shift = 24; shift >= 0; shift -= 8)
            text += static_cast<char>((value >> shift) & 0xFF);
        return true;
    }

    void take(std::size_t count, std::vector<unsigned char>& data)
    {
        data.assign(__bytes + __offset, __bytes + __offset + count);
        __offset += count;
    }

    void skip(std::size_t count) { __offset += count; }

private:
    const unsigned char* __bytes;
    std::size_t __size;
    PiplPlatform __platform;
    std::size_t __offset = 0;
};

PiplReadList __failure(std::string message)
{
    PiplReadList list;
    list.error = std::move(message);
    return list;
}

}  // namespace

PiplReadList readPiplRecords(const unsigned char* bytes, std::size_t size, PiplPlatform platform)
{
    __ListCursor cursor(bytes, size, platform);
    std::uint32_t reserved = 0, version = 0, count = 0;
    if (platform == PiplPlatform::windows && !cursor.number(2, reserved))
        return __failure("PiPL list ends before its header");
    if (!cursor.number(4, version) || !cursor.number(4, count))
        return __failure("PiPL list ends before its header");
    PiplReadList list;
    for (std::uint32_t index = 0; index < count; ++index) {
        PiplReadRecord record;
        std::uint32_t propertyId = 0, length = 0;
        if (!cursor.code(record.vendor) || !cursor.code(record.key) || !cursor.number(4, propertyId)
            || !cursor.number(4, length))
            return __failure("PiPL property " + std::to_string(index + 1) + " of "
                             + std::to_string(count) + " ends before its header");
        std::uint64_t padded = (static_cast<std::uint64_t>(length) + 3) / 4 * 4;
        if (!cursor.holds(padded))
            return __failure("PiPL property '" + record.key + "' declares "
                             + std::to_string(length) + " bytes past the end of the list");
        cursor.take(length, record.data);
        cursor.skip(static_cast<std::size_t>(padded - length));
        list.records.push_back(std::move(record));
    }
    return list;
}

std::uint32_t piplRecordNumber(const PiplReadRecord& record, PiplPlatform platform)
{
    std::uint32_t value = 0;
    return piplNumberAt(record.data, 0, 4, platform, value) ? value : 0;
}

bool piplNumberAt(const std::vector<unsigned char>& data, std::size_t offset, unsigned width,
                  PiplPlatform platform, std::uint32_t& value)
{
    if (offset > data.size() || width > data.size() - offset)
        return false;
    value = 0;
    for (unsigned i = 0; i < width; ++i)
        value = (value << 8) | data[offset + (platform == PiplPlatform::mac ? i : width - 1 - i)];
    return true;
}

bool piplCodeAt(const std::vector<unsigned char>& data, std::size_t offset, PiplPlatform platform,
                std::string& code)
{
    std::uint32_t value = 0;
    if (!piplNumberAt(data, offset, 4, platform, value))
        return false;
    code.clear();
    for (int shift = 24; shift >= 0; shift -= 8)
        code += static_cast<char>((value >> shift) & 0xFF);
    return true;
}

bool piplLengthPrefixedAt(const std::vector<unsigned char>& data, std::size_t offset,
                          std::string& text)
{
    if (offset >= data.size() || data[offset] > data.size() - offset - 1)
        return false;
    text.assign(data.begin() + offset + 1, data.begin() + offset + 1 + data[offset]);
    return true;
}

bool piplZeroTerminatedAt(const std::vector<unsigned char>& data, std::size_t offset,
                          std::string& text)
{
    for (std::size_t end = offset; end < data.size(); ++end) {
        if (data[end] == 0) {
            text.assign(data.begin() + offset, data.begin() + end);
            return true;
        }
    }
    return false;
}

}  // namespace kel::rez
