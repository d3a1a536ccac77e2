// Writing the output files, once every text is complete: header, IDtoFile.txt, .r, .rc
// and the PiPL byte image, all or none of them.
#include "output/OutputFiles.h"

#include <vector>

#include "common/ExitStatus.h"
#include "kelutilsFileReplacement.h"

namespace kel::rez {

namespace {

/// One output file: where it goes, what it holds (a text, written with the platform's
/// line ends, or bytes), and how messages name it.
struct __OutputFile {
    const std::optional<std::string>& path;
    const std::string* text;
    const std::vector<unsigned char>* bytes;
    const char* description;

    bool isEmpty() const { return text ? text->empty() : bytes->empty(); }
};

int __cannotWrite(const __OutputFile& output)
{
    return failWith(statusCannotWrite, std::string("cannot write to ") + output.description
                                           + " output file at " + *output.path);
}

bool __stage(kel::utils::FileReplacement& replacement, const __OutputFile& output)
{
    if (output.text)
        return replacement.stageText(*output.path, *output.text);
    return replacement.stage(*output.path, reinterpret_cast<const char*>(output.bytes->data()),
                             output.bytes->size());
}

}  // namespace

int writeOutputs(const OutputTexts& texts, const OutputPaths& paths)
{
    const __OutputFile outputs[] = {
        {paths.header, &texts.headerText, nullptr, "header"},
        {paths.idToFile, &texts.idToFileText, nullptr, "IDtoFile.txt"},
        {paths.mac, &texts.macText, nullptr, "*.r"},
        {paths.windows, &texts.winText, nullptr, "*.rc"},
        {paths.pipl, nullptr, &texts.piplBytes, "PiPL"},
        {paths.rsrc, nullptr, &texts.rsrcBytes, "*.rsrc"},
        {paths.res, nullptr, &texts.resBytes, "*.res"},
        {paths.depfile, nullptr, &texts.depfileBytes, "depfile"},
    };
    kel::utils::FileReplacement replacement("vantrel");
    std::vector<const __OutputFile*> staged;
    for (const __OutputFile& output : outputs) {
        if (!output.path || output.isEmpty())
            continue;
        if (!__stage(replacement, output))
            return __cannotWrite(output);
        staged.push_back(&output);
    }
    std::size_t failedStage = 0;
    if (!replacement.commit(failedStage))
        return __cannotWrite(*staged[failedStage]);
    return statusSuccess;
}

}  // namespace kel::rez
