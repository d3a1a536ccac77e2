// The platform's file-system calls behind one set of functions, for the library's own use:
// POSIX calls, or on Windows the wide-character calls with the UTF-8 paths converted.
// Nothing here prints or throws; failures come back through the results.
#ifndef KEL_UTILS_NATIVE_FILES_H
#define KEL_UTILS_NATIVE_FILES_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

namespace kel::utils {

#ifdef _WIN32
using __NativePath = std::wstring;
#else
using __NativePath = std::string;
#endif

/// The path in the form the platform's calls and the file streams take: UTF-16 on Windows,
/// where a path that is empty or not valid UTF-8 gives an empty path, which nothing opens.
__NativePath __nativePath(const std::string& path);

/// The folder part of a path up to and including its last separator ("a/b" gives "a/", a
/// bare name gives ""), so that prefix + name names a file beside it.
std::string __folderPrefix(const std::string& path);

/// What a path names once symbolic links are followed.
struct __PathFacts {
    enum Kind { missing, regularFile, folder, special };
    Kind kind = missing;
    /// The file the links lead to (for a link to nothing, where that file would be).
    std::string resolvedPath;
    std::uint64_t size = 0;
    /// POSIX permission bits of a regular file; 0 on Windows.
    unsigned permissions = 0;
    /// Equal for two paths of one existing file or folder.
    std::string identity;
    bool writable = false;
};

/// Examines path, following symbolic links. False when it cannot be examined (a folder on
/// the way is a file, a loop of links, no permission); a missing file is not a failure.
/// The links the system keeps for open descriptors (/dev/stdout, /dev/fd/1) are special
/// files: what they lead to is written through the descriptor's path, never replaced.
bool __examinePath(const std::string& path, __PathFacts& facts);

enum class __CreateResult { created, nameTaken, failed };

/// Creates path, which must not exist yet, with the bytes, and closes it. permissions, when
/// given, replace the bits a plain create gives (POSIX only). A file that could not be
/// written completely is removed.
__CreateResult __createFileWith(const std::string& path, const char* data, std::size_t size,
                                std::optional<unsigned> permissions);

/// Opens path for binary reading through stdio, or gives null; a folder gives null, also
/// where the system would open it. Files are read through stdio, not iostreams, whose first
/// stream sets up the locales: most of a small run's start-up.
std::FILE* __openForReading(const std::string& path);

/// Writes the bytes to an existing special file such as a device, a FIFO or a terminal.
bool __writeToSpecialFile(const std::string& path, const char* data, std::size_t size);

/// Renames from over to in one step (rename, or MoveFileExW replacing an existing file).
bool __renameOver(const std::string& from, const std::string& to);

/// Removes a file; a failure is ignored.
void __removeFile(const std::string& path);

/// Makes link a second name of the existing file (a hard link), where the file system has
/// them; nameTaken when link exists already.
__CreateResult __linkFile(const std::string& existing, const std::string& link);

/// This process's id (getpid, or GetCurrentProcessId on Windows).
std::uint64_t __currentProcessId();

/// The identity (as in __PathFacts) of the regular file standard input reads, when it reads
/// one.
std::optional<std::string> __standardInputIdentity();

}  // namespace kel::utils

#endif
