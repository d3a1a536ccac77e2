// The output pass: builds every output text, in memory or streaming into the temporaries
// of the outputs' files; no output is replaced here.
#ifndef VANTREL_OUTPUT_PASS_H
#define VANTREL_OUTPUT_PASS_H

#include "common/Diagnostics.h"
#include "common/OutputPaths.h"
#include "output/OutputTexts.h"
#include "resources/Resource.h"

namespace kel::rez {

class OutputFiles;

/// Walks resourcesByType and appends every resource's output, then compiles the resource
/// files. With files, the texts stream into the files' temporaries as they grow; without,
/// they are kept whole. Returns 0, or 89 / 90 / 95 / 96 after the message was reported.
int buildOutputs(const ResourcesByType& resourcesByType, const OutputPaths& paths,
                 OutputTexts& texts, Diagnostics& diagnostics, OutputFiles* files = nullptr);

}  // namespace kel::rez

#endif
