// Writing the output files once every text is complete.
#ifndef VANTREL_OUTPUT_FILES_H
#define VANTREL_OUTPUT_FILES_H

#include "common/OutputPaths.h"
#include "output/OutputPass.h"

namespace kel::rez {

/// Replaces header, IDtoFile.txt, .r, .rc and the PiPL byte image, each only when its path
/// was given and its content is non-empty, so that no output is ever left half written:
/// every file is first written beside its output, and only when all of them are complete
/// are they renamed over the outputs, in that order. An output that already holds the
/// bytes is left alone. Returns 0, or 91 after the message for the first file that cannot
/// be written; the existing outputs then keep their old content.
int writeOutputs(const OutputTexts& texts, const OutputPaths& paths);

}  // namespace kel::rez

#endif
