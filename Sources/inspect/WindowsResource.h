// One resource of a Windows module or .res file, as both readers give it back.
#ifndef VANTREL_INSPECT_WINDOWS_RESOURCE_H
#define VANTREL_INSPECT_WINDOWS_RESOURCE_H

#include <cstdint>
#include <string>
#include <vector>

#include "inspect/ByteView.h"

namespace kel::rez {

/// A resource type or name: a 16-bit ordinal, or a string (UTF-16 in the file, UTF-8 here).
struct WindowsResourceId
{
    bool isOrdinal = true;
    std::uint16_t ordinal = 0;
    std::string name;

    /// The ordinal in decimal, or the name.
    std::string text() const;
    bool operator==(const WindowsResourceId& other) const
    {
        return isOrdinal == other.isOrdinal && ordinal == other.ordinal && name == other.name;
    }
};

struct WindowsResource
{
    WindowsResourceId type;
    WindowsResourceId name;
    std::uint16_t language = 0;
    std::vector<unsigned char> bytes;
};

/// Appends UTF-8 for count little-endian UTF-16 units at offset; an unpaired surrogate
/// becomes U+FFFD. False when the units do not lie inside bytes.
bool appendUtf16AsUtf8(const ByteView& bytes, std::uint64_t offset, std::uint64_t count,
                       std::string& text);

}  // namespace kel::rez

#endif
