// Runs the whole program on arbitrary input text in memory: parse, load, number and build
// every output text, with every output path given so that every writer runs, once as it is
// and once with --strict. No file is touched. Any crash, hang, leak, sanitizer report,
// unexpected status or --strict run that passes and differs is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/ExitStatus.h"
#include "driver/Pipeline.h"

namespace {

bool isBuildStatus(int status)
{
    return status == kel::rez::statusSuccess
           || (status >= kel::rez::statusUnparsableJson && status <= kel::rez::statusBadObjectData);
}

bool sameTexts(const kel::rez::OutputTexts& a, const kel::rez::OutputTexts& b)
{
    return a.headerText.text() == b.headerText.text() && a.idToFileText.text() == b.idToFileText.text()
           && a.macText.text() == b.macText.text() && a.winText.text() == b.winText.text()
           && a.piplBytes == b.piplBytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);

    kel::rez::OutputPaths paths;
    paths.header = "out.h";
    paths.idToFile = "IDtoFile.txt";
    paths.mac = "out.r";
    paths.windows = "out.rc";
    paths.pipl = "out.pipl";
    kel::rez::OutputTexts texts;

    kel::rez::OutputTexts strictTexts;

    // The problems stay in the diagnostics, unprinted, so that a long run is quiet.
    kel::rez::Diagnostics diagnostics;
    const int status = kel::rez::buildOutputsFromText(text, paths, texts, diagnostics);
    kel::rez::Diagnostics strictDiagnostics(kel::rez::Diagnostics::Mode::collect);
    const int strictStatus = kel::rez::buildOutputsFromText(
        text, paths, strictTexts, strictDiagnostics, std::string("<fuzz>"));

    if (!isBuildStatus(status)) {
        std::fprintf(stderr, "unexpected status %d\n", status);
        std::abort();
    }
    // --strict either refuses the input or ends as the run without it; and what it passes,
    // the lenient parser must read. A failed run writes no text, and under --strict the
    // output pass goes on past a fault to report the others, so only passing texts compare.
    if (strictStatus != kel::rez::statusStrictCheckFailed
        && (strictStatus != status || status == kel::rez::statusUnparsableJson
            || (status == kel::rez::statusSuccess && !sameTexts(texts, strictTexts)))) {
        std::fprintf(stderr, "status %d, with --strict %d\n", status, strictStatus);
        std::abort();
    }
    return 0;
}
