// The platform's file-system calls on Windows: the wide-character calls, UTF-8 paths
// converted.
#include "kelutilsNativeFiles.h"

#include "kelutilsWideText.h"

#include <cerrno>

#include <windows.h>

namespace kel::utils {

namespace {

/// False, with errno set to what the Windows error of the failed call means, so that a
/// caller reports the reason in the same words on every platform.
bool __failedWithLastError()
{
    struct Meaning {
        DWORD error;
        int errorNumber;
    };
    static const Meaning meanings[] = {
        {ERROR_FILE_NOT_FOUND, ENOENT},   {ERROR_PATH_NOT_FOUND, ENOENT},
        {ERROR_INVALID_NAME, ENOENT},     {ERROR_ACCESS_DENIED, EACCES},
        {ERROR_SHARING_VIOLATION, EBUSY}, {ERROR_LOCK_VIOLATION, EBUSY},
        {ERROR_DISK_FULL, ENOSPC},        {ERROR_HANDLE_DISK_FULL, ENOSPC},
        {ERROR_WRITE_PROTECT, EROFS},     {ERROR_DIRECTORY, ENOTDIR},
        {ERROR_FILE_EXISTS, EEXIST},      {ERROR_ALREADY_EXISTS, EEXIST},
    };
    const DWORD error = GetLastError();
    errno = EIO;
    for (const Meaning& meaning : meanings)
        if (meaning.error == error)
            errno = meaning.errorNumber;
    return false;
}

/// The path the handle's file has, links resolved, in a form the wide calls take.
std::string __finalPath(HANDLE file)
{
    std::wstring wide(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(file, &wide[0], static_cast<DWORD>(wide.size()),
                                             FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length >= wide.size()) {
        wide.resize(length + 1);
        length = GetFinalPathNameByHandleW(file, &wide[0], static_cast<DWORD>(wide.size()),
                                           FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    }
    if (length == 0 || length >= wide.size())
        return std::string();
    wide.resize(length);
    std::string path;
    wideToUtf8(wide.c_str(), path);
    return path;
}

bool __writeAll(HANDLE file, const char* data, std::size_t size)
{
    while (size > 0) {
        const DWORD chunk = static_cast<DWORD>(size < (1u << 30) ? size : (1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, data, chunk, &written, nullptr) || written == 0)
            return __failedWithLastError();
        data += written;
        size -= written;
    }
    return true;
}

/// The volume and the file ID: equal for two paths of one file or folder.
std::string __identityOf(const BY_HANDLE_FILE_INFORMATION& information)
{
    return std::to_string(information.dwVolumeSerialNumber) + ":"
           + std::to_string(information.nFileIndexHigh) + ":"
           + std::to_string(information.nFileIndexLow);
}

}  // namespace

__NativePath __nativePath(const std::string& path)
{
    if (path.empty())
        return std::wstring();
    const int length =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.c_str(), -1, nullptr, 0);
    if (length <= 0)
        return std::wstring();
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.c_str(), -1, &wide[0], length)
        != length)
        return std::wstring();
    wide.resize(static_cast<std::size_t>(length) - 1);  // drop the terminator
    return wide;
}

bool __examinePath(const std::string& path, __PathFacts& facts)
{
    facts = __PathFacts();
    const std::wstring wide = __nativePath(path);
    if (wide.empty())
        return false;
    // Opening with no access rights follows links and also opens folders and devices.
    HANDLE file =
        CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        facts.resolvedPath = path;
        // A link to nothing is not followed here: it fails as a path that cannot be examined.
        const DWORD attributes = GetFileAttributesW(wide.c_str());
        if (error == ERROR_FILE_NOT_FOUND && attributes == INVALID_FILE_ATTRIBUTES)
            return true;
        SetLastError(error);
        return __failedWithLastError();
    }
    BY_HANDLE_FILE_INFORMATION information;
    const DWORD type = GetFileType(file);
    bool examined = true;
    if (type != FILE_TYPE_DISK) {
        facts.kind = __PathFacts::special;
        facts.resolvedPath = path;
    } else if (!GetFileInformationByHandle(file, &information)) {
        examined = false;
    } else if (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        facts.kind = __PathFacts::folder;
        facts.identity = __identityOf(information);
    } else {
        facts.kind = __PathFacts::regularFile;
        // The file the path leads to, through links (Wine's links to POSIX files included,
        // which carry no reparse point).
        facts.resolvedPath = __finalPath(file);
        if (facts.resolvedPath.empty())
            facts.resolvedPath = path;
        facts.size = (static_cast<std::uint64_t>(information.nFileSizeHigh) << 32)
                     | information.nFileSizeLow;
        facts.identity = __identityOf(information);
        facts.writable = !(information.dwFileAttributes & FILE_ATTRIBUTE_READONLY);
    }
    CloseHandle(file);
    return examined;
}

__CreateResult __createFileWith(const std::string& path, const char* data, std::size_t size,
                                std::optional<unsigned>)
{
    const std::wstring wide = __nativePath(path);
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        if (GetLastError() == ERROR_FILE_EXISTS)
            return __CreateResult::nameTaken;
        __failedWithLastError();
        return __CreateResult::failed;
    }
    const bool written = __writeAll(file, data, size);
    if (CloseHandle(file) && written)
        return __CreateResult::created;
    DeleteFileW(wide.c_str());
    return __CreateResult::failed;
}

std::FILE* __openForReading(const std::string& path)
{
    const std::wstring wide = __nativePath(path);
    if (wide.empty()) {
        errno = ENOENT;  // no name the system can take
        return nullptr;
    }
    return _wfopen(wide.c_str(), L"rb");
}

bool __writeToSpecialFile(const std::string& path, const char* data, std::size_t size)
{
    const std::wstring wide = __nativePath(path);
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return __failedWithLastError();
    const bool written = __writeAll(file, data, size);
    return CloseHandle(file) && written;
}

bool __renameOver(const std::string& from, const std::string& to)
{
    return MoveFileExW(__nativePath(from).c_str(), __nativePath(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING)
               != 0
           || __failedWithLastError();
}

void __removeFile(const std::string& path)
{
    DeleteFileW(__nativePath(path).c_str());
}

std::uint64_t __currentProcessId()
{
    return GetCurrentProcessId();
}

__CreateResult __linkFile(const std::string& existing, const std::string& link)
{
    // A file another program holds without delete sharing takes its links with it: one made
    // now could not be removed again while it is held. The caller copies the bytes instead.
    HANDLE probe = CreateFileW(__nativePath(existing).c_str(), DELETE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE)
        return __CreateResult::failed;
    CloseHandle(probe);
    if (CreateHardLinkW(__nativePath(link).c_str(), __nativePath(existing).c_str(), nullptr))
        return __CreateResult::created;
    const DWORD error = GetLastError();
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? __CreateResult::nameTaken
                                                                       : __CreateResult::failed;
}

std::optional<std::string> __standardInputIdentity()
{
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    BY_HANDLE_FILE_INFORMATION information;
    if (input == INVALID_HANDLE_VALUE || !input || GetFileType(input) != FILE_TYPE_DISK
        || !GetFileInformationByHandle(input, &information)
        || (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return __identityOf(information);
}

}  // namespace kel::utils
