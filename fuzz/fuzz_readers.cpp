// Feeds one input to every reader of built modules, and to the load checks as a PiPL of
// either platform: none may crash, hang or read out of bounds, each reader either reads the
// input or names what is malformed, and the checks report every failure with its status.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "common/Diagnostics.h"
#include "common/ExitStatus.h"
#include "inspect/LoadChecks.h"
#include "inspect/InspectedFile.h"
#include "inspect/MacResourceFileReader.h"
#include "inspect/MachOReader.h"
#include "inspect/PeReader.h"
#include "inspect/ResFileReader.h"
#include "inspect/ResourceListing.h"

template <typename Result>
static void expectReadOrMessage(const Result& result)
{
    if (!result.ok() && result.error.empty())
        std::abort();
}

static void expectChecksReport(const kel::rez::LoadCheckInput& input)
{
    kel::rez::Diagnostics diagnostics(kel::rez::Diagnostics::Mode::collect);
    kel::rez::checkPluginLoads(input, diagnostics);
    kel::rez::Diagnostics first;
    kel::rez::checkPluginLoads(input, first);
    if (diagnostics.failed() != first.failed()
        || (first.failed() && first.status() != kel::rez::statusPluginWouldNotLoad))
        std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<unsigned char> bytes(data, data + size);
    const auto pe = kel::rez::readPeModule(bytes);
    expectReadOrMessage(pe);
    expectReadOrMessage(kel::rez::readResFile(bytes));
    expectReadOrMessage(kel::rez::readMacResourceFile(bytes));
    const auto slices = kel::rez::readMachO(bytes);
    expectReadOrMessage(slices);
    std::vector<kel::rez::ModuleCode> code = kel::rez::moduleCodeOf(slices.value);
    code.push_back(kel::rez::moduleCodeOf(pe.value));
    code.push_back({"x64", {"FilterPluginMain", "PluginMain"}});
    code.push_back({"x86_64", {"FilterPluginMain", "PluginMain"}});
    for (auto platform : {kel::rez::PiplPlatform::mac, kel::rez::PiplPlatform::windows}) {
        expectChecksReport({platform, {bytes}, {1000, -1}, true, code});
        expectChecksReport({platform, {bytes, bytes}, {}, false, {}});
    }
    // The inspect mode on top: a file that reads gets listed, each PiPL decoded and
    // compiled again to see whether a description gives its bytes back.
    const auto file = kel::rez::readInspectedBytes(bytes);
    expectReadOrMessage(file);
    if (file.ok())
        kel::rez::listResources(file.value);
    return 0;
}
