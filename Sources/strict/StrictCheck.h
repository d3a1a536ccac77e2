// A --strict run's checks, in the two places of the run where they belong: before the
// input is loaded, and after the resources are numbered.
#ifndef VANTREL_STRICT_CHECK_H
#define VANTREL_STRICT_CHECK_H

#include <string>
#include <vector>

#include "common/Diagnostics.h"
#include "resources/Resource.h"
#include "strict/StrictChecks.h"
#include "strict/StrictPlaces.h"
#include "strict/StrictProblems.h"

namespace kel::rez {

class StrictCheck
{
public:
    /// text is the input as the checks read it; the diagnostics that the checks report to
    /// name it and place offsets in it.
    explicit StrictCheck(const std::string& text);

    /// Syntax, member names and files. 0 when nothing is wrong; otherwise reports every
    /// problem to diagnostics and returns statusStrictCheckFailed.
    int checkBeforeLoading(const std::string& text, Diagnostics& diagnostics);

    /// Resources that share a type and an ID. 0, or statusStrictCheckFailed after reporting.
    int checkAfterNumbering(const ResourcesByType& resourcesByType, Diagnostics& diagnostics);

    /// Where the values of the checked text lie, once checkBeforeLoading found no problem:
    /// what diagnostics use to place the problems of the later steps.
    const StrictPlaces& places() const { return __places; }

private:
    StrictProblems __problems;
    std::vector<StrictEntryPlace> __entryPlaces;
    StrictPlaces __places;
};

}  // namespace kel::rez

#endif
