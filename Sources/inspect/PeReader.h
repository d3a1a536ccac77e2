// Reads a Windows module (PE file: .8bf, .aip, .dll), 32-bit or 64-bit: the machine it is
// built for, the names it exports and its resources.
#ifndef VANTREL_INSPECT_PE_READER_H
#define VANTREL_INSPECT_PE_READER_H

#include <cstdint>
#include <string>
#include <vector>

#include "inspect/ReadResult.h"
#include "inspect/WindowsResource.h"

namespace kel::rez {

inline constexpr std::uint16_t peMachineX86 = 0x014C;
inline constexpr std::uint16_t peMachineX64 = 0x8664;
inline constexpr std::uint16_t peMachineArm64 = 0xAA64;

struct PeModule
{
    std::uint16_t machine = 0;
    bool is64Bit = false;
    std::vector<std::string> exports;        // in the order of the export name table
    std::vector<WindowsResource> resources;  // type, name, language in directory order
};

/// The machine's usual name ("x86", "x64", "ARM64"), or its number in hex.
std::string peMachineName(std::uint16_t machine);

/// True when bytes begin like a PE module (the "MZ" of its DOS header).
bool looksLikePeModule(const std::vector<unsigned char>& bytes);

ReadResult<PeModule> readPeModule(const std::vector<unsigned char>& bytes);

}  // namespace kel::rez

#endif
