#include "driver/Driver.h"

#include <cstdio>
#include <new>
#include <utility>

#include "common/Diagnostics.h"
#include "common/ExitStatus.h"
#include "driver/CommandLine.h"
#include "driver/HomeDirectory.h"
#include "driver/Input.h"
#include "driver/InspectMode.h"
#include "driver/Pipeline.h"
#include "driver/Usage.h"
#include "kelutilsFiles.h"
#include "output/DependencyFile.h"
#include "output/OutputFiles.h"
#include "output/OutputPass.h"

namespace kel::rez {

namespace {

// argv[0] as typed; a launcher may pass an empty vector, which is treated as a bare name.
std::string __invocationName(int argc, char** argv)
{
    return argc > 0 && argv[0] ? argv[0] : "";
}

int __printText(const std::string& text)
{
    writeText(stdout, text);
    return statusSuccess;
}

/// The --depfile rule: every output of the run depends on the list and on each file it names.
int __buildDependencyFile(const std::optional<std::string>& inputPath, const OutputPaths& paths,
                          OutputTexts& texts, Diagnostics& diagnostics)
{
    std::vector<std::string> prerequisites;
    if (inputPath)
        prerequisites.push_back(*inputPath);
    prerequisites.insert(prerequisites.end(), texts.namedFiles.begin(), texts.namedFiles.end());
    const CompiledFile file = writeDependencyFile(dependencyTargets(paths), prerequisites);
    if (file.status)
        return diagnostics.failWith(file.status, file.error);
    texts.depfileBytes.assign(file.bytes.begin(), file.bytes.end());
    return statusSuccess;
}

int __buildAndWrite(std::string inputText, const CommandLineSettings& settings,
                    const std::optional<std::string>& strictInputName, Diagnostics& diagnostics)
{
    const OutputPaths& paths = settings.outputs;
    OutputTexts texts;
    OutputFiles files(paths);
    // --strict reads a file as written: reading it as text drops every carriage return.
    std::string writtenText;
    const bool readWritten = strictInputName && settings.inputPath
                             && kel::utils::getBinaryFileContents(*settings.inputPath, writtenText);
    if (int status = buildOutputsFromText(std::move(inputText), paths, texts, diagnostics,
                                          strictInputName, readWritten ? &writtenText : nullptr,
                                          &files))
        return status;
    std::string().swap(writtenText);
    if (paths.depfile)
        if (int status = __buildDependencyFile(settings.inputPath, paths, texts, diagnostics))
            return status;
    return files.write(texts, diagnostics);
}

int __runTool(int argc, char** argv, Diagnostics& diagnostics)
{
    const std::string invocationName = __invocationName(argc, argv);
    if (argc <= 1)
        return __printText(usageText(invocationName));

    CommandLineSettings settings;
    if (int status = scanCommandLine(argc, argv, settings, diagnostics))
        return status;
    if (settings.helpRequested)
        return __printText(usageText(invocationName));
    if (settings.versionRequested)
        return __printText(versionText());

    // Messages of a --strict run name the input as the user typed it.
    std::optional<std::string> strictInputName;
    if (settings.strict)
        strictInputName = settings.inputPath.value_or("<stdin>");
    expandHomeInPaths(settings, findHomeDirectory());
    if (settings.inspectPath) {
        if (int status = checkInspectAlone(settings, diagnostics))
            return status;
        return inspectFile(*settings.inspectPath, diagnostics);
    }
    // From here on --strict collects the problems of the list instead of stopping at one.
    if (settings.strict)
        diagnostics = Diagnostics(Diagnostics::Mode::collect);
    if (int status = checkRequiredOutputs(settings.outputs, diagnostics))
        return status;
    if (int status = refuseSharedOutputFiles(settings.inputPath, settings.outputs, diagnostics))
        return status;

    std::string inputText = readInputText(settings.inputPath);
    if (inputText.empty())
        return diagnostics.failWith(statusNoInput, "no input provided"
                                                       + (settings.strict && settings.inputPath
                                                              ? noInputReason(*settings.inputPath)
                                                              : std::string()));
    return __buildAndWrite(std::move(inputText), settings, strictInputName, diagnostics);
}

}  // namespace

int runTool(int argc, char** argv)
{
    Diagnostics diagnostics;
    int status = statusSuccess;
    try {
        status = __runTool(argc, argv, diagnostics);
    } catch (const std::bad_alloc&) {
        // Every output file replacement has been undone on the way here. What was found
        // before is dropped with the memory it would take to print it.
        diagnostics = Diagnostics();
        diagnostics.fail(statusOutOfMemory, "out of memory");
    }
    writeText(stderr, diagnostics.text());
    return diagnostics.failed() ? diagnostics.status() : status;
}

}  // namespace kel::rez
