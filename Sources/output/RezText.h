// The Mac Rez text: "read" statements for file resources and "data" statements for hex data
// and for bytes.
#ifndef VANTREL_REZ_TEXT_H
#define VANTREL_REZ_TEXT_H

#include <string>

#include "common/Diagnostics.h"
#include "common/HexEncoding.h"
#include "output/ResourceSpellings.h"
#include "output/StreamedText.h"
#include "resources/Resource.h"

namespace kel::rez {

/// The Rez "read" statement of a file resource, as spelled.
void appendMacReadStatement(const Resource& resource, const ResourceSpellings& spellings,
                            StreamedText& macText);

/// Appends one Rez data statement; false after reporting the error for a non-hex byte, with
/// out unchanged as far as it was not handed on.
bool __processByteStrMac(const Resource& resource, const std::string& hexData, StreamedText& out,
                         Diagnostics& diagnostics);

/// Appends the Rez data statement of bytes: their digits, encoded or as typed.
void appendMacDataStatement(const Resource& resource, const HexBytes& data, StreamedText& out);

}  // namespace kel::rez

#endif
