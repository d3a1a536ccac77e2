#include "driver/InspectMode.h"

#include <cstdio>

#include "common/Diagnostics.h"
#include "common/ExitStatus.h"
#include "driver/Input.h"
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

int inspectFile(const std::string& path, Diagnostics& diagnostics)
{
    const ReadResult<InspectedFile> file = readInspectedFile(path);
    if (!file.ok())
        return diagnostics.failWith(statusCannotInspect, file.error);
    const ResourceListing listing = listResources(file.value);
    if (!listing.error.empty())
        return diagnostics.failWith(statusCannotInspect, path + ": " + listing.error);
    writeText(stdout, listing.text);
    const std::string checkNotes = checkPluginLoads(__loadCheckInput(file.value), diagnostics);
    writeText(stderr, listing.notes + checkNotes);  // the driver prints the problems after them
    return diagnostics.status();
}

}  // namespace kel::rez
