#include "driver/InspectMode.h"

#include <iostream>

#include "common/Diagnostics.h"
#include "common/ExitStatus.h"
#include "inspect/InspectedFile.h"
#include "inspect/LoadChecks.h"
#include "inspect/ResourceListing.h"
#include "resources/Resource.h"

namespace kel::rez {

namespace {

/// What the load checks take from the file: its PiPLs, the IDs of its "aete" resources and
/// the code per architecture.
LoadCheckInput __loadCheckInput(const InspectedFile& file)
{
    LoadCheckInput input{file.platform, {}, {}, file.hasCode, file.code};
    for (const InspectedResource& resource : file.resources) {
        if (resource.type == resourceTypePiPL)
            input.pipls.push_back(resource.bytes);
        if (resource.type == resourceTypeAETE)
            input.aeteIds.push_back(resource.id);
    }
    return input;
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
    const std::string checkNotes = checkPluginLoads(__loadCheckInput(file.value), diagnostics);
    std::cerr << listing.notes << checkNotes << diagnostics.text();
    return diagnostics.status();
}

}  // namespace kel::rez
