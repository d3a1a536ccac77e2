// The Mac resource file, as a resource compiler writes it into a data fork: header, data
// area, and the map of types, references and names.
#ifndef VANTREL_MAC_RESOURCE_FILE_H
#define VANTREL_MAC_RESOURCE_FILE_H

#include "output/CompiledResource.h"

namespace kel::rez {

/// The file holding resources, types in order of first appearance and each type's resources
/// in list order, with attributes 0. A type shorter than four bytes is right-aligned with
/// zero bytes before it, as a Rez literal of it compiles. Refused (status 94): a type longer
/// than four bytes, a name longer than 255 bytes, two resources of one type and ID, and
/// more data or more map entries than the format's offsets reach.
CompiledFile writeMacResourceFile(const CompiledResources& resources);

}  // namespace kel::rez

#endif
