// A --strict run's checks, in the two places of the run where they belong: before the
// input is loaded, and after the resources are numbered.
#ifndef VANTREL_STRICT_CHECK_H
#define VANTREL_STRICT_CHECK_H

#include <string>

#include "common/Diagnostics.h"
#include "resources/Resource.h"
#include "strict/StrictPlaces.h"

namespace kel::rez {

class StrictCheck
{
public:
    /// The syntax of text, which diagnostics name and place offsets in, and what its entries
    /// say: each member name the tool does not know (in an entry, in a PiPL description or in
    /// the objects its members hold), each "file" that does not exist relative to the current
    /// folder, and each value the outputs would not carry as written. Entries that are not
    /// objects are left to the loader. 0 when nothing is wrong; otherwise reports the first
    /// problems in input order to diagnostics and returns statusStrictCheckFailed.
    int checkBeforeLoading(const std::string& text, Diagnostics& diagnostics);

    /// Resources that share a type and an ID. 0, or statusStrictCheckFailed after reporting.
    int checkAfterNumbering(const ResourcesByType& resourcesByType, Diagnostics& diagnostics);

    /// Where the values of the checked text lie, once checkBeforeLoading found no problem:
    /// what diagnostics use to place the problems of the later steps.
    const StrictPlaces& places() const { return __places; }

private:
    StrictPlaces __places;
};

}  // namespace kel::rez

#endif
