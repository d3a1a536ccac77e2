// The output pass's step for a PiPL description: compiles it and hands the results to the
// raw data emitters of the .r and .rc texts, and its byte-image block to the byte image.
#ifndef VANTREL_PIPL_OUTPUT_H
#define VANTREL_PIPL_OUTPUT_H

#include <string>
#include <vector>

#include "pipl/Pipl.h"
#include "resources/Resource.h"

namespace kel::rez {

/// Compiles res.dataObject and appends its resources to macText and winText and its block
/// to piplBytes. False after printing the first fault, with the texts unchanged.
bool __processPiPL(const Resource& res, std::string& macText, std::string& winText,
                   std::vector<unsigned char>& piplBytes,
                   const TerminologyIds& listedTerminologyIds = TerminologyIds());

}  // namespace kel::rez

#endif
