#include "strict/StrictCheck.h"

#include "strict/StrictDuplicates.h"
#include "strict/StrictSyntax.h"

namespace kel::rez {

StrictCheck::StrictCheck(const std::string& text)
    : __problems(text)
{
}

int StrictCheck::checkBeforeLoading(const std::string& text, Diagnostics& diagnostics)
{
    const StrictDocument document = readStrictSyntax(text, __problems);
    checkStrictEntries(document, text, __problems);
    if (!__problems.empty())
        return __problems.report(diagnostics);
    // Only the places outlive the text: the later check names entries by them.
    __entryPlaces = strictEntryPlaces(document, text);
    __places = StrictPlaces(document, text);
    return 0;
}

int StrictCheck::checkAfterNumbering(const ResourcesByType& resourcesByType,
                                     Diagnostics& diagnostics)
{
    checkDuplicateIds(resourcesByType, __entryPlaces, __problems);
    return __problems.empty() ? 0 : __problems.report(diagnostics);
}

}  // namespace kel::rez
