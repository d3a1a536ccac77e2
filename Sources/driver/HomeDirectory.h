// The home directory, and the "~" shorthand of the command line's paths.
#ifndef VANTREL_HOME_DIRECTORY_H
#define VANTREL_HOME_DIRECTORY_H

#include <optional>
#include <string>

namespace kel::rez {

/// The HOME variable when it is set, even to ""; otherwise the user's profile folder
/// (Windows) or password-database home (POSIX); "" when none of these is available.
std::string findHomeDirectory();

/// When path is present, starts with "~" and home is non-empty, replaces that one character
/// by home: "~/x.r" becomes home + "/x.r", "~bob/x" becomes home + "bob/x". Otherwise leaves
/// path unchanged.
void expandLeadingTilde(std::optional<std::string>& path, const std::string& home);

}  // namespace kel::rez

#endif
