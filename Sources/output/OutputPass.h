// The output pass: builds every output text in memory; nothing is written to disk here.
#ifndef VANTREL_OUTPUT_PASS_H
#define VANTREL_OUTPUT_PASS_H

#include <string>
#include <vector>

#include "common/OutputPaths.h"
#include "resources/Resource.h"

namespace kel::rez {

/// The texts of the run's outputs, and the Illustrator PiPL byte image.
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

}  // namespace kel::rez

#endif
