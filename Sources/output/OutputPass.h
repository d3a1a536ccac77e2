// The output pass: builds every output text, in memory or streaming into the temporaries
// of the outputs' files; no output is replaced here.
#ifndef VANTREL_OUTPUT_PASS_H
#define VANTREL_OUTPUT_PASS_H

#include "common/OutputPaths.h"
#include "output/OutputTexts.h"
#include "resources/Resource.h"

namespace kel::rez {

class OutputFiles;

/// Walks resourcesByType and appends every resource's output, then compiles the resource
/// files. With files, the texts stream into the files' temporaries as they grow; without,
/// they are kept whole. Returns 0, or 89 / 90 / 93 / 94 after the message was printed.
int buildOutputs(const ResourcesByType& resourcesByType, const OutputPaths& paths,
                 OutputTexts& texts, OutputFiles* files = nullptr);

}  // namespace kel::rez

#endif
