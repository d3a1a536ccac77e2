// The output pass's step for a PiPL description: compiles it and hands the results to the
// raw data emitters of the .r and .rc texts, to the compiled resource files, and its
// byte-image block to the byte image.
#ifndef VANTREL_PIPL_OUTPUT_H
#define VANTREL_PIPL_OUTPUT_H

#include <string>
#include <vector>

#include "output/CompiledResources.h"
#include "output/StreamedText.h"
#include "pipl/Pipl.h"
#include "resources/Resource.h"

namespace kel::rez {

/// Compiles res.dataObject and appends its resources to macText, winText and the compiled
/// files that compiledFiles asks for, and its block to piplBytes. False after reporting the
/// first fault, with everything unchanged.
bool __processPiPL(const Resource& res, StreamedText& macText, StreamedText& winText,
                   std::vector<unsigned char>& piplBytes, CompiledOutputs& compiledFiles,
                   const TerminologyIds& listedTerminologyIds, Diagnostics& diagnostics);

}  // namespace kel::rez

#endif
