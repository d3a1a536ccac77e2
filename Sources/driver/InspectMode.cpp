#include "driver/InspectMode.h"

#include <iostream>

#include "common/Diagnostics.h"
#include "common/ExitStatus.h"
#include "inspect/InspectedFile.h"
#include "inspect/ResourceListing.h"
#include "resources/Resource.h"

namespace kel::rez {

namespace {

/// What the load checks take from the file: its PiPLs, the IDs of its "aete" resources and
/// the code per architecture.
struct __LoadCheckFacts {
    PiplPlatform platform;
    std::vector<std::vector<unsigned char>> pipls;
    std::vector<int> aeteIds;
    bool hasCode;
    std::vector<InspectedCode> code;
};

__LoadCheckFacts __loadCheckFacts(const InspectedFile& file)
{
    __LoadCheckFacts facts{file.platform, {}, {}, file.hasCode, file.code};
    for (const InspectedResource& resource : file.resources) {
        if (resource.type == resourceTypePiPL)
            facts.pipls.push_back(resource.bytes);
        if (resource.type == resourceTypeAETE)
            facts.aeteIds.push_back(resource.id);
    }
    return facts;
}

/// The checks of the module against its PiPLs join the mode here: they report each failure
/// through diagnostics and return the notes to print.
std::string __checkLoads(const __LoadCheckFacts&, Diagnostics&)
{
    return "";
}

}  // namespace

int inspectFile(const std::string& path)
{
    const ReadResult<InspectedFile> file = readInspectedFile(path);
    if (!file.ok())
        return failWith(statusCannotInspect, file.error);
    const ResourceListing listing = listResources(file.value);
    if (!listing.error.empty())
        return failWith(statusCannotInspect, path + ": " + listing.error);
    std::cout << listing.text;
    std::cout.flush();
    Diagnostics diagnostics;
    const std::string checkNotes = __checkLoads(__loadCheckFacts(file.value), diagnostics);
    std::cerr << listing.notes << checkNotes << diagnostics.text();
    return diagnostics.status();
}

}  // namespace kel::rez
