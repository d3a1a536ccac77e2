// The run from input text to output texts, without replacing any output.
#ifndef VANTREL_PIPELINE_H
#define VANTREL_PIPELINE_H

#include <optional>
#include <string>

#include "common/Diagnostics.h"
#include "output/OutputPass.h"

namespace kel::rez {

/// Parses, loads, numbers and builds every output text. Returns 0 or the status (77 to 90)
/// of the first failure, whose message is in diagnostics. Takes the text by value so that a
/// caller can move it in and have its memory freed once it is parsed.
/// With strictInputName (--strict), the text is checked closely before it is loaded and the
/// IDs after numbering; problems end the run with status 92, their messages naming the
/// input so. writtenText, when given, is the input as written, which that check reads in
/// place of inputText, whose line ends were normalised on reading.
/// With files, the texts stream into the files' temporaries; without, they are kept whole.
int buildOutputsFromText(std::string inputText, const OutputPaths& paths, OutputTexts& texts,
                         Diagnostics& diagnostics,
                         const std::optional<std::string>& strictInputName = std::nullopt,
                         const std::string* writtenText = nullptr, OutputFiles* files = nullptr);

}  // namespace kel::rez

#endif
