// Reads a Mach-O executable, thin or universal: per slice the CPU it is built for and the
// symbols it exports.
#ifndef VANTREL_INSPECT_MACH_O_READER_H
#define VANTREL_INSPECT_MACH_O_READER_H

#include <cstdint>
#include <string>
#include <vector>

#include "inspect/ReadResult.h"

namespace kel::rez {

inline constexpr std::uint32_t machCpuX86_64 = 0x01000007;
inline constexpr std::uint32_t machCpuArm64 = 0x0100000C;

struct MachOSlice
{
    std::uint32_t cpuType = 0;
    std::uint32_t fileType = 0;
    /// Exported names as the file stores them (a C function "PluginMain" is "_PluginMain"),
    /// from the symbol table and the export trie together, sorted, each once.
    std::vector<std::string> exports;
};

/// The CPU's usual name ("x86_64", "arm64", "i386", "ppc"), or its number in hex.
std::string machCpuName(std::uint32_t cpuType);

/// True when bytes begin with the magic number of a thin or universal Mach-O file.
bool looksLikeMachO(const std::vector<unsigned char>& bytes);

/// One slice for a thin file, one per architecture for a universal one.
ReadResult<std::vector<MachOSlice>> readMachO(const std::vector<unsigned char>& bytes);

/// True when the slice exports the C function of that name (the name with "_" before it).
bool exportsCFunction(const MachOSlice& slice, const std::string& name);

}  // namespace kel::rez

#endif
