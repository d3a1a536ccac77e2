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
    std::ifstream in(__nativePath(path).c_str(), std::ios::in | std::ios::binary);
    if (!in.is_open())
        return false;
    char chunk[65536];
    std::size_t compared = 0;
    while (compared < size) {
        in.read(chunk, static_cast<std::streamsize>(std::min(sizeof chunk, size - compared)));
        const std::size_t count = static_cast<std::size_t>(in.gcount());
        if (count == 0 || std::memcmp(chunk, data + compared, count) != 0)
            return false;
        compared += count;
    }
    return in.peek() == std::ifstream::traits_type::eof();
}

/// The whole content of the file at path; false when it cannot be read.
bool __readWholeFile(const std::string& path, std::string& content)
{
    std::ifstream in(__nativePath(path).c_str(), std::ios::in | std::ios::binary);
    if (!in.is_open())
        return false;
    content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
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
    return std::mt19937_64(seed)();
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
    __PathFacts facts;
    errno = 0;
    if (!__examinePath(path, facts))
        return __failBecause(errno);
    if (facts.kind == __PathFacts::folder)
        return __failBecause(EISDIR);
    if (facts.kind == __PathFacts::special) {
        // Nothing to rename: a device or a pipe takes the bytes as they come.
        __staged.push_back(__Staged());
        return __writeToSpecialFile(path, data, size) || __failBecause(errno);
    }
    const bool exists = facts.kind == __PathFacts::regularFile;
    // A file the user may not write stays as it is, as it would with a plain write.
    if (exists && !facts.writable)
        return __failBecause(EACCES);
    __Staged staged;
    staged.target = facts.resolvedPath;
    staged.identity = facts.identity;
    if (exists)
        staged.permissions = facts.permissions;
    // A file staged earlier in the batch will change on commit, so its present bytes say
    // nothing about what this later stage must leave there.
    const bool unchanged = exists && facts.size == size && !__stagedEarlier(facts.identity)
                           && __fileHoldsBytes(facts.resolvedPath, data, size);
    if (!unchanged
        && !__writeTemporary(__folderPrefix(staged.target), data, size, staged.permissions,
                             staged.temporary))
        return __failBecause(errno);
    __staged.push_back(std::move(staged));
    return true;
}

bool FileReplacement::commit(std::size_t& failedStage)
{
    try {
        for (std::size_t index = 0; index < __staged.size(); ++index) {
            errno = 0;
            if (!__replace(__staged[index])) {
                __failBecause(errno);
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

bool FileReplacement::__failBecause(int errorNumber)
{
    __failureErrno = errorNumber;
    return false;
}

bool FileReplacement::__stagedEarlier(const std::string& identity) const
{
    return std::any_of(__staged.begin(), __staged.end(),
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
    if (!__readWholeFile(staged.target, content)) {
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
        for (std::string* temporary : {&staged.temporary, &staged.oldContent}) {
            if (!temporary->empty())
                __removeFile(*temporary);
            temporary->clear();
        }
    }
}

}  // namespace kel::utils
