// The Windows resource script: file lines for file resources and raw-data blocks for hex data
// and for bytes.
#ifndef VANTREL_RESOURCE_SCRIPT_TEXT_H
#define VANTREL_RESOURCE_SCRIPT_TEXT_H

#include <string>
#include <vector>

#include "common/Diagnostics.h"
#include "output/ResourceSpellings.h"
#include "output/StreamedText.h"
#include "resources/Resource.h"

namespace kel::rez {

/// The resource-script lines of a file resource, as spelled, keyed by ID and by quoted name.
void appendWinFileLines(const Resource& resource, const ResourceSpellings& spellings,
                        StreamedText& winText);

/// Appends the block keyed by ID and/or by name; on false (bad byte, odd digit count) out is
/// unchanged as far as it was not handed on, and the error was reported.
bool __processByteStrWin(const Resource& resource, const std::string& hexData, StreamedText& out,
                         bool duplicateByName, Diagnostics& diagnostics);

/// Appends the block of bytes, keyed by ID or, for ID 0, by name.
void appendWinDataBlock(const Resource& resource, const std::vector<unsigned char>& bytes,
                        StreamedText& out);

}  // namespace kel::rez

#endif
