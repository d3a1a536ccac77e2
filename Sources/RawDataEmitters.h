// Hex text to a Rez "data" statement and to resource-script raw-data blocks.
#ifndef VANTREL_RAW_DATA_EMITTERS_H
#define VANTREL_RAW_DATA_EMITTERS_H

#include <string>

#include "Resource.h"

namespace kel::rez {

/// Appends one Rez data statement; false after printing the error for a non-hex byte.
bool __processByteStrMac(const Resource& resource, const std::string& hexData, std::string& out);

/// Appends the block keyed by ID and/or by name; on false (bad byte, odd digit count) out is
/// unchanged and the error was printed.
bool __processByteStrWin(const Resource& resource, const std::string& hexData, std::string& out,
                         bool duplicateByName);

}  // namespace kel::rez

#endif
