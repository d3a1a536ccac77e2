// Whole-file reading and writing by UTF-8 path, and a few file-system queries.
// Failures are reported through the results only; nothing here throws for a bad path.
#ifndef KEL_UTILS_FILES_H
#define KEL_UTILS_FILES_H

#include <cstdint>
#include <string>
#include <vector>

namespace kel::utils {

#ifdef _WIN32
inline constexpr const char* platformLineEnding = "\r\n";
inline constexpr const char* platformFolderDelimiter = "\\";
#else
inline constexpr const char* platformLineEnding = "\n";
inline constexpr const char* platformFolderDelimiter = "/";
#endif

/// The file's text with every CR removed and every line, the last included, ended by
/// platformLineEnding; "" when the file is empty, cannot be opened, is a folder or cannot
/// be read. Paths are UTF-8 (opened by wide-character path on Windows).
std::string getPlainFileContents(const std::string& path);

/// Every byte of the file, unchanged, into bytes. False when it cannot be opened (a folder
/// included) or read; bytes is then empty.
bool getBinaryFileContents(const std::string& path, std::string& bytes);

/// The text as a text-mode stream writes it: every LF as platformLineEnding.
std::string withPlatformLineEndings(std::string text);

/// Creates or truncates the file and writes contents in text mode. True only when the
/// open, the write, the flush and the close all succeeded.
/// A regular file whose write failed after it was opened is removed, not left cut short.
bool setPlainFileContents(const std::string& path, const std::string& contents);

/// As setPlainFileContents, but in binary mode: the bytes reach the file unchanged on every
/// platform.
bool setBinaryFileContents(const std::string& path, const std::vector<unsigned char>& bytes);

/// True when something (a file, a folder) exists at path.
bool fileExists(const std::string& path);

/// Why the file at path cannot be read, as an errno value (ENOENT, EACCES, EISDIR, ...);
/// 0 when its first byte can be read or it is empty.
int fileReadError(const std::string& path);

#ifndef _WIN32
/// Size in bytes, or -1 when the path cannot be examined.
std::int64_t getFileSize(const std::string& path);
/// mode receives the whole st_mode (0 on failure).
bool getFilePermissions(const std::string& path, std::uint16_t& mode);
/// True when the directory was made or already exists.
bool makeDirectory(const std::string& path, std::uint16_t mode);
/// Appends every entry name except "." and ".." in the order the directory yields them.
bool filesInDirectory(const std::string& path, std::vector<std::string>& names);
/// Copies the bytes unchanged. False when the source cannot be examined or read (a folder
/// included), else true exactly when the destination could be opened for writing.
bool copyFileToPath(const std::string& source, const std::string& destination);
#endif

}  // namespace kel::utils

#endif
