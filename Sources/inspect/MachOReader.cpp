// Layout from the public Mach-O format documentation. A universal file begins with the
// big-endian 0xcafebabe (0xcafebabf for 64-bit offsets) and a table of slices. A slice begins
// with its magic number (0xfeedface 32-bit, 0xfeedfacf 64-bit, in the slice's byte order),
// the CPU type, subtype, file type, command count and size; the load commands follow the
// header. Exports come from LC_SYMTAB (external defined symbols) and from the export trie
// of LC_DYLD_INFO(_ONLY) or LC_DYLD_EXPORTS_TRIE.
#include "inspect/MachOReader.h"

#include <algorithm>
#include <set>

#include "inspect/ByteView.h"

namespace kel::rez {

namespace {

constexpr std::uint32_t fatMagic = 0xCAFEBABE;
constexpr std::uint32_t fatMagic64 = 0xCAFEBABF;
constexpr std::uint32_t magic32 = 0xFEEDFACE;
constexpr std::uint32_t magic64 = 0xFEEDFACF;
constexpr std::uint32_t commandSymtab = 0x2;
constexpr std::uint32_t commandDyldInfo = 0x22;
constexpr std::uint32_t commandDyldInfoOnly = 0x80000022;
constexpr std::uint32_t commandExportsTrie = 0x80000033;
constexpr std::uint8_t symbolStab = 0xE0;
constexpr std::uint8_t symbolTypeMask = 0x0E;
constexpr std::uint8_t symbolExternal = 0x01;
constexpr std::size_t maxNameLength = 4096;
// A real trie branches a few dozen levels deep at most; the bound keeps a hostile chain of
// nodes from exhausting the stack.
constexpr unsigned maxTrieDepth = 1024;
// Names of a hostile trie could share long prefixes without end; this is far beyond what
// any real module exports.
constexpr std::uint64_t maxExportedNameBytes = 16u << 20;

/// Numbers in the slice's own byte order.
struct SliceBytes
{
    ByteView bytes;
    bool bigEndian = false;
    std::uint32_t u32(std::uint64_t at) const { return bigEndian ? bytes.be32(at) : bytes.le32(at); }
    std::uint64_t u64(std::uint64_t at) const { return bigEndian ? bytes.be64(at) : bytes.le64(at); }
};

bool readUleb(const ByteView& bytes, std::uint64_t& at, std::uint64_t& value)
{
    value = 0;
    for (unsigned shift = 0; shift < 64; shift += 7) {
        if (!bytes.holds(at, 1))
            return false;
        const std::uint8_t byte = bytes.u8(at++);
        value |= std::uint64_t(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            return true;
    }
    return false;
}

std::string readSymbolTable(const SliceBytes& slice, std::uint64_t command, bool is64,
                            std::set<std::string>& exports)
{
    const std::uint32_t symbols = slice.u32(command + 8);
    const std::uint32_t count = slice.u32(command + 12);
    const ByteView strings = slice.bytes.sub(slice.u32(command + 16), slice.u32(command + 20));
    const std::uint64_t entrySize = is64 ? 16 : 12;
    if (!slice.bytes.holds(symbols, count * entrySize))
        return "the Mach-O symbol table runs past the end of its slice";
    if (strings.size() != slice.u32(command + 20))
        return "the Mach-O string table runs past the end of its slice";
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t entry = symbols + i * entrySize;
        const std::uint8_t type = slice.bytes.u8(entry + 4);
        if ((type & symbolStab) || !(type & symbolExternal) || !(type & symbolTypeMask))
            continue;
        std::string name;
        if (!strings.zeroTerminated(slice.u32(entry), maxNameLength, name))
            return "Mach-O symbol " + std::to_string(i + 1) + " has a name outside the string table";
        exports.insert(name);
    }
    return {};
}

/// Walks the export trie: each node holds its terminal information (a ULEB128 size, then
/// that many bytes) and its edges (a count byte, then per edge a zero-terminated label and
/// the ULEB128 offset of the child node from the trie's start).
class TrieWalk
{
public:
    TrieWalk(const ByteView& trie, std::set<std::string>& exports) : trie_(trie), exports_(exports) {}

    std::string node(std::uint64_t at, const std::string& prefix, unsigned depth = 0)
    {
        if (depth > maxTrieDepth || prefix.size() > maxNameLength)
            return "the Mach-O export trie is nested too deeply";
        if (!visited_.insert(at).second)
            return "the Mach-O export trie reaches the node at " + hexNumber(at) + " twice";
        std::uint64_t terminalSize = 0;
        if (!readUleb(trie_, at, terminalSize) || !trie_.holds(at, terminalSize))
            return "a node of the Mach-O export trie runs past the trie";
        if (terminalSize) {
            nameBytes_ += prefix.size();
            if (nameBytes_ > maxExportedNameBytes)
                return "the Mach-O export trie names more than 16 MiB of symbols";
            exports_.insert(prefix);
        }
        at += terminalSize;
        if (!trie_.holds(at, 1))
            return "a node of the Mach-O export trie runs past the trie";
        const unsigned edges = trie_.u8(at++);
        for (unsigned i = 0; i < edges; ++i) {
            std::string label;
            std::uint64_t child = 0;
            if (!trie_.zeroTerminated(at, maxNameLength, label))
                return "an edge of the Mach-O export trie runs past the trie";
            at += label.size() + 1;
            if (!readUleb(trie_, at, child))
                return "an edge of the Mach-O export trie runs past the trie";
            std::string error = node(child, prefix + label, depth + 1);
            if (!error.empty())
                return error;
        }
        return {};
    }

private:
    ByteView trie_;
    std::set<std::string>& exports_;
    std::set<std::uint64_t> visited_;
    std::uint64_t nameBytes_ = 0;
};

std::string readExportTrie(const SliceBytes& slice, std::uint32_t offset, std::uint32_t size,
                           std::set<std::string>& exports)
{
    if (size == 0)
        return {};
    const ByteView trie = slice.bytes.sub(offset, size);
    if (trie.size() != size)
        return "the Mach-O export trie runs past the end of its slice";
    return TrieWalk(trie, exports).node(0, "");
}

std::string readLoadCommand(const SliceBytes& slice, std::uint64_t at, bool is64,
                            std::set<std::string>& exports)
{
    switch (slice.u32(at)) {
    case commandSymtab:
        return readSymbolTable(slice, at, is64, exports);
    case commandDyldInfo:
    case commandDyldInfoOnly:
        return readExportTrie(slice, slice.u32(at + 40), slice.u32(at + 44), exports);
    case commandExportsTrie:
        return readExportTrie(slice, slice.u32(at + 8), slice.u32(at + 12), exports);
    default:
        return {};
    }
}

/// The smallest size of each load command read here, so that its fields lie inside it.
std::uint32_t minimumCommandSize(std::uint32_t command)
{
    switch (command) {
    case commandSymtab:
        return 24;
    case commandDyldInfo:
    case commandDyldInfoOnly:
        return 48;
    case commandExportsTrie:
        return 16;
    default:
        return 8;
    }
}

ReadResult<MachOSlice> readSlice(const ByteView& bytes)
{
    using Result = ReadResult<MachOSlice>;
    SliceBytes slice{bytes, false};
    const std::uint32_t magic = bytes.le32(0);
    const bool known = magic == magic32 || magic == magic64;
    slice.bigEndian = !known;
    const std::uint32_t ordered = slice.u32(0);
    if (!bytes.holds(0, 28) || (ordered != magic32 && ordered != magic64))
        return Result::failure("the Mach-O header is missing or cut short");
    const bool is64 = ordered == magic64;
    Result result;
    result.value.cpuType = slice.u32(4);
    result.value.fileType = slice.u32(12);
    const std::uint32_t commandCount = slice.u32(16);
    const std::uint64_t commandsEnd = (is64 ? 32u : 28u) + std::uint64_t(slice.u32(20));
    if (!bytes.holds(0, commandsEnd))
        return Result::failure("the Mach-O load commands run past the end of the file");
    std::set<std::string> exports;
    std::uint64_t at = is64 ? 32 : 28;
    for (std::uint32_t i = 0; i < commandCount; ++i) {
        const std::uint32_t size = slice.u32(at + 4);
        if (at + 8 > commandsEnd || size < minimumCommandSize(slice.u32(at)) ||
            size > commandsEnd - at)
            return Result::failure("Mach-O load command " + std::to_string(i + 1) +
                                   " runs past the load commands");
        std::string error = readLoadCommand(slice, at, is64, exports);
        if (!error.empty())
            return Result::failure(error);
        at += size;
    }
    result.value.exports.assign(exports.begin(), exports.end());
    return result;
}

ReadResult<std::vector<MachOSlice>> readUniversal(const ByteView& file)
{
    using Result = ReadResult<std::vector<MachOSlice>>;
    const bool wide = file.be32(0) == fatMagic64;
    const std::uint64_t entrySize = wide ? 32 : 20;
    const std::uint32_t count = file.be32(4);
    if (!file.holds(8, count * entrySize))
        return Result::failure("the universal Mach-O slice table runs past the end of the file");
    Result result;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint64_t entry = 8 + i * entrySize;
        const std::uint64_t offset = wide ? file.be64(entry + 8) : file.be32(entry + 8);
        const std::uint64_t size = wide ? file.be64(entry + 16) : file.be32(entry + 12);
        const ByteView bytes = file.sub(offset, size);
        const std::string which = "universal Mach-O slice " + std::to_string(i + 1);
        if (bytes.size() != size || size == 0)
            return Result::failure(which + " lies outside the file");
        ReadResult<MachOSlice> slice = readSlice(bytes);
        if (!slice.ok())
            return Result::failure(which + ": " + slice.error);
        if (slice.value.cpuType != file.be32(entry))
            return Result::failure(which + " is listed as " + machCpuName(file.be32(entry)) +
                                   " but built for " + machCpuName(slice.value.cpuType));
        result.value.push_back(std::move(slice.value));
    }
    return result;
}

}  // namespace

std::string machCpuName(std::uint32_t cpuType)
{
    switch (cpuType) {
    case machCpuX86_64:
        return "x86_64";
    case machCpuArm64:
        return "arm64";
    case 7:
        return "i386";
    case 18:
        return "ppc";
    default:
        return hexNumber(cpuType);
    }
}

bool looksLikeMachO(const std::vector<unsigned char>& bytes)
{
    const ByteView file(bytes);
    const std::uint32_t big = file.be32(0), little = file.le32(0);
    return big == fatMagic || big == fatMagic64 || big == magic32 || big == magic64 ||
           little == magic32 || little == magic64;
}

ReadResult<std::vector<MachOSlice>> readMachO(const std::vector<unsigned char>& bytes)
{
    const ByteView file(bytes);
    if (file.be32(0) == fatMagic || file.be32(0) == fatMagic64)
        return readUniversal(file);
    ReadResult<MachOSlice> slice = readSlice(file);
    if (!slice.ok())
        return ReadResult<std::vector<MachOSlice>>::failure(slice.error);
    ReadResult<std::vector<MachOSlice>> result;
    result.value.push_back(std::move(slice.value));
    return result;
}

bool exportsCFunction(const MachOSlice& slice, const std::string& name)
{
    return std::binary_search(slice.exports.begin(), slice.exports.end(), "_" + name);
}

}  // namespace kel::rez
