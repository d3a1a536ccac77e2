// Writing the output files: the texts into temporaries as they grow, the outputs
// replaced once every text is complete, all or none of them.
#include "output/OutputFiles.h"

#include <cstring>
#include <iterator>
#include <vector>

#include "common/ExitStatus.h"
#include "kelutilsFileIdentity.h"

namespace kel::rez {

namespace {

/// One output file: its path, what it holds (a text, written with the platform's line
/// ends, or bytes), and how messages name it.
struct __OutputFile {
    std::optional<std::string> OutputPaths::*path;
    StreamedText OutputTexts::*text;
    const std::vector<unsigned char> OutputTexts::*bytes;
    const char* description;
};

/// In the order they are replaced; the texts come first, so that the files started for
/// them keep this order among the stage calls.
const __OutputFile __outputFiles[] = {
    {&OutputPaths::header, &OutputTexts::headerText, nullptr, "header"},
    {&OutputPaths::idToFile, &OutputTexts::idToFileText, nullptr, "IDtoFile.txt"},
    {&OutputPaths::mac, &OutputTexts::macText, nullptr, "*.r"},
    {&OutputPaths::windows, &OutputTexts::winText, nullptr, "*.rc"},
    {&OutputPaths::pipl, nullptr, &OutputTexts::piplBytes, "PiPL"},
    {&OutputPaths::rsrc, nullptr, &OutputTexts::rsrcBytes, "*.rsrc"},
    {&OutputPaths::res, nullptr, &OutputTexts::resBytes, "*.res"},
    {&OutputPaths::depfile, nullptr, &OutputTexts::depfileBytes, "depfile"},
};

std::string __named(const __OutputFile& output, const OutputPaths& paths)
{
    return std::string(output.description) + " output file at " + *(paths.*output.path);
}

bool __isEmpty(const __OutputFile& output, const OutputTexts& texts)
{
    return output.text ? (texts.*output.text).empty() : (texts.*output.bytes).empty();
}

std::size_t __rowCount()
{
    return std::size(__outputFiles);
}

bool __stage(kel::utils::FileReplacement& replacement, const __OutputFile& output,
             const OutputPaths& paths, const OutputTexts& texts)
{
    const std::string& path = *(paths.*output.path);
    if (output.text)
        return replacement.stageText(path, (texts.*output.text).text());
    const std::vector<unsigned char>& bytes = texts.*output.bytes;
    return replacement.stage(path, reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

int __cannotWrite(const __OutputFile& output, const OutputPaths& paths,
                  const kel::utils::FileReplacement& replacement, Diagnostics& diagnostics)
{
    // Only when putting an old content back failed too: say where it still is, on lines of
    // their own before the failure, all of them one problem that is reported whole.
    std::string lines;
    for (const kel::utils::FileReplacement::Unrestored& unrestored : replacement.unrestored())
        lines += "could not put back the old content of " + unrestored.path + "; it is kept in "
                 + unrestored.oldContent + "\nError: ";
    // --strict says why, as the operating system put it.
    std::string reason;
    if (diagnostics.collecting() && replacement.failureErrno() != 0)
        reason = std::string(": ") + std::strerror(replacement.failureErrno());
    return diagnostics.failWith(statusCannotWrite,
                                lines + "cannot write to " + __named(output, paths) + reason);
}

/// The identity of the input, when it is a file that exists.
std::optional<std::string> __inputIdentity(const std::optional<std::string>& inputPath)
{
    return inputPath ? kel::utils::existingFileIdentity(*inputPath)
                     : kel::utils::standardInputIdentity();
}

}  // namespace

int refuseSharedOutputFiles(const std::optional<std::string>& inputPath, const OutputPaths& paths,
                            Diagnostics& diagnostics)
{
    const std::optional<std::string> input = __inputIdentity(inputPath);
    std::vector<std::pair<std::string, const __OutputFile*>> earlier;
    for (const __OutputFile& output : __outputFiles) {
        if (!(paths.*output.path))
            continue;
        // Devices, pipes and folders are not replaced, so naming one twice loses nothing.
        const std::optional<std::string> identity = kel::utils::fileIdentity(*(paths.*output.path));
        if (!identity)
            continue;
        if (identity == input)
            return diagnostics.failWith(
                statusOutputFileShared,
                __named(output, paths) + " is the input file"
                    + (inputPath ? " at " + *inputPath : std::string(" read as standard input")));
        for (const auto& [earlierIdentity, earlierOutput] : earlier)
            if (*identity == earlierIdentity)
                return diagnostics.failWith(statusOutputFileShared,
                                            __named(output, paths) + " is the same file as the "
                                                + __named(*earlierOutput, paths));
        earlier.emplace_back(*identity, &output);
    }
    return statusSuccess;
}

std::vector<std::string> dependencyTargets(const OutputPaths& paths)
{
    std::vector<std::string> targets;
    for (const __OutputFile& output : __outputFiles)
        if (output.path != &OutputPaths::depfile && paths.*output.path)
            targets.push_back(*(paths.*output.path));
    return targets;
}

OutputFiles::OutputFiles(const OutputPaths& paths)
    : __paths(paths), __replacement("vantrel"), __startedFile(__rowCount())
{
}

void OutputFiles::streamTexts(OutputTexts& texts)
{
    for (std::size_t row = 0; row < __rowCount(); ++row) {
        const __OutputFile& output = __outputFiles[row];
        if (!output.text || !(__paths.*output.path) || __startedFile[row])
            continue;
        __startedFile[row] = __replacement.startFile(*(__paths.*output.path));
        __rowOfStage.push_back(row);
        (texts.*output.text).streamInto(__replacement, *__startedFile[row]);
    }
}

int OutputFiles::write(const OutputTexts& texts, Diagnostics& diagnostics)
{
    for (std::size_t row = 0; row < __rowCount(); ++row) {
        const __OutputFile& output = __outputFiles[row];
        if (!(__paths.*output.path))
            continue;
        const std::optional<std::size_t>& started = __startedFile[row];
        if (__isEmpty(output, texts)) {
            if (started)
                __replacement.dropFile(*started);
            continue;
        }
        const bool staged =
            started ? __replacement.finishTextFile(*started, (texts.*output.text).text())
                    : __stage(__replacement, output, __paths, texts);
        if (!started)
            __rowOfStage.push_back(row);
        if (!staged)
            return __cannotWrite(output, __paths, __replacement, diagnostics);
    }
    std::size_t failedStage = 0;
    if (!__replacement.commit(failedStage))
        return __cannotWrite(__outputFiles[__rowOfStage[failedStage]], __paths, __replacement,
                             diagnostics);
    return statusSuccess;
}

int writeOutputs(const OutputTexts& texts, const OutputPaths& paths, Diagnostics& diagnostics)
{
    OutputFiles files(paths);
    return files.write(texts, diagnostics);
}

}  // namespace kel::rez
