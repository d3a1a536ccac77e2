#include "Driver.h"

#include <iostream>
#include <utility>

#include "CommandLine.h"
#include "ExitStatus.h"
#include "HomeDirectory.h"
#include "Input.h"
#include "OutputPass.h"
#include "Pipeline.h"
#include "Usage.h"

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

int __buildAndWrite(std::string inputText, const OutputPaths& paths)
{
    OutputTexts texts;
    if (int status = buildOutputsFromText(std::move(inputText), paths, texts))
        return status;
    return writeOutputs(texts, paths);
}

}  // namespace

int runTool(int argc, char** argv)
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

    expandHomeInPaths(settings, findHomeDirectory());
    if (int status = checkRequiredOutputs(settings.outputs))
        return status;

    std::string inputText = readInputText(settings.inputPath);
    if (inputText.empty())
        return failWith(statusNoInput, "no input provided");
    return __buildAndWrite(std::move(inputText), settings.outputs);
}

}  // namespace kel::rez
