// Layout from the public PE/COFF format documentation: the DOS header points to the
// "PE\0\0" signature, followed by the COFF header, the optional header with its data
// directories (0: export table, 2: resource table) and the section table, which maps the
// relative virtual addresses of those tables to file offsets.
#include "inspect/PeReader.h"

#include <set>

namespace kel::rez {

namespace {

constexpr std::uint32_t exportDirectoryIndex = 0;
constexpr std::uint32_t resourceDirectoryIndex = 2;
constexpr std::size_t maxNameLength = 4096;
constexpr unsigned resourceLevels = 3;  // type, name, language

struct Section
{
    std::uint32_t virtualAddress;
    std::uint32_t virtualSize;
    std::uint32_t rawSize;
    std::uint32_t rawOffset;
};

struct DataDirectory
{
    std::uint32_t rva = 0;
    std::uint32_t size = 0;
};

struct PeLayout
{
    ByteView file;
    std::vector<Section> sections;
    DataDirectory exports;
    DataDirectory resources;
};

/// The file bytes of count bytes at rva, or an empty view (and false) when they are not
/// all inside the file data of one section.
bool bytesAtRva(const PeLayout& layout, std::uint64_t rva, std::uint64_t count, ByteView& view)
{
    for (const Section& section : layout.sections) {
        if (rva < section.virtualAddress)
            continue;
        const std::uint64_t into = rva - section.virtualAddress;
        if (into >= section.rawSize || count > section.rawSize - into)
            continue;
        view = layout.file.sub(std::uint64_t(section.rawOffset) + into, count);
        return view.size() == count;
    }
    return false;
}

/// The zero-terminated ASCII name at rva.
bool nameAtRva(const PeLayout& layout, std::uint32_t rva, std::string& name)
{
    for (const Section& section : layout.sections) {
        if (rva < section.virtualAddress || rva - section.virtualAddress >= section.rawSize)
            continue;
        const std::uint32_t into = rva - section.virtualAddress;
        const ByteView data = layout.file.sub(section.rawOffset, section.rawSize);
        return data.zeroTerminated(into, maxNameLength, name);
    }
    return false;
}

std::string readHeaders(const ByteView& file, PeLayout& layout, PeModule& module)
{
    if (!file.holds(0, 0x40) || file.u8(0) != 'M' || file.u8(1) != 'Z')
        return "the file has no DOS header (\"MZ\")";
    const std::uint32_t pe = file.le32(0x3C);
    if (!file.holds(pe, 24) || file.be32(pe) != 0x50450000)
        return "the DOS header points to no PE signature (at " + hexNumber(pe) + ")";
    module.machine = file.le16(pe + 4);
    const std::uint16_t sectionCount = file.le16(pe + 6);
    const std::uint16_t optionalSize = file.le16(pe + 20);
    const std::uint64_t optional = std::uint64_t(pe) + 24;
    if (!file.holds(optional, optionalSize) || optionalSize < 2)
        return "the PE optional header runs past the end of the file";
    const std::uint16_t magic = file.le16(optional);
    if (magic != 0x10B && magic != 0x20B)
        return "the PE optional header has the unknown magic number " + hexNumber(magic);
    module.is64Bit = magic == 0x20B;
    const std::uint64_t countField = optional + (module.is64Bit ? 108 : 92);
    const std::uint64_t directories = countField + 4;
    const std::uint64_t optionalEnd = optional + optionalSize;
    if (countField + 4 > optionalEnd)
        return "the PE optional header is too short for its data directories";
    const std::uint64_t directoryCount = file.le32(countField);
    if (directoryCount > (optionalEnd - directories) / 8)
        return "the PE data directories run past the optional header";
    auto directory = [&](std::uint32_t index) {
        DataDirectory entry;
        if (index < directoryCount) {
            entry.rva = file.le32(directories + 8 * index);
            entry.size = file.le32(directories + 8 * index + 4);
        }
        return entry;
    };
    layout.exports = directory(exportDirectoryIndex);
    layout.resources = directory(resourceDirectoryIndex);
    if (!file.holds(optionalEnd, std::uint64_t(sectionCount) * 40))
        return "the PE section table runs past the end of the file";
    for (std::uint16_t i = 0; i < sectionCount; ++i) {
        const std::uint64_t at = optionalEnd + 40 * std::uint64_t(i);
        Section section{file.le32(at + 12), file.le32(at + 8), file.le32(at + 16),
                        file.le32(at + 20)};
        if (section.rawSize && !file.holds(section.rawOffset, section.rawSize))
            return "PE section " + std::to_string(i + 1) + " runs past the end of the file";
        layout.sections.push_back(section);
    }
    layout.file = file;
    return {};
}

std::string readExports(const PeLayout& layout, PeModule& module)
{
    if (layout.exports.rva == 0)
        return {};
    ByteView table;
    if (!bytesAtRva(layout, layout.exports.rva, 40, table))
        return "the PE export directory lies outside the file";
    const std::uint32_t nameCount = table.le32(24);
    ByteView names;
    if (!bytesAtRva(layout, table.le32(32), std::uint64_t(nameCount) * 4, names))
        return "the PE export name table lies outside the file";
    for (std::uint32_t i = 0; i < nameCount; ++i) {
        std::string name;
        if (!nameAtRva(layout, names.le32(4 * std::uint64_t(i)), name))
            return "PE export name " + std::to_string(i + 1) + " lies outside the file";
        module.exports.push_back(name);
    }
    return {};
}

/// Walks the resource directory tree (offsets relative to its start) to each data entry.
class ResourceWalk
{
public:
    ResourceWalk(const PeLayout& layout, const ByteView& tree, PeModule& module)
        : layout_(layout), tree_(tree), module_(module)
    {
    }

    std::string directory(std::uint32_t offset, unsigned level, WindowsResource& path)
    {
        if (!visited_.insert(offset).second)
            return "the PE resource directory at " + hexNumber(offset) + " is reached twice";
        if (!tree_.holds(offset, 16))
            return "a PE resource directory lies outside the resource section";
        const std::uint64_t count = std::uint64_t(tree_.le16(offset + 12)) + tree_.le16(offset + 14);
        if (!tree_.holds(std::uint64_t(offset) + 16, count * 8))
            return "the entries of a PE resource directory run past the resource section";
        for (std::uint64_t i = 0; i < count; ++i) {
            const std::uint64_t entry = offset + 16 + 8 * i;
            std::string error = this->entry(tree_.le32(entry), tree_.le32(entry + 4), level, path);
            if (!error.empty())
                return error;
        }
        return {};
    }

private:
    std::string entry(std::uint32_t key, std::uint32_t target, unsigned level,
                      WindowsResource& path)
    {
        WindowsResourceId id;
        if (key & 0x80000000u) {
            id.isOrdinal = false;
            const std::uint32_t at = key & 0x7FFFFFFFu;
            if (!tree_.holds(at, 2) || !appendUtf16AsUtf8(tree_, at + 2, tree_.le16(at), id.name))
                return "a PE resource name lies outside the resource section";
        } else {
            id.ordinal = static_cast<std::uint16_t>(key);
        }
        if (level == 0)
            path.type = id;
        else if (level == 1)
            path.name = id;
        else
            path.language = id.ordinal;
        const bool isDirectory = target & 0x80000000u;
        if (isDirectory != (level + 1 < resourceLevels))
            return "the PE resource tree is not three levels deep (type, name, language)";
        if (isDirectory)
            return directory(target & 0x7FFFFFFFu, level + 1, path);
        return data(target, path);
    }

    std::string data(std::uint32_t offset, const WindowsResource& path)
    {
        if (!tree_.holds(offset, 16))
            return "a PE resource data entry lies outside the resource section";
        WindowsResource resource = path;
        ByteView bytes;
        if (!bytesAtRva(layout_, tree_.le32(offset), tree_.le32(offset + 4), bytes))
            return "the data of PE resource " + path.type.text() + " " + path.name.text() +
                   " lies outside the file";
        resource.bytes = bytes.copy();
        module_.resources.push_back(std::move(resource));
        return {};
    }

    const PeLayout& layout_;
    ByteView tree_;
    PeModule& module_;
    std::set<std::uint32_t> visited_;
};

std::string readResources(const PeLayout& layout, PeModule& module)
{
    if (layout.resources.rva == 0)
        return {};
    // The tree's offsets are relative to its start and may reach anywhere in its section.
    for (const Section& section : layout.sections) {
        const std::uint32_t rva = layout.resources.rva;
        if (rva < section.virtualAddress || rva - section.virtualAddress >= section.rawSize)
            continue;
        const std::uint32_t into = rva - section.virtualAddress;
        const ByteView tree = layout.file.sub(std::uint64_t(section.rawOffset) + into,
                                              section.rawSize - into);
        WindowsResource path;
        return ResourceWalk(layout, tree, module).directory(0, 0, path);
    }
    return "the PE resource directory lies outside the file";
}

}  // namespace

std::string peMachineName(std::uint16_t machine)
{
    switch (machine) {
    case peMachineX86:
        return "x86";
    case peMachineX64:
        return "x64";
    case peMachineArm64:
        return "ARM64";
    default:
        return hexNumber(machine);
    }
}

bool looksLikePeModule(const std::vector<unsigned char>& bytes)
{
    return bytes.size() >= 2 && bytes[0] == 'M' && bytes[1] == 'Z';
}

ReadResult<PeModule> readPeModule(const std::vector<unsigned char>& bytes)
{
    ReadResult<PeModule> result;
    PeLayout layout;
    std::string error = readHeaders(ByteView(bytes), layout, result.value);
    if (error.empty())
        error = readExports(layout, result.value);
    if (error.empty())
        error = readResources(layout, result.value);
    if (!error.empty())
        return ReadResult<PeModule>::failure(error);
    return result;
}

}  // namespace kel::rez
