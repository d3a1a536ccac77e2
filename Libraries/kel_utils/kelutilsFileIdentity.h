// Telling whether two paths name one file: ./a.txt, a.txt, a link to it and a second hard
// link all do.
#ifndef KEL_UTILS_FILE_IDENTITY_H
#define KEL_UTILS_FILE_IDENTITY_H

#include <optional>
#include <string>

namespace kel::utils {

/// A text that is equal for two paths of one regular file (the device and the inode, or on
/// Windows the volume and the file ID), symbolic links followed. None when path is no
/// regular file or cannot be examined.
std::optional<std::string> existingFileIdentity(const std::string& path);

/// As existingFileIdentity, and for a file not there yet, the identity of its folder and
/// its name: two paths that would create one file have one identity. On Windows the name
/// compares without regard to ASCII letter case, as the file system does.
std::optional<std::string> fileIdentity(const std::string& path);

/// The identity of the regular file that standard input reads, when it reads one.
std::optional<std::string> standardInputIdentity();

}  // namespace kel::utils

#endif
