// Reads a Mac resource file held in a data fork (a bundle's Contents/Resources/*.rsrc).
#ifndef VANTREL_INSPECT_MAC_RESOURCE_FILE_READER_H
#define VANTREL_INSPECT_MAC_RESOURCE_FILE_READER_H

#include <cstdint>
#include <string>
#include <vector>

#include "inspect/ReadResult.h"

namespace kel::rez {

struct MacResource
{
    std::string type;  // four bytes
    std::int16_t id = 0;
    bool hasName = false;
    std::string name;  // the bytes of its name, in the file's encoding
    std::uint8_t attributes = 0;
    std::vector<unsigned char> bytes;
};

/// The resources in the order of the map: types in type-list order, each type's references
/// in reference-list order.
ReadResult<std::vector<MacResource>> readMacResourceFile(const std::vector<unsigned char>& bytes);

}  // namespace kel::rez

#endif
