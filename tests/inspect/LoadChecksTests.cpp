// The load checks on property lists laid out here by hand from the PiPL format (Mac lists
// big-endian, Windows lists little-endian after a reserved word), so that no check is proved
// with the compiler that writes the lists.
#include <gtest/gtest.h>

#include "common/ExitStatus.h"
#include "inspect/LoadChecks.h"

namespace kel::rez {
namespace {

using Bytes = std::vector<unsigned char>;

struct ListWriter
{
    PiplPlatform platform;
    std::vector<Bytes> records;

    void number(Bytes& to, std::uint32_t value, unsigned width) const
    {
        for (unsigned i = 0; i < width; ++i) {
            const unsigned shift = 8 * (platform == PiplPlatform::mac ? width - 1 - i : i);
            to.push_back(static_cast<unsigned char>(value >> shift));
        }
    }
    static std::uint32_t code(const std::string& text)
    {
        return std::uint32_t(std::uint8_t(text[0])) << 24 | std::uint8_t(text[1]) << 16
               | std::uint8_t(text[2]) << 8 | std::uint8_t(text[3]);
    }
    ListWriter& record(const std::string& vendor, const std::string& key, Bytes data)
    {
        Bytes bytes;
        number(bytes, code(vendor), 4);
        number(bytes, code(key), 4);
        number(bytes, 0, 4);
        number(bytes, static_cast<std::uint32_t>(data.size()), 4);
        data.resize((data.size() + 3) / 4 * 4, 0);
        bytes.insert(bytes.end(), data.begin(), data.end());
        records.push_back(bytes);
        return *this;
    }
    ListWriter& kind(const std::string& vendor, const std::string& kindCode)
    {
        Bytes data;
        number(data, code(kindCode), 4);
        return record(vendor, "kind", data);
    }
    /// A Mac entry point is length-prefixed, a Windows one zero-terminated.
    ListWriter& entryPoint(const std::string& vendor, const std::string& key,
                           const std::string& name)
    {
        Bytes data;
        if (platform == PiplPlatform::mac)
            data.push_back(static_cast<unsigned char>(name.size()));
        data.insert(data.end(), name.begin(), name.end());
        data.push_back(0);
        return record(vendor, key, data);
    }
    ListWriter& terminology(std::uint16_t aeteId)
    {
        Bytes data;
        number(data, 0, 4);
        number(data, code("DfTm"), 4);
        number(data, code("DfTm"), 4);
        number(data, aeteId, 2);
        data.insert(data.end(), {'B', 'l', 'u', 'r', 0, 0, 0, 0, 0, 0});
        return record("8BIM", "hstm", data);
    }
    Bytes bytes() const
    {
        Bytes list;
        if (platform == PiplPlatform::windows)
            number(list, 1, 2);
        number(list, 0, 4);
        number(list, static_cast<std::uint32_t>(records.size()), 4);
        for (const Bytes& record : records)
            list.insert(list.end(), record.begin(), record.end());
        return list;
    }
};

ListWriter photoshopFilter(PiplPlatform platform, const std::string& entry = "FilterPluginMain")
{
    ListWriter list{platform, {}};
    list.kind("8BIM", "8BFM");
    if (platform == PiplPlatform::mac) {
        list.entryPoint("8BIM", "mi64", entry);
    } else {
        list.entryPoint("8BIM", "wx86", entry);
        list.entryPoint("8BIM", "8664", entry);
    }
    return list.terminology(1000);
}

struct Outcome
{
    std::string errors;
    int status;
    std::string notes;
};

Outcome check(const LoadCheckInput& input)
{
    Diagnostics diagnostics(Diagnostics::Mode::collect);
    Outcome outcome;
    outcome.notes = checkPluginLoads(input, diagnostics);
    outcome.errors = diagnostics.text();
    Diagnostics first;
    checkPluginLoads(input, first);
    outcome.status = first.status();
    return outcome;
}

LoadCheckInput module(PiplPlatform platform, std::vector<Bytes> pipls,
                      std::vector<ModuleCode> code, std::vector<int> aeteIds = {1000})
{
    return {platform, std::move(pipls), std::move(aeteIds), true, std::move(code)};
}

TEST(LoadChecks, APluginWhoseCodeExportsItsEntryPointsPasses)
{
    const Outcome windows = check(module(PiplPlatform::windows,
                                         {photoshopFilter(PiplPlatform::windows).bytes()},
                                         {{"x64", {"helper", "FilterPluginMain"}}}));
    EXPECT_EQ(windows.errors, "");
    EXPECT_EQ(windows.status, 0);
    EXPECT_EQ(windows.notes, "");
    ListWriter universal = photoshopFilter(PiplPlatform::mac);
    universal.entryPoint("8BIM", "ma64", "ArmMain");
    const Outcome mac = check(module(PiplPlatform::mac, {universal.bytes()},
                                     {{"x86_64", {"FilterPluginMain"}}, {"arm64", {"ArmMain"}}}));
    EXPECT_EQ(mac.errors, "");
    EXPECT_EQ(mac.status, 0);
}

TEST(LoadChecks, AnEntryPointTheCodeDoesNotExportFails)
{
    const Outcome windows = check(module(PiplPlatform::windows,
                                         {photoshopFilter(PiplPlatform::windows).bytes()},
                                         {{"x86", {"PluginMain"}}}));
    EXPECT_EQ(windows.errors, "Error: PiPL: the x86 code does not export \"FilterPluginMain\", "
                              "the entry point that 'wx86' names\n");
    EXPECT_EQ(windows.status, statusPluginWouldNotLoad);
    EXPECT_EQ(statusPluginWouldNotLoad, 98);
    ListWriter universal = photoshopFilter(PiplPlatform::mac);
    universal.entryPoint("8BIM", "ma64", "FilterPluginMain");
    const Outcome mac = check(module(PiplPlatform::mac, {universal.bytes()},
                                     {{"x86_64", {"FilterPluginMain"}}, {"arm64", {"Other"}}}));
    EXPECT_EQ(mac.errors, "Error: PiPL: the arm64 code does not export \"FilterPluginMain\", "
                          "the entry point that 'ma64' names\n");
}

TEST(LoadChecks, AMacEntryPointForAMissingArchitectureFails)
{
    ListWriter list = photoshopFilter(PiplPlatform::mac);
    list.entryPoint("8BIM", "ma64", "FilterPluginMain");
    const Outcome intelOnly =
        check(module(PiplPlatform::mac, {list.bytes()}, {{"x86_64", {"FilterPluginMain"}}}));
    EXPECT_EQ(intelOnly.errors, "Error: PiPL: 'ma64' names an entry point of arm64 code, which "
                                "the module does not hold\n");
    // A slice no property names is left alone: a host of that architecture skips the plug-in.
    const Outcome armOnly =
        check(module(PiplPlatform::mac, {photoshopFilter(PiplPlatform::mac).bytes()},
                     {{"arm64", {"FilterPluginMain"}}}));
    EXPECT_EQ(armOnly.errors, "Error: PiPL: 'mi64' names an entry point of x86_64 code, which "
                              "the module does not hold\n");
}

TEST(LoadChecks, AWindowsModuleNeedsTheEntryPointOfItsOwnMachineOnly)
{
    // Every Photoshop list names x86 and x64 entry points; a module holds one machine's code.
    ListWriter list{PiplPlatform::windows, {}};
    list.kind("8BIM", "8BFM").entryPoint("8BIM", "wx86", "Main32").entryPoint("8BIM", "8664",
                                                                              "Main64");
    const Bytes bytes = list.terminology(1000).bytes();
    EXPECT_EQ(check(module(PiplPlatform::windows, {bytes}, {{"x86", {"Main32"}}})).errors, "");
    EXPECT_EQ(check(module(PiplPlatform::windows, {bytes}, {{"x64", {"Main64"}}})).errors, "");
    EXPECT_EQ(check(module(PiplPlatform::windows, {bytes}, {{"ARM64", {"Main64"}}})).errors,
              "Error: PiPL: no 'wa64' property names the entry point of the module's ARM64 code\n");
    EXPECT_EQ(check(module(PiplPlatform::windows, {bytes}, {{"0x1c4", {"Main64"}}})).errors,
              "Error: PiPL: no property names the entry point of the module's 0x1c4 code\n");
}

TEST(LoadChecks, IllustratorReadsItsWx86EntryPointOnEveryMachine)
{
    ListWriter list{PiplPlatform::windows, {}};
    list.kind("ADBE", "SPEA").entryPoint("ADBE", "wx86", "PluginMain");
    for (const char* machine : {"x86", "x64", "ARM64"}) {
        SCOPED_TRACE(machine);
        EXPECT_EQ(check(module(PiplPlatform::windows, {list.bytes()}, {{machine, {"PluginMain"}}}, {}))
                      .errors,
                  "");
        EXPECT_EQ(check(module(PiplPlatform::windows, {list.bytes()}, {{machine, {"Other"}}}, {}))
                      .errors,
                  "Error: PiPL: the " + std::string(machine)
                      + " code does not export \"PluginMain\", the entry point that 'wx86' names\n");
    }
}

TEST(LoadChecks, TheTerminologyMustNameAnAeteTheFileHolds)
{
    for (PiplPlatform platform : {PiplPlatform::mac, PiplPlatform::windows}) {
        ListWriter list{platform, {}};
        list.kind("8BIM", "8BFM").terminology(0xFFFF).terminology(1001);
        LoadCheckInput input{platform, {list.bytes()}, {-1, 7}, false, {}};
        // Mac resource IDs are signed 16-bit numbers, Windows ordinals unsigned.
        EXPECT_EQ(check(input).errors,
                  "Error: PiPL: the 'hstm' property names aete resource 1001, which the file "
                  "does not hold\n");
        input.aeteIds = {1000};
        EXPECT_EQ(check(input).errors,
                  std::string("Error: PiPL: the 'hstm' property names aete resource ")
                      + (platform == PiplPlatform::mac ? "-1" : "65535")
                      + ", which the file does not hold\n"
                        "Error: PiPL: the 'hstm' property names aete resource 1001, which the "
                        "file does not hold\n");
    }
}

TEST(LoadChecks, TheKindMustBeOneADescriptionNames)
{
    const auto errorsFor = [](ListWriter list) {
        return check({PiplPlatform::windows, {list.bytes()}, {}, false, {}}).errors;
    };
    ListWriter none{PiplPlatform::windows, {}};
    EXPECT_EQ(errorsFor(none), "Error: PiPL: the list has no 'kind' property\n");
    ListWriter unknown{PiplPlatform::windows, {}};
    EXPECT_EQ(errorsFor(unknown.kind("8BIM", "8BXX")),
              "Error: PiPL: the 'kind' property holds '8BXX' (vendor '8BIM'), which is not a "
              "kind a PiPL description names\n");
    // Each family's kinds come with its own vendor.
    ListWriter wrongVendor{PiplPlatform::windows, {}};
    EXPECT_EQ(errorsFor(wrongVendor.kind("8BIM", "SPEA")),
              "Error: PiPL: the 'kind' property holds 'SPEA' (vendor '8BIM'), which is not a "
              "kind a PiPL description names\n");
    ListWriter shortKind{PiplPlatform::windows, {}};
    EXPECT_EQ(errorsFor(shortKind.record("8BIM", "kind", {'8', 'B'})),
              "Error: PiPL: the 'kind' property holds 2 bytes, not a four-character code\n");
    for (const char* code : {"8BAM", "8LIZ", "8BEM", "8BXM", "8BFM", "8BIF", "8MEA", "8BCM", "8BSM"}) {
        ListWriter known{PiplPlatform::windows, {}};
        EXPECT_EQ(errorsFor(known.kind("8BIM", code)), "") << code;
    }
}

TEST(LoadChecks, AResourceFileAloneGetsTheResourceChecksAndANote)
{
    LoadCheckInput input{PiplPlatform::mac, {photoshopFilter(PiplPlatform::mac).bytes()},
                         {1000}, false, {}};
    const Outcome outcome = check(input);
    EXPECT_EQ(outcome.errors, "");
    EXPECT_EQ(outcome.notes,
              "Note: the export checks were skipped: the file holds resources alone, no code\n");
    input.pipls.clear();
    EXPECT_EQ(check(input).errors,
              "Error: the file holds no PiPL resource, so no host loads it as a plug-in\n");
    EXPECT_EQ(check(input).status, statusPluginWouldNotLoad);
}

TEST(LoadChecks, SeveralPiplsAreNamedByTheirPlace)
{
    ListWriter good = photoshopFilter(PiplPlatform::windows);
    ListWriter bad = photoshopFilter(PiplPlatform::windows, "Missing");
    const Outcome outcome = check(module(PiplPlatform::windows, {good.bytes(), bad.bytes()},
                                         {{"x64", {"FilterPluginMain"}}}));
    EXPECT_EQ(outcome.errors, "Error: PiPL 2 of 2: the x64 code does not export \"Missing\", "
                              "the entry point that '8664' names\n");
}

TEST(LoadChecks, MalformedListsAndEntryPointsAreReportedNotRead)
{
    Bytes truncated = photoshopFilter(PiplPlatform::mac).bytes();
    truncated.resize(truncated.size() - 5);
    EXPECT_EQ(check(module(PiplPlatform::mac, {truncated}, {{"x86_64", {}}})).errors,
              "Error: PiPL: the list cannot be read: PiPL property 'hstm' declares 24 bytes past "
              "the end of the list\n");
    ListWriter mac{PiplPlatform::mac, {}};
    mac.kind("8BIM", "8BFM").record("8BIM", "mi64", {200, 'A', 'B'});  // the length runs past
    EXPECT_EQ(check(module(PiplPlatform::mac, {mac.bytes()}, {{"x86_64", {"AB"}}}, {})).errors,
              "Error: PiPL: the 'mi64' property holds no length-prefixed entry point name\n");
    ListWriter windows{PiplPlatform::windows, {}};
    windows.kind("8BIM", "8BFM").record("8BIM", "8664", {'A', 'B', 'C', 'D'});  // no terminator
    EXPECT_EQ(check(module(PiplPlatform::windows, {windows.bytes()}, {{"x64", {"ABCD"}}}, {})).errors,
              "Error: PiPL: the '8664' property holds no zero-terminated entry point name\n");
    ListWriter shortTerminology{PiplPlatform::mac, {}};
    shortTerminology.kind("8BIM", "8BFM").record("8BIM", "hstm", {0, 0, 0, 0, 'D', 'f'});
    EXPECT_EQ(check({PiplPlatform::mac, {shortTerminology.bytes()}, {}, false, {}}).errors,
              "Error: PiPL: the 'hstm' property holds 6 bytes, too few to name an aete resource\n");
}

TEST(LoadChecks, CraftedNamesCannotForgeALineOfTheReport)
{
    ListWriter list{PiplPlatform::windows, {}};
    list.kind("8BIM", std::string("8\n\"\\", 4))
        .entryPoint("8BIM", "8664", "Main\nError: fine\x7f\"\\\xc3\xa9");
    const Outcome outcome =
        check(module(PiplPlatform::windows, {list.bytes()}, {{"x64", {"Main"}}}, {}));
    EXPECT_EQ(outcome.errors,
              "Error: PiPL: the 'kind' property holds '8\\x0a\"\\\\' (vendor '8BIM'), which is not "
              "a kind a PiPL description names\n"
              "Error: PiPL: the x64 code does not export \"Main\\x0aError: fine\\x7f\\\"\\\\\xc3\xa9\", "
              "the entry point that '8664' names\n");
}

TEST(ModuleCode, ComesFromPeMachinesAndMachOSlices)
{
    PeModule pe;
    pe.machine = peMachineArm64;
    pe.exports = {"PluginMain", "Other"};
    const ModuleCode windows = moduleCodeOf(pe);
    EXPECT_EQ(windows.architecture, "ARM64");
    EXPECT_EQ(windows.exports, pe.exports);
    MachOSlice intel{machCpuX86_64, 8, {"_", "_PluginMain", "__private", "noUnderscore"}};
    MachOSlice arm{machCpuArm64, 8, {"_ArmMain"}};
    const std::vector<ModuleCode> mac = moduleCodeOf({intel, arm});
    ASSERT_EQ(mac.size(), 2u);
    EXPECT_EQ(mac[0].architecture, "x86_64");
    EXPECT_EQ(mac[0].exports, (std::vector<std::string>{"PluginMain", "_private"}));
    EXPECT_EQ(mac[1].architecture, "arm64");
    EXPECT_EQ(mac[1].exports, (std::vector<std::string>{"ArmMain"}));
}

}  // namespace
}  // namespace kel::rez
