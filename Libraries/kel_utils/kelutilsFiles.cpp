// Whole-file reading and writing by UTF-8 path, and the POSIX file-system queries.
#include "kelutilsFiles.h"

#include "kelutilsNativeFiles.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>

#include <cerrno>

#ifdef _WIN32
#include <sys/stat.h>
#include <windows.h>
#else
#include <dirent.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#endif

namespace kel::utils {

namespace {

/// The size an open file reports, or 0 when it reports none (a pipe).
std::uint64_t __reportedSize(std::FILE* file)
{
#ifdef _WIN32
    struct _stati64 info;
    const bool known = _fstati64(_fileno(file), &info) == 0;
#else
    struct stat info;
    const bool known = fstat(fileno(file), &info) == 0;
#endif
    return known && info.st_size > 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
}

/// The whole byte content of a file: one read of the size it reports, then whatever
/// follows (files that cannot report a size, such as pipes, are read in chunks). Closes it.
bool __readAll(std::FILE* file, std::string& bytes)
{
    if (const std::uint64_t size = __reportedSize(file)) {
        bytes.reserve(static_cast<std::size_t>(size) + 1);  // room for a final line end
        bytes.resize(static_cast<std::size_t>(size));
        bytes.resize(std::fread(&bytes[0], 1, bytes.size(), file));
    }
    char chunk[65536];
    std::size_t count = 0;
    while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.append(chunk, count);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return !failed;
}

/// Removes every CR in place, moving the runs between them with memmove.
void __removeCarriageReturns(std::string& bytes)
{
    char* const begin = &bytes[0];
    char* const end = begin + bytes.size();
    char* kept = static_cast<char*>(std::memchr(begin, '\r', bytes.size()));
    if (!kept)
        return;
    for (const char* run = kept + 1; run < end;) {
        const char* next = static_cast<const char*>(std::memchr(run, '\r', end - run));
        const char* runEnd = next ? next : end;
        std::memmove(kept, run, runEnd - run);
        kept += runEnd - run;
        run = runEnd + 1;
    }
    bytes.resize(kept - begin);
}

/// Writes every LF as CR LF, whatever precedes it, as a Windows text-mode stream does.
std::string __expandLineFeeds(const std::string& bytes)
{
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 16);
    std::size_t start = 0;
    for (std::size_t feed = bytes.find('\n'); feed != std::string::npos;
         feed = bytes.find('\n', start)) {
        text.append(bytes, start, feed - start);
        text += "\r\n";
        start = feed + 1;
    }
    text.append(bytes, start, std::string::npos);
    return text;
}

/// Removes every CR, turns every LF into the platform line ending and ends the last line
/// with one too: a line is what precedes an LF, or what follows the last one if anything.
std::string __normaliseLineEnds(std::string bytes)
{
    if (bytes.empty())
        return bytes;
    const bool lastLineEnded = bytes.back() == '\n';
    __removeCarriageReturns(bytes);
    if (!lastLineEnded)
        bytes += '\n';
    return withPlatformLineEndings(std::move(bytes));
}

/// Removes a regular file that a failed write left cut short, so that a build does not
/// take it for complete. Devices and other special files named as outputs stay.
void __removeCutShortFile(const std::string& path)
{
#ifdef _WIN32
    const std::wstring wide = __nativePath(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (!wide.empty() && attributes != INVALID_FILE_ATTRIBUTES
        && !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)))
        DeleteFileW(wide.c_str());
#else
    struct stat info;
    if (stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
        unlink(path.c_str());
#endif
}

/// Creates or truncates path and writes size bytes in the given mode. True only when the
/// open, the write, the flush and the close all succeeded; otherwise a file cut short is
/// removed.
bool __writeWholeFile(const std::string& path, const char* data, std::size_t size,
                      std::ios::openmode mode)
{
    std::ofstream out(__nativePath(path).c_str(), mode | std::ios::trunc);
    if (!out.is_open())
        return false;
    out.write(data, static_cast<std::streamsize>(size));
    // A full disk or a failing device often shows only when the buffer is flushed or closed.
    out.flush();
    const bool written = out.good();
    out.close();
    if (written && !out.fail())
        return true;
    __removeCutShortFile(path);
    return false;
}

}  // namespace

std::string getPlainFileContents(const std::string& path)
{
    // Binary reading keeps every byte; line ends are normalised here on all platforms.
    std::FILE* file = __openForReading(path);
    std::string bytes;
    if (!file || !__readAll(file, bytes))
        return "";
    return __normaliseLineEnds(std::move(bytes));
}

bool getBinaryFileContents(const std::string& path, std::string& bytes)
{
    bytes.clear();
    std::FILE* file = __openForReading(path);
    if (file && __readAll(file, bytes))
        return true;
    bytes.clear();
    return false;
}

int fileReadError(const std::string& path)
{
    errno = 0;
    std::FILE* file = __openForReading(path);
    if (!file)
        return errno;
    // Opening a folder succeeds on some systems; reading it then fails.
    const int error = std::fgetc(file) == EOF && std::ferror(file) ? errno : 0;
    std::fclose(file);
    return error;
}

std::string withPlatformLineEndings(std::string text)
{
    if (std::strcmp(platformLineEnding, "\n") == 0)
        return text;
    return __expandLineFeeds(text);
}

bool setPlainFileContents(const std::string& path, const std::string& contents)
{
    return __writeWholeFile(path, contents.data(), contents.size(), std::ios::out);
}

bool setBinaryFileContents(const std::string& path, const std::vector<unsigned char>& bytes)
{
    return __writeWholeFile(path, reinterpret_cast<const char*>(bytes.data()), bytes.size(),
                            std::ios::out | std::ios::binary);
}

bool fileExists(const std::string& path)
{
#ifdef _WIN32
    const std::wstring wide = __nativePath(path);
    return !wide.empty() && GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES;
#else
    struct stat info;
    return stat(path.c_str(), &info) == 0;
#endif
}

#ifndef _WIN32

std::int64_t getFileSize(const std::string& path)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return -1;
    return static_cast<std::int64_t>(info.st_size);
}

bool getFilePermissions(const std::string& path, std::uint16_t& mode)
{
    mode = 0;
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return false;
    mode = static_cast<std::uint16_t>(info.st_mode);
    return true;
}

bool makeDirectory(const std::string& path, std::uint16_t mode)
{
    const mode_t previousMask = umask(0);
    const bool made = mkdir(path.c_str(), static_cast<mode_t>(mode)) == 0 || errno == EEXIST;
    umask(previousMask);
    return made;
}

bool filesInDirectory(const std::string& path, std::vector<std::string>& names)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return false;
    DIR* directory = opendir(path.c_str());
    if (!directory)
        return false;
    while (const dirent* entry = readdir(directory)) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0)
            names.emplace_back(name);
    }
    closedir(directory);
    return true;
}

bool copyFileToPath(const std::string& source, const std::string& destination)
{
    struct stat info;
    if (stat(source.c_str(), &info) != 0)
        return false;
    std::FILE* in = __openForReading(source);
    std::string bytes;
    if (!in || !__readAll(in, bytes))
        return false;
    std::ofstream out(destination, std::ios::out | std::ios::binary | std::ios::trunc);
    if (!out.is_open())
        return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return true;
}

#endif

}  // namespace kel::utils
