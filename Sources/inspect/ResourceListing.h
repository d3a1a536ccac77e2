// The resource list the inspect mode prints: each PiPL as a description wherever one gives
// its bytes back, the "aete" it generates left out, every other resource as hex data.
#ifndef VANTREL_INSPECT_RESOURCE_LISTING_H
#define VANTREL_INSPECT_RESOURCE_LISTING_H

#include <string>

#include "inspect/InspectedFile.h"

namespace kel::rez {

struct ResourceListing {
    std::string text;   // the JSON list, indented with tabs, ending in a line feed
    std::string notes;  // "Note: " lines on what the list leaves out or keeps as hex
    std::string error;  // what is malformed (a PiPL list); then text and notes are empty
};

ResourceListing listResources(const InspectedFile& file);

}  // namespace kel::rez

#endif
