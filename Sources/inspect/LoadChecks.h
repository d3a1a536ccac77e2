// The checks that say whether a built plug-in will load: its PiPL is there, names a kind a
// resource list can describe, names a terminology resource the file holds, and names entry
// points that its code exports for each architecture.
#ifndef VANTREL_INSPECT_LOAD_CHECKS_H
#define VANTREL_INSPECT_LOAD_CHECKS_H

#include <string>
#include <vector>

#include "common/Diagnostics.h"
#include "inspect/MachOReader.h"
#include "inspect/PeReader.h"
#include "pipl/PiplPropertyList.h"

namespace kel::rez {

/// The code of one architecture: "x86", "x64", "ARM64" (Windows) or "x86_64", "arm64" (Mac),
/// and the C names it exports (Mach-O names without their leading "_").
struct ModuleCode {
    std::string architecture;
    std::vector<std::string> exports;
};

struct LoadCheckInput {
    PiplPlatform platform;                          // the platform whose layout the PiPLs have
    std::vector<std::vector<unsigned char>> pipls;  // bytes of every PiPL resource
    std::vector<int> aeteIds;                       // IDs of every aete resource
    bool hasCode = false;                           // false: a resource file alone
    std::vector<ModuleCode> code;                   // one per architecture
};

/// Reports each failed check through diagnostics; returns the notes to print (e.g. that the
/// export checks were skipped), each a whole line beginning "Note: ".
std::string checkPluginLoads(const LoadCheckInput& input, Diagnostics& diagnostics);

/// The code of a Windows module: its machine and its exports.
ModuleCode moduleCodeOf(const PeModule& module);

/// The code of each slice of a Mach-O file, in slice order.
std::vector<ModuleCode> moduleCodeOf(const std::vector<MachOSlice>& slices);

}  // namespace kel::rez

#endif
