// A --strict run's checks, in the two places of the run where they belong: before the
// input is loaded, and after the resources are numbered.
#ifndef VANTREL_STRICT_CHECK_H
#define VANTREL_STRICT_CHECK_H

#include <string>
#include <vector>

#include "common/Diagnostics.h"
#include "strict/StrictChecks.h"
#include "strict/StrictProblems.h"
#include "resources/Resource.h"

namespace kel::rez {

class StrictCheck
{
public:
    /// inputName is what messages call the input: the --input path as given, or "<stdin>".
    StrictCheck(std::string inputName, const std::string& text);

    /// Syntax, member names and files. 0 when nothing is wrong; otherwise reports every
    /// problem to diagnostics and returns statusStrictCheckFailed.
    int checkBeforeLoading(const std::string& text, Diagnostics& diagnostics);

    /// Resources that share a type and an ID. 0, or statusStrictCheckFailed after reporting.
    int checkAfterNumbering(const ResourcesByType& resourcesByType, Diagnostics& diagnostics);

private:
    std::string __inputName;
    StrictProblems __problems;
    std::vector<StrictEntryPlace> __entryPlaces;
};

}  // namespace kel::rez

#endif
