#include "driver/CommandLine.h"

#include <cstring>

#include "common/Diagnostics.h"
#include "common/ExitStatus.h"
#include "driver/HomeDirectory.h"

namespace kel::rez {

namespace {

// An option that takes a path, where its value goes, and the statuses of its two errors.
struct __PathOption {
    const char* name;
    std::optional<std::string>* setting;
    int missingValueStatus;
    int optionAsValueStatus;
};

bool __startsWithTwoDashes(const char* argument)
{
    return argument[0] == '-' && argument[1] == '-';
}

// Takes the value after argv[index] into option.setting. Returns 0 or the printed error's status.
int __takePathValue(const __PathOption& option, int argc, const char* const* argv, int index,
                    Diagnostics& diagnostics)
{
    const std::string typed = argv[index];
    if (index + 1 >= argc)
        return diagnostics.failWith(option.missingValueStatus,
                                    "expected path for " + typed
                                        + " argument, but found end-of-input instead");
    const char* value = argv[index + 1];
    if (__startsWithTwoDashes(value))
        return diagnostics.failWith(option.optionAsValueStatus, "expected path for " + typed
                                                                    + " argument, but found "
                                                                    + value + " instead");
    *option.setting = std::string(value);
    return 0;
}

}  // namespace

int scanCommandLine(int argc, const char* const* argv, CommandLineSettings& settings,
                    Diagnostics& diagnostics)
{
    OutputPaths& outputs = settings.outputs;
    const __PathOption pathOptions[] = {
        {"--in", &settings.inputPath, statusInputPathMissing, statusInputPathIsOption},
        {"--input", &settings.inputPath, statusInputPathMissing, statusInputPathIsOption},
        {"--header", &outputs.header, statusHeaderPathMissing, statusHeaderPathIsOption},
        {"--adobe", &outputs.idToFile, statusAdobePathMissing, statusAdobePathIsOption},
        {"--mac", &outputs.mac, statusMacPathMissing, statusMacPathIsOption},
        {"--windows", &outputs.windows, statusWindowsPathMissing, statusWindowsPathIsOption},
        {"--pipl", &outputs.pipl, statusWindowsPathMissing, statusWindowsPathIsOption},
        {"--rsrc", &outputs.rsrc, statusMacPathMissing, statusMacPathIsOption},
        {"--res", &outputs.res, statusWindowsPathMissing, statusWindowsPathIsOption},
        {"--depfile", &outputs.depfile, statusHeaderPathMissing, statusHeaderPathIsOption},
        {"--inspect", &settings.inspectPath, statusInputPathMissing, statusInputPathIsOption},
    };

    int index = 1;
    while (index < argc) {
        const char* argument = argv[index];
        if (std::strcmp(argument, "--help") == 0) {
            settings.helpRequested = true;
            return 0;
        }
        if (std::strcmp(argument, "--version") == 0) {
            settings.versionRequested = true;
            return 0;
        }
        if (std::strcmp(argument, "--strict") == 0) {
            settings.strict = true;
            ++index;
            continue;
        }
        const __PathOption* matched = nullptr;
        for (const __PathOption& option : pathOptions) {
            if (std::strcmp(argument, option.name) == 0) {
                matched = &option;
                break;
            }
        }
        if (!matched)
            return diagnostics.failWith(statusBadArgument,
                                        std::string("encountered bad program argument ") + argument
                                            + ". Run with --help for help.");
        if (int status = __takePathValue(*matched, argc, argv, index, diagnostics))
            return status;
        index += 2;
    }
    return 0;
}

void expandHomeInPaths(CommandLineSettings& settings, const std::string& home)
{
    OutputPaths& outputs = settings.outputs;
    for (std::optional<std::string>* path :
         {&settings.inputPath, &settings.inspectPath, &outputs.header, &outputs.idToFile, &outputs.mac, &outputs.windows,
          &outputs.pipl, &outputs.rsrc, &outputs.res, &outputs.depfile})
        expandLeadingTilde(*path, home);
}

int checkInspectAlone(const CommandLineSettings& settings, Diagnostics& diagnostics)
{
    const OutputPaths& o = settings.outputs;
    for (const std::optional<std::string>* path :
         {&settings.inputPath, &o.header, &o.idToFile, &o.mac, &o.windows, &o.pipl, &o.rsrc, &o.res,
          &o.depfile})
        if (path->has_value())
            return diagnostics.failWith(statusBadArgument,
                                        "the --inspect argument takes no input or output "
                                        "arguments beside it. Run with --help for help.");
    return 0;
}

int checkRequiredOutputs(const OutputPaths& paths, Diagnostics& diagnostics)
{
    if (paths.idToFile && (paths.mac || paths.windows || paths.rsrc || paths.res))
        return 0;
    return diagnostics.failWith(statusOutputsMissing,
                                "expected the --adobe argument and at least one of the "
                                "--mac or --windows arguments");
}

}  // namespace kel::rez
