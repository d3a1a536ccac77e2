// Replacing several files together: temporaries beside the files, then one rename each,
// with each old content kept aside until every rename has succeeded.
#include "kelutilsFileReplacement.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <exception>
#include <fstream>
#include <iterator>
#include <random>

#include "kelutilsFiles.h"
#include "kelutilsNativeFiles.h"

namespace kel::utils {

namespace {

/// How every temporary's name ends, after the owner's name start and the number.
const char* const __temporaryNameEnd = ".tmp";

/// True when the file at path holds exactly these bytes; read in chunks, not whole.
bool __fileHoldsBytes(const std::string& path, const char* data, std::size_t size)
{
    std::FILE* file = __openForReading(path);
    if (!file)
        return false;
    char chunk[65536];
    std::size_t compared = 0;
    bool same = true;
    while (same && compared < size) {
        const std::size_t count = std::fread(chunk, 1, std::min(sizeof chunk, size - compared), file);
        same = count > 0 && std::memcmp(chunk, data + compared, count) == 0;
        compared += count;
    }
    same = same && std::fgetc(file) == EOF;  // nothing after them
    std::fclose(file);
    return same;
}

/// The seed's bits spread over the whole number (SplitMix64's finishing step). A run needs
/// one number, and seeding a Mersenne Twister for it filled 312 words of state first.
std::uint64_t __mixed(std::uint64_t value)
{
    value += 0x9E3779B97F4A7C15u;
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9u;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBu;
    return value ^ (value >> 31);
}

/// A number no other run is likely to pick, so that two runs sharing a folder (even from
/// two process-id namespaces, where both may be process 1) seldom meet on a name; the
/// exclusive create settles a meeting.
std::uint64_t __randomNumber()
{
    std::uint64_t seed =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    seed ^= __currentProcessId() << 40;
    try {
        std::random_device device;
        seed ^= (static_cast<std::uint64_t>(device()) << 32) ^ device();
    } catch (const std::exception&) {
        // Without a random device the clock and the process id have to do.
    }
    return __mixed(seed);
}

std::string __sixteenHexDigits(std::uint64_t number)
{
    static const char digits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (std::size_t index = text.size(); index-- > 0; number >>= 4)
        text[index] = digits[number & 15];
    return text;
}

}  // namespace

FileReplacement::FileReplacement(std::string owner)
    : __temporaryNameStart("." + owner + "-" + __sixteenHexDigits(__randomNumber()) + "-")
{
    // Room for the files a build replaces together (a handful): growing one at a time would
    // move every staged file's strings at each doubling.
    __staged.reserve(8);
}

FileReplacement::~FileReplacement()
{
    __removeTemporaries();
}

bool FileReplacement::stageText(const std::string& path, const std::string& text)
{
    if (std::strcmp(platformLineEnding, "\n") == 0)
        return stage(path, text.data(), text.size());
    const std::string platformText = withPlatformLineEndings(text);
    return stage(path, platformText.data(), platformText.size());
}

bool FileReplacement::stage(const std::string& path, const char* data, std::size_t size)
{
    return finishFile(startFile(path), data, size);
}

bool FileReplacement::commit(std::size_t& failedStage)
{
    try {
        for (std::size_t index = 0; index < __staged.size(); ++index) {
            errno = 0;
            if (!__replace(__staged[index])) {
                __failureErrno = errno;
                failedStage = index;
                __putBackReplaced();
                __removeTemporaries();
                return false;
            }
        }
    } catch (...) {
        // Out of memory part way: the files replaced so far go back before the error goes on.
        __putBackReplaced();
        __removeTemporaries();
        throw;
    }
    __removeTemporaries();  // the old contents kept aside
    return true;
}

std::size_t FileReplacement::startFile(const std::string& path)
{
    __Staged staged;
    staged.path = path;
    __PathFacts facts;
    errno = 0;
    if (!__examinePath(path, facts)) {
        __markFailed(staged, errno);
    } else if (facts.kind == __PathFacts::folder) {
        __markFailed(staged, EISDIR);
    } else if (facts.kind == __PathFacts::special) {
        staged.special = true;
    } else {
        staged.existed = facts.kind == __PathFacts::regularFile;
        // A file the user may not write stays as it is, as it would with a plain write.
        if (staged.existed && !facts.writable)
            __markFailed(staged, EACCES);
        staged.target = facts.resolvedPath;
        staged.identity = facts.identity;
        staged.existingSize = facts.size;
        if (staged.existed)
            staged.permissions = facts.permissions;
    }
    __staged.push_back(std::move(staged));
    return __staged.size() - 1;
}

void FileReplacement::writePiece(std::size_t file, const char* data, std::size_t size)
{
    __Staged& staged = __staged[file];
    if (staged.failed || size == 0)
        return;
    if (staged.special) {
        staged.heldBytes.append(data, size);
        return;
    }
    if (!staged.stream && !__createTemporaryStream(staged))
        return;
    errno = 0;
    staged.stream->write(data, static_cast<std::streamsize>(size));
    staged.writtenSize += size;
    if (!*staged.stream)
        __markFailed(staged, errno);
}

void FileReplacement::writeTextPiece(std::size_t file, const char* data, std::size_t size)
{
    if (std::strcmp(platformLineEnding, "\n") == 0)
        return writePiece(file, data, size);
    const std::string platformText = withPlatformLineEndings(std::string(data, size));
    writePiece(file, platformText.data(), platformText.size());
}

bool FileReplacement::finishFile(std::size_t file, const char* data, std::size_t size)
{
    if (__finish(__staged[file], file, data, size))
        return true;
    __failureErrno = __staged[file].failureErrno;
    return false;
}

bool FileReplacement::__finish(__Staged& staged, std::size_t file, const char* data,
                               std::size_t size)
{
    if (staged.special) {
        // Nothing to rename: a device or a pipe takes the bytes as they come.
        staged.heldBytes.append(data, size);
        const std::string bytes = std::move(staged.heldBytes);
        errno = 0;
        if (!staged.failed && !__writeToSpecialFile(staged.path, bytes.data(), bytes.size()))
            __markFailed(staged, errno);
        return !staged.failed;
    }
    if (staged.failed)
        return false;
    // A file staged earlier in the batch will change on commit, so its present bytes say
    // nothing about what this later stage must leave there.
    const bool mayBeUnchanged = staged.existed && !__stagedBefore(file, staged.identity);
    if (!staged.stream) {
        // The whole content is here: compared and written in one go.
        if (mayBeUnchanged && staged.existingSize == size
            && __fileHoldsBytes(staged.target, data, size))
            return true;
        errno = 0;
        if (!__writeTemporary(__folderPrefix(staged.target), data, size, staged.permissions,
                              staged.temporary))
            __markFailed(staged, errno);
        return !staged.failed;
    }
    writePiece(file, data, size);
    if (!__closeStream(staged) || staged.failed)
        return false;
    if (mayBeUnchanged && staged.existingSize == staged.writtenSize
        && __temporaryHoldsExistingBytes(staged)) {
        __removeFile(staged.temporary);
        staged.temporary.clear();
    }
    return true;
}

bool FileReplacement::finishTextFile(std::size_t file, const std::string& text)
{
    if (std::strcmp(platformLineEnding, "\n") == 0)
        return finishFile(file, text.data(), text.size());
    const std::string platformText = withPlatformLineEndings(text);
    return finishFile(file, platformText.data(), platformText.size());
}

void FileReplacement::dropFile(std::size_t file)
{
    __Staged& staged = __staged[file];
    staged.failed = true;
    staged.heldBytes.clear();
    __closeStream(staged);
    if (!staged.temporary.empty())
        __removeFile(staged.temporary);
    staged.temporary.clear();
}

bool FileReplacement::__createTemporaryStream(__Staged& staged)
{
    errno = 0;
    if (!__writeTemporary(__folderPrefix(staged.target), nullptr, 0, staged.permissions,
                          staged.temporary)) {
        __markFailed(staged, errno);
        return false;
    }
    staged.stream = std::make_unique<std::ofstream>(
        __nativePath(staged.temporary).c_str(), std::ios::out | std::ios::binary | std::ios::app);
    if (!staged.stream->is_open())
        __markFailed(staged, errno);
    return !staged.failed;
}

bool FileReplacement::__closeStream(__Staged& staged)
{
    if (!staged.stream)
        return true;
    errno = 0;
    staged.stream->close();
    const bool closed = !staged.stream->fail();
    staged.stream.reset();
    if (!closed)
        __markFailed(staged, errno);
    return closed;
}

void FileReplacement::__markFailed(__Staged& staged, int errorNumber)
{
    if (!staged.failed)
        staged.failureErrno = errorNumber;
    staged.failed = true;
}

bool FileReplacement::__temporaryHoldsExistingBytes(const __Staged& staged) const
{
    std::ifstream temporary(__nativePath(staged.temporary).c_str(), std::ios::in | std::ios::binary);
    std::ifstream existing(__nativePath(staged.target).c_str(), std::ios::in | std::ios::binary);
    if (!temporary.is_open() || !existing.is_open())
        return false;
    std::vector<char> ours(65536);
    std::vector<char> theirs(ours.size());
    for (;;) {
        temporary.read(ours.data(), static_cast<std::streamsize>(ours.size()));
        existing.read(theirs.data(), static_cast<std::streamsize>(theirs.size()));
        const std::streamsize count = temporary.gcount();
        if (count != existing.gcount() || temporary.bad() || existing.bad()
            || std::memcmp(ours.data(), theirs.data(), static_cast<std::size_t>(count)) != 0)
            return false;
        if (count == 0)
            return true;
    }
}

bool FileReplacement::__stagedBefore(std::size_t file, const std::string& identity) const
{
    return std::any_of(__staged.begin(), __staged.begin() + static_cast<std::ptrdiff_t>(file),
                       [&](const __Staged& staged) { return staged.identity == identity; });
}

std::string FileReplacement::__newTemporaryName(const std::string& folderPrefix)
{
    return folderPrefix + __temporaryNameStart + std::to_string(__temporariesMade++)
           + __temporaryNameEnd;
}

bool FileReplacement::__writeTemporary(const std::string& folderPrefix, const char* data,
                                       std::size_t size, const std::optional<unsigned>& permissions,
                                       std::string& temporary)
{
    for (;;) {
        temporary = __newTemporaryName(folderPrefix);
        switch (__createFileWith(temporary, data, size, permissions)) {
        case __CreateResult::created:
            return true;
        case __CreateResult::nameTaken:
            continue;  // another run drew the same number
        case __CreateResult::failed:
            temporary.clear();
            return false;
        }
    }
}

bool FileReplacement::__replace(__Staged& staged)
{
    if (staged.temporary.empty())
        return true;
    if (!staged.identity.empty() && !__keepOldContent(staged))
        return false;
    if (!__renameOver(staged.temporary, staged.target))
        return false;
    staged.temporary.clear();
    staged.replaced = true;
    return true;
}

bool FileReplacement::__keepOldContent(__Staged& staged)
{
    const std::string folderPrefix = __folderPrefix(staged.target);
    for (;;) {
        staged.oldContent = __newTemporaryName(folderPrefix);
        const __CreateResult linked = __linkFile(staged.target, staged.oldContent);
        if (linked == __CreateResult::created)
            return true;
        if (linked == __CreateResult::failed)
            break;
    }
    // No links here (or none to this file): a copy of the bytes does the same job.
    std::string content;
    if (!getBinaryFileContents(staged.target, content)) {
        staged.oldContent.clear();
        return false;
    }
    return __writeTemporary(folderPrefix, content.data(), content.size(), staged.permissions,
                            staged.oldContent);
}

void FileReplacement::__putBackReplaced()
{
    // Newest first, so that a file staged twice ends with the content it had before both.
    for (auto staged = __staged.rbegin(); staged != __staged.rend(); ++staged) {
        if (!staged->replaced)
            continue;
        staged->replaced = false;
        if (staged->oldContent.empty()) {
            __removeFile(staged->target);  // it did not exist before
        } else if (!__renameOver(staged->oldContent, staged->target)) {
            // Kept where it is: it is the only copy of the old content left.
            __unrestored.push_back({staged->target, staged->oldContent});
        }
        staged->oldContent.clear();
    }
}

void FileReplacement::__removeTemporaries()
{
    for (__Staged& staged : __staged) {
        __closeStream(staged);  // an open file cannot be removed everywhere
        for (std::string* temporary : {&staged.temporary, &staged.oldContent}) {
            if (!temporary->empty())
                __removeFile(*temporary);
            temporary->clear();
        }
    }
}

}  // namespace kel::utils
