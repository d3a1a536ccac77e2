// A built plug-in, module, resource file or bundle, read into one shape for the inspect mode:
// its resources in the file's order, with the types and keys a resource list gives them, and
// the code it holds per architecture.
#ifndef VANTREL_INSPECT_INSPECTED_FILE_H
#define VANTREL_INSPECT_INSPECTED_FILE_H

#include <cstdint>
#include <string>
#include <vector>

#include "inspect/LoadChecks.h"
#include "inspect/ReadResult.h"
#include "pipl/PiplPropertyList.h"

namespace kel::rez {

struct InspectedResource {
    std::string type;  // as a resource list names it ("PiPL", "aete", "PNGI")
    std::int16_t id = 0;
    std::string name;  // empty for none
    std::vector<unsigned char> bytes;
    /// Why a resource list cannot hold the resource as it is; empty when it can.
    std::string unlistable;
    /// Why its name is left out (a list entry without it still gives the same bytes).
    std::string unlistableName;
    std::string described;  // for messages: "the PiPL resource 16000"
};

struct InspectedFile {
    PiplPlatform platform = PiplPlatform::windows;
    std::vector<InspectedResource> resources;
    bool hasCode = false;  // false: a resource file alone
    std::vector<ModuleCode> code;  // one per architecture
};

/// Reads a PE module, a .res file, a Mac resource file (data fork) or a Mac bundle folder.
/// The error names the path and what is malformed.
ReadResult<InspectedFile> readInspectedFile(const std::string& path);

/// The same for the bytes of a file (a PE module, a .res file or a Mac resource file).
ReadResult<InspectedFile> readInspectedBytes(const std::vector<unsigned char>& bytes);

}  // namespace kel::rez

#endif
