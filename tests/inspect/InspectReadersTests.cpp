// Crafted, truncated and hostile inputs for the readers of built modules. The files are laid
// out here byte by byte from the formats' public descriptions.
#include <gtest/gtest.h>

#include <set>

#include "inspect/MacResourceFileReader.h"
#include "inspect/MachOReader.h"
#include "inspect/PeReader.h"
#include "inspect/ResFileReader.h"

using namespace kel::rez;

namespace {

using Bytes = std::vector<unsigned char>;

struct Writer
{
    Bytes bytes;
    bool bigEndian = false;
    void number(std::uint64_t value, unsigned width)
    {
        for (unsigned i = 0; i < width; ++i) {
            const unsigned shift = 8 * (bigEndian ? width - 1 - i : i);
            bytes.push_back(static_cast<unsigned char>(value >> shift));
        }
    }
    void u8(unsigned v) { number(v, 1); }
    void u16(unsigned v) { number(v, 2); }
    void u32(std::uint64_t v) { number(v, 4); }
    void u64(std::uint64_t v) { number(v, 8); }
    void text(const std::string& s) { bytes.insert(bytes.end(), s.begin(), s.end()); }
    void padTo(std::size_t size) { bytes.resize(size, 0); }
    void put32(std::size_t at, std::uint32_t v)
    {
        for (unsigned i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<unsigned char>(v >> (8 * (bigEndian ? 3 - i : i)));
    }
};

// A PE32+ x64 module with one section (RVA 0x1000, file offset 0x200) holding the export
// directory naming "PluginMain" and a resource tree PiPL/16000/1033 and "LOGO"(name)/10.
constexpr std::uint32_t sectionRva = 0x1000, sectionFile = 0x200;
constexpr std::size_t resourceAt = 0x100;  // within the section

Bytes peModule(std::uint16_t machine = peMachineX64, bool wide = true)
{
    Writer w;
    w.text("MZ");
    w.padTo(0x3C);
    w.u32(0x40);
    w.text(std::string("PE\0\0", 4));
    w.u16(machine);
    w.u16(1);  // sections
    w.u32(0), w.u32(0), w.u32(0);
    const unsigned optionalSize = (wide ? 112 : 96) + 16 * 8;
    w.u16(optionalSize);
    w.u16(0x2022);
    const std::size_t optional = w.bytes.size();
    w.u16(wide ? 0x20B : 0x10B);
    w.padTo(optional + (wide ? 108 : 92));
    w.u32(16);
    w.u32(sectionRva), w.u32(0x60);                         // exports
    w.u32(0), w.u32(0);                                     // imports
    w.u32(sectionRva + resourceAt), w.u32(0x100);           // resources
    w.padTo(optional + optionalSize);
    w.text(std::string(".rsrc\0\0\0", 8));
    w.u32(0x200), w.u32(sectionRva), w.u32(0x200), w.u32(sectionFile);
    w.padTo(sectionFile);
    // Export directory: name count 1 at +24, name table RVA at +32.
    const std::size_t exports = w.bytes.size();
    w.padTo(exports + 24);
    w.u32(1), w.u32(0), w.u32(sectionRva + 0x40), w.u32(0);
    w.padTo(exports + 0x40);
    w.u32(sectionRva + 0x48);
    w.padTo(exports + 0x48);
    w.text(std::string("PluginMain\0", 11));
    // Resource tree at +0x100 (offsets relative to it).
    w.padTo(sectionFile + resourceAt);
    auto directory = [&](unsigned named, unsigned ids) {
        w.u32(0), w.u32(0), w.u16(0), w.u16(0), w.u16(named), w.u16(ids);
    };
    directory(1, 1);  // 0x00 types: the named "LOGO", then the ordinal 10
    w.u32(0x80000000u | 0xA0), w.u32(0x80000000u | 0x20);  // "LOGO" -> 0x20
    w.u32(10), w.u32(0x80000000u | 0x38);                   // 10 -> 0x38
    directory(0, 1), w.u32(16000), w.u32(0x80000000u | 0x50);  // 0x20 names of LOGO
    directory(0, 1), w.u32(7), w.u32(0x80000000u | 0x68);      // 0x38 names of 10
    directory(0, 1), w.u32(1033), w.u32(0x80);                  // 0x50 languages
    directory(0, 1), w.u32(0), w.u32(0x90);                     // 0x68 languages
    w.padTo(sectionFile + resourceAt + 0x80);
    w.u32(sectionRva + resourceAt + 0xB0), w.u32(5), w.u32(0), w.u32(0);  // 0x80
    w.u32(sectionRva + resourceAt + 0xB8), w.u32(2), w.u32(0), w.u32(0);  // 0x90
    w.u16(4), w.text(std::string("L\0O\0G\0O\0", 8));                    // 0xA0
    w.padTo(sectionFile + resourceAt + 0xB0);
    w.text("PiPL!"), w.padTo(sectionFile + resourceAt + 0xB8), w.text("hi");
    w.padTo(sectionFile + 0x200);
    return w.bytes;
}

TEST(PeReader, FindsMachineExportsAndResourceTree)
{
    const ReadResult<PeModule> read = readPeModule(peModule());
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.value.machine, peMachineX64);
    EXPECT_TRUE(read.value.is64Bit);
    EXPECT_EQ(read.value.exports, std::vector<std::string>{"PluginMain"});
    ASSERT_EQ(read.value.resources.size(), 2u);
    const WindowsResource& logo = read.value.resources[0];
    EXPECT_FALSE(logo.type.isOrdinal);
    EXPECT_EQ(logo.type.name, "LOGO");
    EXPECT_EQ(logo.name.text(), "16000");
    EXPECT_EQ(logo.language, 1033);
    EXPECT_EQ(logo.bytes, (Bytes{'P', 'i', 'P', 'L', '!'}));
    EXPECT_EQ(read.value.resources[1].type.text(), "10");
    EXPECT_EQ(read.value.resources[1].bytes, (Bytes{'h', 'i'}));
}

TEST(PeReader, ReadsThe32BitLayoutAndNamesMachines)
{
    const ReadResult<PeModule> read = readPeModule(peModule(peMachineX86, false));
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_FALSE(read.value.is64Bit);
    EXPECT_EQ(read.value.exports.size(), 1u);
    EXPECT_EQ(peMachineName(peMachineX86), "x86");
    EXPECT_EQ(peMachineName(peMachineArm64), "ARM64");
    EXPECT_EQ(peMachineName(0x1c4), "0x1c4");
}

TEST(PeReader, EveryTruncationIsRefusedWithAMessage)
{
    const Bytes whole = peModule();
    for (std::size_t size = 0; size < sectionFile + resourceAt + 0xBA; ++size) {
        const ReadResult<PeModule> read = readPeModule(Bytes(whole.begin(), whole.begin() + size));
        EXPECT_FALSE(read.ok()) << "cut at " << size;
        EXPECT_FALSE(read.error.empty());
    }
}

TEST(PeReader, RefusesHostileOffsets)
{
    struct Case { std::size_t at; std::uint32_t value; const char* message; };
    const std::size_t tree = sectionFile + resourceAt;
    const Case cases[] = {
        {0x3C, 0xFFFFFFF0u, "no PE signature"},
        {0x46, 0xFFFF, "section table runs past"},                       // section count
        {sectionFile + 32, 0x7FFFFFFF, "export name table lies outside"},
        {sectionFile + 0x40, 0x5000, "export name 1 lies outside"},
        {tree + 20, 0x80000000u, "reached twice"},                       // loop to the root
        {tree + 16, 0x8000FFF0u, "resource name lies outside"},
        {tree + 0x80 + 4, 0xFFFFFFFF, "lies outside the file"},          // data size
        {tree + 0x64, 0x80000000u | 0x20, "not three levels deep"},
    };
    for (const Case& c : cases) {
        Writer w{peModule()};
        w.put32(c.at, c.value);
        const ReadResult<PeModule> read = readPeModule(w.bytes);
        EXPECT_NE(read.error.find(c.message), std::string::npos) << c.message << ": " << read.error;
    }
}

Bytes resEntry(const Bytes& typeAndName, const Bytes& data, std::uint16_t language)
{
    Writer w;
    const std::size_t headerSize = (8 + typeAndName.size() + 3) / 4 * 4 + 16;
    w.u32(data.size()), w.u32(headerSize);
    w.bytes.insert(w.bytes.end(), typeAndName.begin(), typeAndName.end());
    w.padTo((w.bytes.size() + 3) / 4 * 4);
    w.u32(0), w.u16(0x30), w.u16(language), w.u32(0), w.u32(0);
    w.bytes.insert(w.bytes.end(), data.begin(), data.end());
    w.padTo((w.bytes.size() + 3) / 4 * 4);
    return w.bytes;
}

Bytes resFile()
{
    Bytes file = resEntry({0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0}, {}, 0);
    // Type "PiPL" as UTF-16 with the name ordinal 16000; then type 10 with the name "\u00e9X".
    const Bytes first = resEntry({'P', 0, 'i', 0, 'P', 0, 'L', 0, 0, 0, 0xFF, 0xFF, 0x80, 0x3E},
                                 {1, 2, 3}, 1033);
    const Bytes second = resEntry({0xFF, 0xFF, 10, 0, 0xE9, 0, 'X', 0, 0, 0}, {9}, 0);
    file.insert(file.end(), first.begin(), first.end());
    file.insert(file.end(), second.begin(), second.end());
    return file;
}

TEST(ResFileReader, ReadsOrdinalAndUtf16NamesAndSkipsTheOpeningEntry)
{
    const Bytes file = resFile();
    EXPECT_TRUE(looksLikeResFile(file));
    const auto read = readResFile(file);
    ASSERT_TRUE(read.ok()) << read.error;
    ASSERT_EQ(read.value.size(), 2u);
    EXPECT_EQ(read.value[0].type.name, "PiPL");
    EXPECT_EQ(read.value[0].name.ordinal, 16000);
    EXPECT_EQ(read.value[0].language, 1033);
    EXPECT_EQ(read.value[0].bytes, (Bytes{1, 2, 3}));
    EXPECT_EQ(read.value[1].type.text(), "10");
    EXPECT_EQ(read.value[1].name.name, "\xC3\xA9X");
}

TEST(ResFileReader, TruncationsAndHostileSizesAreRefused)
{
    // A cut right after an entry's data or its padding leaves a shorter, sound file.
    const Bytes whole = resFile();
    const std::set<std::size_t> entryEnds = {32, 32 + 40 + 3, 32 + 44};
    for (std::size_t size = 1; size < whole.size() - 3; ++size) {
        const auto read = readResFile(Bytes(whole.begin(), whole.begin() + size));
        EXPECT_EQ(read.ok(), entryEnds.count(size) == 1) << "cut at " << size;
    }
    Writer w{whole};
    w.put32(32, 0xFFFFFFF0u);  // data size of the first real entry
    EXPECT_NE(readResFile(w.bytes).error.find("entry 2 (at 0x20) has data running past"),
              std::string::npos);
    Writer zero{whole};
    zero.put32(36, 0);  // header size 0 cannot hold a type
    EXPECT_NE(readResFile(zero.bytes).error.find("type or name"), std::string::npos);
}

TEST(WindowsResourceText, UnpairedSurrogatesBecomeReplacementCharacters)
{
    const Bytes units = {0x3D, 0xD8, 0x00, 0xDE, 0x00, 0xD8, 'a', 0};
    std::string text;
    ASSERT_TRUE(appendUtf16AsUtf8(ByteView(units), 0, 4, text));
    EXPECT_EQ(text, "\xF0\x9F\x98\x80\xEF\xBF\xBD" "a");
    EXPECT_FALSE(appendUtf16AsUtf8(ByteView(units), 2, 4, text));
}

// Two types: 'PiPL' with ID 16000 named "My Plug-in", 'aete' with ID -2 and no name.
Bytes macResourceFile()
{
    Writer w;
    w.bigEndian = true;
    const Bytes pipl = {1, 2, 3, 4, 5}, aete = {0xAA};
    const std::uint32_t dataLength = 4 + 5 + 4 + 1;
    const std::uint32_t mapOffset = 256 + dataLength;
    const std::uint32_t mapLength = 28 + 2 + 2 * 8 + 2 * 12 + 11;
    auto header = [&] { w.u32(256), w.u32(mapOffset), w.u32(dataLength), w.u32(mapLength); };
    header();
    w.padTo(256);
    w.u32(5), w.bytes.insert(w.bytes.end(), pipl.begin(), pipl.end());
    w.u32(1), w.bytes.insert(w.bytes.end(), aete.begin(), aete.end());
    header();
    w.u32(0), w.u16(0), w.u16(0), w.u16(28), w.u16(28 + 2 + 16 + 24);
    w.u16(1);                                    // two types
    w.text("PiPL"), w.u16(0), w.u16(2 + 16);
    w.text("aete"), w.u16(0), w.u16(2 + 16 + 12);
    w.u16(16000), w.u16(0), w.u8(0x20), w.number(0, 3), w.u32(0);
    w.u16(0xFFFE), w.u16(0xFFFF), w.u8(0), w.number(9, 3), w.u32(0);
    w.u8(10), w.text("My Plug-in");
    return w.bytes;
}

TEST(MacResourceFileReader, ReadsTypesReferencesNamesAndData)
{
    const auto read = readMacResourceFile(macResourceFile());
    ASSERT_TRUE(read.ok()) << read.error;
    ASSERT_EQ(read.value.size(), 2u);
    EXPECT_EQ(read.value[0].type, "PiPL");
    EXPECT_EQ(read.value[0].id, 16000);
    EXPECT_TRUE(read.value[0].hasName);
    EXPECT_EQ(read.value[0].name, "My Plug-in");
    EXPECT_EQ(read.value[0].attributes, 0x20);
    EXPECT_EQ(read.value[0].bytes, (Bytes{1, 2, 3, 4, 5}));
    EXPECT_EQ(read.value[1].type, "aete");
    EXPECT_EQ(read.value[1].id, -2);
    EXPECT_FALSE(read.value[1].hasName);
    EXPECT_EQ(read.value[1].bytes, Bytes{0xAA});
}

TEST(MacResourceFileReader, EmptyMapAndHostileOffsets)
{
    Writer empty;
    empty.bigEndian = true;
    empty.u32(16), empty.u32(16), empty.u32(0), empty.u32(30);
    empty.padTo(16 + 24), empty.u16(28), empty.u16(30), empty.u16(0xFFFF);
    const auto none = readMacResourceFile(empty.bytes);
    ASSERT_TRUE(none.ok()) << none.error;
    EXPECT_TRUE(none.value.empty());

    const Bytes whole = macResourceFile();
    for (std::size_t size = 0; size < whole.size(); ++size)
        EXPECT_FALSE(readMacResourceFile(Bytes(whole.begin(), whole.begin() + size)).ok()) << size;
    const std::size_t map = 256 + 14, typeList = map + 28;
    struct Case { std::size_t at; unsigned width; std::uint32_t value; const char* message; };
    const Case cases[] = {
        {256, 4, 0x7FFFFFFF, "the data of resource 'PiPL' 16000 runs past"},
        {typeList, 2, 0xFFFE, "type list runs past"},
        {typeList + 2 + 4, 2, 0x7FFF, "reference list of type 'PiPL' runs past"},
        {typeList + 2 + 16 + 2, 2, 0x00F0, "the name of resource 'PiPL' 16000 lies outside"},
        {typeList + 2 + 16 + 12 + 5, 2, 0x00FF, "the data of resource 'aete' -2 lies outside"},
        {map + 24, 2, 0xFFF0, "type list lies outside"},
    };
    for (const Case& c : cases) {
        Bytes bytes = whole;
        for (unsigned i = 0; i < c.width; ++i)
            bytes[c.at + i] = static_cast<unsigned char>(c.value >> (8 * (c.width - 1 - i)));
        const auto read = readMacResourceFile(bytes);
        EXPECT_NE(read.error.find(c.message), std::string::npos) << c.message << ": " << read.error;
    }
}

// A thin 64-bit Mach-O: LC_SYMTAB with "_PluginMain" (external, defined), "_local"
// (not external) and "_imported" (undefined), and LC_DYLD_EXPORTS_TRIE naming "_Other".
Bytes machO(std::uint32_t cpu = machCpuArm64)
{
    Writer w;
    w.u32(0xFEEDFACF), w.u32(cpu), w.u32(0), w.u32(8), w.u32(2), w.u32(24 + 16), w.u32(0),
        w.u32(0);
    const std::uint32_t symbols = 32 + 40, strings = symbols + 3 * 16;
    const std::string names = std::string("\0_PluginMain\0_local\0_imported\0", 30);
    const std::uint32_t trie = strings + 32;
    w.u32(0x2), w.u32(24), w.u32(symbols), w.u32(3), w.u32(strings), w.u32(names.size());
    w.u32(0x80000033), w.u32(16), w.u32(trie), w.u32(16);
    for (auto [name, type] : {std::pair{1u, 0x0Fu}, {13u, 0x0Eu}, {20u, 0x01u}})
        w.u32(name), w.u8(type), w.u8(1), w.u16(0), w.u64(0x1000);
    w.text(names), w.padTo(trie);
    // Root: no terminal, one edge "_Other" to node 10; node 10: terminal of 2 bytes, no edges.
    w.u8(0), w.u8(1), w.text(std::string("_Other\0", 7)), w.u8(10);
    w.u8(2), w.u8(0), w.u8(0), w.u8(0);
    w.padTo(trie + 16);
    return w.bytes;
}

TEST(MachOReader, ExportsComeFromTheSymbolTableAndTheTrie)
{
    const auto read = readMachO(machO());
    ASSERT_TRUE(read.ok()) << read.error;
    ASSERT_EQ(read.value.size(), 1u);
    EXPECT_EQ(machCpuName(read.value[0].cpuType), "arm64");
    EXPECT_EQ(read.value[0].exports, (std::vector<std::string>{"_Other", "_PluginMain"}));
    EXPECT_TRUE(exportsCFunction(read.value[0], "PluginMain"));
    EXPECT_FALSE(exportsCFunction(read.value[0], "local"));
}

TEST(MachOReader, UniversalFilesGiveOneSlicePerArchitecture)
{
    const Bytes x86 = machO(machCpuX86_64), arm = machO(machCpuArm64);
    Writer w;
    w.bigEndian = true;
    w.u32(0xCAFEBABE), w.u32(2);
    w.u32(machCpuX86_64), w.u32(3), w.u32(0x1000), w.u32(x86.size()), w.u32(12);
    w.u32(machCpuArm64), w.u32(0), w.u32(0x2000), w.u32(arm.size()), w.u32(14);
    w.padTo(0x1000), w.bytes.insert(w.bytes.end(), x86.begin(), x86.end());
    w.padTo(0x2000), w.bytes.insert(w.bytes.end(), arm.begin(), arm.end());
    EXPECT_TRUE(looksLikeMachO(w.bytes));
    const auto read = readMachO(w.bytes);
    ASSERT_TRUE(read.ok()) << read.error;
    ASSERT_EQ(read.value.size(), 2u);
    EXPECT_EQ(read.value[0].cpuType, machCpuX86_64);
    EXPECT_EQ(read.value[1].cpuType, machCpuArm64);

    Writer mislabelled{w.bytes, true};
    mislabelled.put32(8, machCpuArm64);
    EXPECT_NE(readMachO(mislabelled.bytes).error.find("slice 1 is listed as arm64 but built for x86_64"),
              std::string::npos);
    Writer outside{w.bytes, true};
    outside.put32(8 + 12, 0xFFFFFFF0u);
    EXPECT_NE(readMachO(outside.bytes).error.find("slice 1 lies outside"), std::string::npos);
}

TEST(MachOReader, TruncationsAndHostileTriesAreRefused)
{
    const Bytes whole = machO();
    for (std::size_t size = 0; size < whole.size(); ++size)
        EXPECT_FALSE(readMachO(Bytes(whole.begin(), whole.begin() + size)).ok()) << size;
    const std::size_t trie = 32 + 40 + 48 + 32;
    Writer loop{whole};
    loop.bytes[trie + 9] = 0;  // the edge leads back to the root
    EXPECT_NE(readMachO(loop.bytes).error.find("twice"), std::string::npos);
    Writer size{whole};
    size.put32(36, 0xFFFF);  // command size past the commands
    EXPECT_NE(readMachO(size.bytes).error.find("load command 1 runs past"), std::string::npos);
    Writer symbols{whole};
    symbols.put32(32 + 12, 0x10000000);
    EXPECT_NE(readMachO(symbols.bytes).error.find("symbol table runs past"), std::string::npos);

    // A chain of nodes, each the only child of the one before, deeper than any real trie.
    Writer chain;
    for (unsigned node = 0; node < 2000; ++node) {
        const unsigned next = (node + 1) * 6;  // each node: 0, 1, "a", two ULEB128 bytes
        chain.u8(0), chain.u8(1), chain.text(std::string("a\0", 2));
        chain.u8(0x80 | (next & 0x7F)), chain.u8(next >> 7);
    }
    Writer deep{whole};
    deep.bytes.resize(trie);
    deep.bytes.insert(deep.bytes.end(), chain.bytes.begin(), chain.bytes.end());
    deep.put32(32 + 24 + 12, static_cast<std::uint32_t>(chain.bytes.size()));
    EXPECT_NE(readMachO(deep.bytes).error.find("nested too deeply"), std::string::npos);
}

}  // namespace
