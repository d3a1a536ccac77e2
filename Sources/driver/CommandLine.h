// The option scan: turns the argument vector into the run's path settings.
#ifndef VANTREL_COMMAND_LINE_H
#define VANTREL_COMMAND_LINE_H

#include <optional>
#include <string>

#include "common/Diagnostics.h"
#include "common/OutputPaths.h"

namespace kel::rez {

/// What the command line asked for. An absent path and a path given as "" stay distinct.
struct CommandLineSettings {
    bool helpRequested = false;
    bool versionRequested = false;
    bool strict = false;                   // --strict: check the input closely before using it
    std::optional<std::string> inputPath;  // absent: read standard input
    std::optional<std::string> inspectPath;  // --inspect: print the file's resources instead
    OutputPaths outputs;
};

/// Scans argv[1] to argv[argc - 1] left to right. Returns 0 with settings filled (stopping
/// early with helpRequested or versionRequested set at a "--help" or "--version" in option
/// position; "--strict" takes no value and the scan goes on after it), or the status (64 to
/// 74) of the first bad argument after its message went to diagnostics.
int scanCommandLine(int argc, const char* const* argv, CommandLineSettings& settings,
                    Diagnostics& diagnostics);

/// Replaces a leading "~" of every present path by home (see expandLeadingTilde).
void expandHomeInPaths(CommandLineSettings& settings, const std::string& home);

/// Returns 0 when --inspect stands alone (--strict aside); otherwise reports the message
/// and returns 74.
int checkInspectAlone(const CommandLineSettings& settings, Diagnostics& diagnostics);

/// Returns 0 when --adobe and at least one of --mac / --windows / --rsrc / --res were given;
/// otherwise reports the message and returns 75.
int checkRequiredOutputs(const OutputPaths& paths, Diagnostics& diagnostics);

}  // namespace kel::rez

#endif
