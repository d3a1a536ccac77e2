// The inspect mode: a built plug-in's resources printed as a resource list, and the checks
// that say whether it will load.
#ifndef VANTREL_INSPECT_MODE_H
#define VANTREL_INSPECT_MODE_H

#include <string>

#include "common/Diagnostics.h"

namespace kel::rez {

/// Prints the list of the file's resources on standard output and its notes on standard
/// error. Returns 0, or 97 after reporting the message when the file cannot be read or is
/// malformed, or 98 after reporting the load checks that failed.
int inspectFile(const std::string& path, Diagnostics& diagnostics);

}  // namespace kel::rez

#endif
