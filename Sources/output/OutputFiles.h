// Writing the output files: the texts stream into temporaries during the pass, and the
// outputs are replaced once every text is complete.
#ifndef VANTREL_OUTPUT_FILES_H
#define VANTREL_OUTPUT_FILES_H

#include <optional>
#include <string>
#include <vector>

#include "common/Diagnostics.h"
#include "common/OutputPaths.h"
#include "kelutilsFileReplacement.h"
#include "output/OutputTexts.h"

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

/// The files of a run's outputs: header, IDtoFile.txt, .r, .rc, the PiPL byte image,
/// .rsrc, .res and the depfile, each only when its path was given and its content is
/// non-empty, so that no output is ever left half written: every file is first written
/// beside its output, and only when all of them are complete are they renamed over the
/// outputs, in that order. An output that already holds the bytes is left alone, and keeps
/// its time stamp. An object that is destroyed before write leaves every output as it was.
class OutputFiles
{
public:
    explicit OutputFiles(const OutputPaths& paths);

    /// Lets the texts whose paths were given stream into their temporaries as the output
    /// pass writes them. A special file (/dev/stdout) still gets its text at write.
    void streamTexts(OutputTexts& texts);

    /// Completes the files and renames them over the outputs. Returns 0, or 91 after the
    /// message for the first file that cannot be written; every output then has its old
    /// content again (the ones replaced before a failed rename are put back).
    int write(const OutputTexts& texts, Diagnostics& diagnostics);

private:
    const OutputPaths& __paths;
    kel::utils::FileReplacement __replacement;
    /// For each file the replacement started or staged, in that order, its row of the table.
    std::vector<std::size_t> __rowOfStage;
    /// For each row of the table, the number of its started file, when its text streams.
    std::vector<std::optional<std::size_t>> __startedFile;
};

/// Writes texts that were built whole, as OutputFiles does.
int writeOutputs(const OutputTexts& texts, const OutputPaths& paths, Diagnostics& diagnostics);

}  // namespace kel::rez

#endif
