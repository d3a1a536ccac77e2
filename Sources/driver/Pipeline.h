// The run from input text to output texts, without touching any file.
#ifndef VANTREL_PIPELINE_H
#define VANTREL_PIPELINE_H

#include <string>

#include "output/OutputPass.h"

namespace kel::rez {

/// Parses, loads, numbers and builds every output text. Returns 0 or the status (77 to 90)
/// of the first failure, whose message has been printed. Takes the text by value so that a
/// caller can move it in and have its memory freed once it is parsed.
int buildOutputsFromText(std::string inputText, const OutputPaths& paths, OutputTexts& texts);

}  // namespace kel::rez

#endif
