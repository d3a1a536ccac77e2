// The texts printed on standard output: the usage (for --help and for a run without
// arguments) and the version line (for --version).
#ifndef VANTREL_USAGE_H
#define VANTREL_USAGE_H

#include <string>

namespace kel::rez {

/// The full usage text; invocationName is the program name exactly as it was typed.
std::string usageText(const std::string& invocationName);

/// "vantrel " and the project version, with a line end.
std::string versionText();

}  // namespace kel::rez

#endif
