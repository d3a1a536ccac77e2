// The PiPL compiler: a JSON description of a plug-in to Mac and Windows property lists,
// the default terminology resource of Photoshop plug-ins, and the Illustrator byte image.
#ifndef VANTREL_PIPL_H
#define VANTREL_PIPL_H

#include <string>
#include <vector>

#include "resources/Resource.h"

namespace kel::rez {

/// Checks res.dataObject and appends the compiled resources to macText and winText and the
/// Illustrator byte image to piplBytes. May add a default "Terminology" member to the
/// description. False after printing the first fault.
bool __processPiPL(const Resource& res, std::string& macText, std::string& winText,
                   std::vector<unsigned char>& piplBytes);

}  // namespace kel::rez

#endif
