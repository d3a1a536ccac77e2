// The platform's file-system calls on POSIX systems.
#include "kelutilsNativeFiles.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace kel::utils {

namespace {

/// Symbolic links followed before a path counts as a loop, as most systems allow.
constexpr int __maximumLinkHops = 40;

/// True when the link is one the system keeps for an open descriptor (/proc/self/fd/1):
/// what it leads to is not a file this program may replace.
bool __isDescriptorLink(const std::string& link)
{
    const std::string prefix = __folderPrefix(link);
    char* folder = realpath(prefix.empty() ? "." : prefix.c_str(), nullptr);
    if (!folder)
        return false;
    const bool inProcessFolder = std::strncmp(folder, "/proc/", 6) == 0;
    std::free(folder);
    return inProcessFolder;
}

bool __readLink(const std::string& link, std::string& target)
{
    std::string buffer(256, '\0');
    for (;;) {
        const ssize_t length = readlink(link.c_str(), &buffer[0], buffer.size());
        if (length < 0)
            return false;
        if (static_cast<std::size_t>(length) < buffer.size()) {
            target.assign(buffer, 0, static_cast<std::size_t>(length));
            return true;
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string __identityOf(const struct stat& info)
{
    return std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
}

void __describe(const std::string& path, const struct stat& info, __PathFacts& facts)
{
    facts.resolvedPath = path;
    facts.kind = S_ISREG(info.st_mode) ? __PathFacts::regularFile
                 : S_ISDIR(info.st_mode) ? __PathFacts::folder
                                         : __PathFacts::special;
    facts.size = static_cast<std::uint64_t>(info.st_size);
    facts.permissions = info.st_mode & 07777;
    facts.identity = __identityOf(info);
    facts.writable = access(path.c_str(), W_OK) == 0;
}

bool __writeAll(int descriptor, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = write(descriptor, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace

__NativePath __nativePath(const std::string& path)
{
    return path;
}

bool __examinePath(const std::string& path, __PathFacts& facts)
{
    facts = __PathFacts();
    std::string current = path;
    for (int hop = 0; hop <= __maximumLinkHops && !current.empty(); ++hop) {
        struct stat info;
        if (lstat(current.c_str(), &info) != 0) {
            facts.resolvedPath = current;
            return errno == ENOENT;
        }
        if (!S_ISLNK(info.st_mode)) {
            __describe(current, info, facts);
            return true;
        }
        if (__isDescriptorLink(current)) {
            facts.kind = __PathFacts::special;
            facts.resolvedPath = path;
            return true;
        }
        std::string target;
        if (!__readLink(current, target))
            return false;
        current = !target.empty() && target[0] == '/' ? target : __folderPrefix(current) + target;
    }
    return false;
}

__CreateResult __createFileWith(const std::string& path, const char* data, std::size_t size,
                                std::optional<unsigned> permissions)
{
    const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0)
        return errno == EEXIST ? __CreateResult::nameTaken : __CreateResult::failed;
    bool written = __writeAll(descriptor, data, size);
    if (permissions && fchmod(descriptor, static_cast<mode_t>(*permissions)) != 0)
        written = false;
    if (close(descriptor) == 0 && written)
        return __CreateResult::created;
    unlink(path.c_str());
    return __CreateResult::failed;
}

std::FILE* __openForReading(const std::string& path)
{
    struct stat info;
    if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        errno = EISDIR;  // some systems open a folder, then report an absurd size for it
        return nullptr;
    }
    return std::fopen(path.c_str(), "rb");
}

bool __writeToSpecialFile(const std::string& path, const char* data, std::size_t size)
{
    // Truncation matters only for a descriptor link that leads to a regular file.
    const int descriptor = open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    const bool written = __writeAll(descriptor, data, size);
    return close(descriptor) == 0 && written;
}

bool __renameOver(const std::string& from, const std::string& to)
{
    return rename(from.c_str(), to.c_str()) == 0;
}

void __removeFile(const std::string& path)
{
    unlink(path.c_str());
}

std::uint64_t __currentProcessId()
{
    return static_cast<std::uint64_t>(getpid());
}

__CreateResult __linkFile(const std::string& existing, const std::string& link)
{
    if (::link(existing.c_str(), link.c_str()) == 0)
        return __CreateResult::created;
    return errno == EEXIST ? __CreateResult::nameTaken : __CreateResult::failed;
}

std::optional<std::string> __standardInputIdentity()
{
    struct stat info;
    if (fstat(STDIN_FILENO, &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return __identityOf(info);
}

}  // namespace kel::utils
