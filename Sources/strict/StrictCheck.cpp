#include "strict/StrictCheck.h"

#include "common/ExitStatus.h"
#include "strict/StrictChecks.h"
#include "strict/StrictDuplicates.h"
#include "strict/StrictSyntax.h"

namespace kel::rez {

int StrictCheck::checkBeforeLoading(const std::string& text, Diagnostics& diagnostics)
{
    diagnostics.hold();
    StrictPlaces places = readStrictSyntax(text, diagnostics);
    checkStrictEntries(places, text, diagnostics);
    if (diagnostics.release())
        return statusStrictCheckFailed;
    // Only the places outlive the text: the later steps' problems are placed by them.
    __places = std::move(places);
    return 0;
}

int StrictCheck::checkAfterNumbering(const ResourcesByType& resourcesByType,
                                     Diagnostics& diagnostics)
{
    diagnostics.hold();
    checkDuplicateIds(resourcesByType, __places, diagnostics);
    return diagnostics.release() ? statusStrictCheckFailed : 0;
}

}  // namespace kel::rez
