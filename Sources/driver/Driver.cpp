#include "driver/Driver.h"

#include <iostream>
#include <new>
#include <utility>

#include "driver/CommandLine.h"
#include "common/ExitStatus.h"
#include "driver/HomeDirectory.h"
#include "driver/Input.h"
#include "driver/Pipeline.h"
#include "driver/Usage.h"
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
    std::cout << text;
    std::cout.flush();
    return statusSuccess;
}

int __buildAndWrite(std::string inputText, const OutputPaths& paths,
                    const std::optional<std::string>& strictInputName)
{
    OutputTexts texts;
    if (int status = buildOutputsFromText(std::move(inputText), paths, texts, strictInputName))
        return status;
    return writeOutputs(texts, paths);
}

int __runTool(int argc, char** argv)
{
    const std::string invocationName = __invocationName(argc, argv);
    if (argc <= 1)
        return __printText(usageText(invocationName));

    CommandLineSettings settings;
    if (int status = scanCommandLine(argc, argv, settings))
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
    if (int status = checkRequiredOutputs(settings.outputs))
        return status;
    if (int status = refuseSharedOutputFiles(settings.inputPath, settings.outputs))
        return status;

    std::string inputText = readInputText(settings.inputPath);
    if (inputText.empty())
        return failWith(statusNoInput, "no input provided");
    return __buildAndWrite(std::move(inputText), settings.outputs, strictInputName);
}

}  // namespace

int runTool(int argc, char** argv)
{
    try {
        return __runTool(argc, argv);
    } catch (const std::bad_alloc&) {
        // Every output file replacement has been undone on the way here.
        return failWith(statusOutOfMemory, "out of memory");
    }
}

}  // namespace kel::rez
