// The usage text printed for --help and for a run without arguments.
#ifndef VANTREL_USAGE_H
#define VANTREL_USAGE_H

#include <string>

namespace kel::rez {

/// The full usage text; invocationName is the program name exactly as it was typed.
std::string usageText(const std::string& invocationName);

}  // namespace kel::rez

#endif
