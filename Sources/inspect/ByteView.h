// A bounded window on a file's bytes: the readers of built modules take every number and
// string through it, so no offset taken from the file can reach past the bytes that exist.
#ifndef VANTREL_INSPECT_BYTE_VIEW_H
#define VANTREL_INSPECT_BYTE_VIEW_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kel::rez {

class ByteView
{
public:
    ByteView() = default;
    ByteView(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}
    explicit ByteView(const std::vector<unsigned char>& bytes)
        : data_(bytes.data()), size_(bytes.size())
    {
    }

    std::size_t size() const { return size_; }

    /// True when count bytes from offset lie inside the view (no overflow on huge values).
    bool holds(std::uint64_t offset, std::uint64_t count) const
    {
        return offset <= size_ && count <= size_ - offset;
    }

    /// The count bytes from offset; an empty view when they do not lie inside this one.
    ByteView sub(std::uint64_t offset, std::uint64_t count) const;

    // Numbers at offset; 0 when they do not lie inside the view (callers check holds first
    // where a missing field is an error rather than a zero).
    std::uint8_t u8(std::uint64_t offset) const;
    std::uint16_t le16(std::uint64_t offset) const;
    std::uint32_t le32(std::uint64_t offset) const;
    std::uint64_t le64(std::uint64_t offset) const;
    std::uint16_t be16(std::uint64_t offset) const;
    std::uint32_t be24(std::uint64_t offset) const;
    std::uint32_t be32(std::uint64_t offset) const;
    std::uint64_t be64(std::uint64_t offset) const;

    /// The bytes of a zero-terminated string at offset, without the terminator. False when
    /// no terminator is found within maxLength bytes or before the end of the view.
    bool zeroTerminated(std::uint64_t offset, std::size_t maxLength, std::string& text) const;

    std::vector<unsigned char> copy() const { return {data_, data_ + size_}; }
    std::string text() const { return {reinterpret_cast<const char*>(data_), size_}; }

private:
    std::uint64_t number(std::uint64_t offset, unsigned width, bool bigEndian) const;

    const unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
};

/// Text of a number for messages, such as "0x1f4".
std::string hexNumber(std::uint64_t value);

}  // namespace kel::rez

#endif
