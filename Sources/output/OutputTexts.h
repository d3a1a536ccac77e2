// What the output pass produces: the texts of the run's outputs, kept in memory or
// streaming into their files, and the bytes of the outputs built whole.
#ifndef VANTREL_OUTPUT_TEXTS_H
#define VANTREL_OUTPUT_TEXTS_H

#include <string>
#include <vector>

#include "output/CompiledResources.h"
#include "output/StreamedText.h"

namespace kel::rez {

/// The texts of the run's outputs, and the Illustrator PiPL byte image.
struct OutputTexts {
    StreamedText headerText;
    StreamedText idToFileText;
    StreamedText macText;
    StreamedText winText;
    std::vector<unsigned char> piplBytes;
    CompiledOutputs compiled;           // the resources of --rsrc and --res
    std::vector<unsigned char> rsrcBytes;
    std::vector<unsigned char> resBytes;
    std::vector<std::string> namedFiles;  // every "file" of the list, for --depfile
    std::vector<unsigned char> depfileBytes;
};

}  // namespace kel::rez

#endif
