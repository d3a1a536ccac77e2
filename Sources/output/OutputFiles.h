// Writing the output files once every text is complete.
#ifndef VANTREL_OUTPUT_FILES_H
#define VANTREL_OUTPUT_FILES_H

#include "driver/OutputPaths.h"
#include "output/OutputPass.h"

namespace kel::rez {

/// Writes header, IDtoFile.txt, .r, .rc and the PiPL byte image, in that order, each only
/// when its path was given and its content is non-empty. Returns 0, or 91 at the first
/// file that cannot be written.
int writeOutputs(const OutputTexts& texts, const OutputPaths& paths);

}  // namespace kel::rez

#endif
