// The dependency file (--depfile) that build tools read to learn when to run the tool again.
#ifndef VANTREL_DEPENDENCY_FILE_H
#define VANTREL_DEPENDENCY_FILE_H

#include <string>
#include <vector>

#include "output/CompiledResource.h"

namespace kel::rez {

/// One Makefile rule, as compilers write with -MD: "targets: prerequisites", long lists
/// continued over lines with a backslash, then one empty rule per prerequisite so that a
/// deleted one does not stop the build. Spaces, tabs, "#" and "$" are escaped as Make and
/// Ninja read them; a path holding a line break or nothing at all is refused (status 94).
/// Each prerequisite is listed once, in order of first mention.
CompiledFile writeDependencyFile(const std::vector<std::string>& targets,
                                 const std::vector<std::string>& prerequisites);

}  // namespace kel::rez

#endif
