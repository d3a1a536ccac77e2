// The output pass: builds every output text in memory, then writes the files.
#ifndef VANTREL_OUTPUT_PASS_H
#define VANTREL_OUTPUT_PASS_H

#include <optional>
#include <string>
#include <vector>

#include "Resource.h"

namespace kel::rez {

/// The output paths of the command line, after "~" substitution; absent when not given.
struct OutputPaths {
    std::optional<std::string> header;
    std::optional<std::string> idToFile;
    std::optional<std::string> mac;
    std::optional<std::string> windows;
    std::optional<std::string> pipl;
};

struct OutputTexts {
    std::string headerText;
    std::string idToFileText;
    std::string macText;
    std::string winText;
    std::vector<unsigned char> piplBytes;
};

/// Walks resourcesByType and appends every resource's output. Returns 0, or 89 / 90 after
/// the message was printed.
int buildOutputs(const ResourcesByType& resourcesByType, const OutputPaths& paths,
                 OutputTexts& texts);

/// Writes header, IDtoFile.txt, .r, .rc and the PiPL byte image, in that order, each only
/// when its path was given and its content is non-empty. Returns 0, or 91 at the first
/// file that cannot be written.
int writeOutputs(const OutputTexts& texts, const OutputPaths& paths);

}  // namespace kel::rez

#endif
