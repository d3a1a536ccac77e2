// The output paths of the command line, which every later phase consults.
#ifndef VANTREL_OUTPUT_PATHS_H
#define VANTREL_OUTPUT_PATHS_H

#include <optional>
#include <string>

namespace kel::rez {

/// The output paths after "~" substitution; absent when not given.
struct OutputPaths {
    std::optional<std::string> header;
    std::optional<std::string> idToFile;
    std::optional<std::string> mac;
    std::optional<std::string> windows;
    std::optional<std::string> pipl;
    std::optional<std::string> rsrc;     // compiled Mac resources
    std::optional<std::string> res;      // compiled Windows resources
    std::optional<std::string> depfile;  // what the outputs depend on, for build tools
};

}  // namespace kel::rez

#endif
