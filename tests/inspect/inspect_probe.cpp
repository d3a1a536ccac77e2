// Prints what the readers find in a file or bundle folder, one fact a line, for the tests
// that build real modules with other toolchains and compare.
#include <cctype>
#include <cstdio>
#include <string>

#include "common/Diagnostics.h"
#include "inspect/LoadChecks.h"
#include "inspect/MacBundleReader.h"
#include "inspect/MacResourceFileReader.h"
#include "inspect/MachOReader.h"
#include "inspect/PeReader.h"
#include "inspect/ResFileReader.h"

using namespace kel::rez;

static std::string hexOf(const std::vector<unsigned char>& bytes)
{
    std::string text;
    char digits[3];
    for (unsigned char byte : bytes) {
        std::snprintf(digits, sizeof digits, "%02x", byte);
        text += digits;
    }
    return text;
}

static int failed(const std::string& error)
{
    std::printf("error %s\n", error.c_str());
    return 1;
}

static void printWindows(const std::vector<WindowsResource>& resources)
{
    for (const WindowsResource& r : resources)
        std::printf("resource %s %s %u %s\n", r.type.text().c_str(), r.name.text().c_str(),
                    r.language, hexOf(r.bytes).c_str());
}

static void printMac(const std::vector<MacResource>& resources)
{
    for (const MacResource& r : resources)
        std::printf("resource %s %d %s %s\n", r.type.c_str(), r.id,
                    r.hasName ? r.name.c_str() : "-", hexOf(r.bytes).c_str());
}

static int printMachO(const std::vector<unsigned char>& bytes)
{
    const ReadResult<std::vector<MachOSlice>> slices = readMachO(bytes);
    if (!slices.ok())
        return failed(slices.error);
    for (const MachOSlice& slice : slices.value) {
        std::printf("slice %s\n", machCpuName(slice.cpuType).c_str());
        for (const std::string& name : slice.exports)
            std::printf("export %s %s\n", machCpuName(slice.cpuType).c_str(), name.c_str());
    }
    return 0;
}

// Windows resource compilers may upper-case a type name; the Mac keeps it as written.
static bool isType(const WindowsResourceId& type, const std::string& name)
{
    if (type.isOrdinal || type.name.size() != name.size())
        return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(type.name[i]))
            != std::toupper(static_cast<unsigned char>(name[i])))
            return false;
    return true;
}

static void addWindows(const std::vector<WindowsResource>& resources, LoadCheckInput& input)
{
    for (const WindowsResource& r : resources) {
        if (isType(r.type, "PiPL"))
            input.pipls.push_back(r.bytes);
        else if (isType(r.type, "aete") && r.name.isOrdinal)
            input.aeteIds.push_back(r.name.ordinal);
    }
}

static bool addMac(const std::vector<unsigned char>& bytes, LoadCheckInput& input)
{
    const auto resources = readMacResourceFile(bytes);
    if (!resources.ok())
        return false;
    for (const MacResource& r : resources.value) {
        if (r.type == "PiPL")
            input.pipls.push_back(r.bytes);
        else if (r.type == "aete")
            input.aeteIds.push_back(r.id);
    }
    return true;
}

/// The load checks on a module, .res, resource file or bundle: their lines, then the status.
static int checkLoads(const std::string& path)
{
    LoadCheckInput input{PiplPlatform::windows, {}, {}, false, {}};
    std::vector<unsigned char> bytes;
    if (looksLikeMacBundle(path)) {
        input.platform = PiplPlatform::mac;
        const ReadResult<MacBundle> bundle = readMacBundle(path);
        if (!bundle.ok())
            return failed(bundle.error);
        for (const BundleFile& file : bundle.value.resourceFiles)
            if (!addMac(file.bytes, input))
                return failed("unreadable " + file.path);
        if ((input.hasCode = bundle.value.hasExecutable)) {
            const auto slices = readMachO(bundle.value.executable.bytes);
            if (!slices.ok())
                return failed(slices.error);
            input.code = moduleCodeOf(slices.value);
        }
    } else if (!readWholeFile(path, bytes)) {
        return failed("cannot read " + path);
    } else if (looksLikePeModule(bytes)) {
        const ReadResult<PeModule> module = readPeModule(bytes);
        if (!module.ok())
            return failed(module.error);
        addWindows(module.value.resources, input);
        input.hasCode = true;
        input.code = {moduleCodeOf(module.value)};
    } else if (looksLikeResFile(bytes)) {
        const auto resources = readResFile(bytes);
        if (!resources.ok())
            return failed(resources.error);
        addWindows(resources.value, input);
    } else {
        input.platform = PiplPlatform::mac;
        if (!addMac(bytes, input))
            return failed("unreadable " + path);
    }
    Diagnostics diagnostics(Diagnostics::Mode::collect);
    const std::string notes = checkPluginLoads(input, diagnostics);
    std::printf("%s%s", diagnostics.text().c_str(), notes.c_str());
    Diagnostics first;
    checkPluginLoads(input, first);
    return first.status();
}

int main(int argc, char** argv)
{
    if (argc != 3)
        return failed("usage: inspect_probe pe|res|rsrc|macho|bundle|check PATH");
    const std::string kind = argv[1], path = argv[2];
    if (kind == "check")
        return checkLoads(path);
    if (kind == "bundle") {
        const ReadResult<MacBundle> bundle = readMacBundle(path);
        if (!bundle.ok())
            return failed(bundle.error);
        for (const BundleFile& file : bundle.value.resourceFiles) {
            const auto resources = readMacResourceFile(file.bytes);
            if (!resources.ok())
                return failed(resources.error);
            printMac(resources.value);
        }
        return bundle.value.hasExecutable ? printMachO(bundle.value.executable.bytes) : 0;
    }
    std::vector<unsigned char> bytes;
    if (!readWholeFile(path, bytes))
        return failed("cannot read " + path);
    if (kind == "pe") {
        const ReadResult<PeModule> module = readPeModule(bytes);
        if (!module.ok())
            return failed(module.error);
        std::printf("machine %s\n", peMachineName(module.value.machine).c_str());
        for (const std::string& name : module.value.exports)
            std::printf("export %s\n", name.c_str());
        printWindows(module.value.resources);
    } else if (kind == "res") {
        const auto resources = readResFile(bytes);
        if (!resources.ok())
            return failed(resources.error);
        printWindows(resources.value);
    } else if (kind == "rsrc") {
        const auto resources = readMacResourceFile(bytes);
        if (!resources.ok())
            return failed(resources.error);
        printMac(resources.value);
    } else {
        return printMachO(bytes);
    }
    return 0;
}
