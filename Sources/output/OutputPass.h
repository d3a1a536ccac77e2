// The output pass: builds every output text in memory; nothing is written to disk here.
#ifndef VANTREL_OUTPUT_PASS_H
#define VANTREL_OUTPUT_PASS_H

#include <string>
#include <vector>

#include "common/Diagnostics.h"
#include "common/OutputPaths.h"
#include "output/CompiledResources.h"
#include "resources/Resource.h"

namespace kel::rez {

/// The texts of the run's outputs, and the Illustrator PiPL byte image.
struct OutputTexts {
    std::string headerText;
    std::string idToFileText;
    std::string macText;
    std::string winText;
    std::vector<unsigned char> piplBytes;
    CompiledOutputs compiled;           // the resources of --rsrc and --res
    std::vector<unsigned char> rsrcBytes;
    std::vector<unsigned char> resBytes;
    std::vector<std::string> namedFiles;  // every "file" of the list, for --depfile
    std::vector<unsigned char> depfileBytes;
};

/// Walks resourcesByType and appends every resource's output, then compiles the resource
/// files. Returns 0, or 89 / 90 / 95 / 96 after the message was reported.
int buildOutputs(const ResourcesByType& resourcesByType, const OutputPaths& paths,
                 OutputTexts& texts, Diagnostics& diagnostics);

}  // namespace kel::rez

#endif
