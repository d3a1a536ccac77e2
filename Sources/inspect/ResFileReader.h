// Reads a Windows .res file: the resources a resource compiler wrote, in file order.
#ifndef VANTREL_INSPECT_RES_FILE_READER_H
#define VANTREL_INSPECT_RES_FILE_READER_H

#include <vector>

#include "inspect/ReadResult.h"
#include "inspect/WindowsResource.h"

namespace kel::rez {

/// True when bytes begin with the empty entry that opens every 32-bit .res file.
bool looksLikeResFile(const std::vector<unsigned char>& bytes);

/// The resources of a .res file, without its opening empty entry.
ReadResult<std::vector<WindowsResource>> readResFile(const std::vector<unsigned char>& bytes);

}  // namespace kel::rez

#endif
