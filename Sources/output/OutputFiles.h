// Writing the output files once every text is complete.
#ifndef VANTREL_OUTPUT_FILES_H
#define VANTREL_OUTPUT_FILES_H

#include <string>
#include <vector>

#include "common/Diagnostics.h"
#include "common/OutputPaths.h"
#include "output/OutputPass.h"

namespace kel::rez {

/// Refuses, with 93 after its message, an output path that names the input file (or the
/// file standard input reads) or the file of an output before it in the order below, be
/// it through another spelling, a symbolic link or a hard link; 0 otherwise. Paths that are
/// no regular file (devices, pipes, /dev/stdout) may be named more than once.
int refuseSharedOutputFiles(const std::optional<std::string>& inputPath, const OutputPaths& paths,
                            Diagnostics& diagnostics);

/// The paths of the outputs given, in the order below, but for the depfile itself: the
/// targets of its rule.
std::vector<std::string> dependencyTargets(const OutputPaths& paths);

/// Replaces header, IDtoFile.txt, .r, .rc and the PiPL byte image, each only when its path
/// was given and its content is non-empty, so that no output is ever left half written:
/// every file is first written beside its output, and only when all of them are complete
/// are they renamed over the outputs, in that order. An output that already holds the
/// bytes is left alone. Returns 0, or 91 after the message for the first file that cannot
/// be written; every output then has its old content again (the ones replaced before a
/// failed rename are put back).
int writeOutputs(const OutputTexts& texts, const OutputPaths& paths, Diagnostics& diagnostics);

}  // namespace kel::rez

#endif
