// Replacing several files together: temporaries beside the files, then one rename each.
#include "kelutilsFileReplacement.h"

#include <algorithm>
#include <cstring>
#include <fstream>

#include "kelutilsFiles.h"
#include "kelutilsNativeFiles.h"

namespace kel::utils {

namespace {

/// How every temporary's name ends, after the owner's name start and the numbers.
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

/// Reads the decimal number at text[position], moving position past it; false when there
/// is no digit there or the number does not fit.
bool __readNumber(const std::string& text, std::size_t& position, std::uint64_t& number)
{
    const std::size_t start = position;
    number = 0;
    while (position < text.size() && text[position] >= '0' && text[position] <= '9') {
        if (position - start >= 19)
            return false;
        number = number * 10 + static_cast<std::uint64_t>(text[position++] - '0');
    }
    return position > start;
}

}  // namespace

FileReplacement::FileReplacement(std::string owner)
    : __temporaryNameStart("." + owner + "-")
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
    if (!__examinePath(path, facts) || facts.kind == __PathFacts::folder)
        return false;
    if (facts.kind == __PathFacts::special) {
        // Nothing to rename: a device or a pipe takes the bytes as they come.
        __staged.push_back(__Staged());
        return __writeToSpecialFile(path, data, size);
    }
    const bool exists = facts.kind == __PathFacts::regularFile;
    // A file the user may not write stays as it is, as it would with a plain write.
    if (exists && !facts.writable)
        return false;
    const std::string folderPrefix = __folderPrefix(facts.resolvedPath);
    __rememberFolder(folderPrefix);

    __Staged staged{std::string(), facts.resolvedPath, facts.identity};
    // A file staged earlier in the batch will change on commit, so its present bytes say
    // nothing about what this later stage must leave there.
    const bool unchanged = exists && facts.size == size && !__stagedEarlier(facts.identity)
                           && __fileHoldsBytes(facts.resolvedPath, data, size);
    if (!unchanged) {
        const std::optional<unsigned> permissions =
            exists ? std::optional<unsigned>(facts.permissions) : std::nullopt;
        if (!__writeTemporary(folderPrefix, data, size, permissions, staged.temporary))
            return false;
    }
    __staged.push_back(std::move(staged));
    return true;
}

bool FileReplacement::commit(std::size_t& failedStage)
{
    for (std::size_t index = 0; index < __staged.size(); ++index) {
        __Staged& staged = __staged[index];
        if (staged.temporary.empty())
            continue;
        if (!__renameOver(staged.temporary, staged.target)) {
            failedStage = index;
            __removeTemporaries();
            return false;
        }
        staged.temporary.clear();
    }
    __removeTemporariesOfEndedProcesses();
    return true;
}

void FileReplacement::__rememberFolder(const std::string& folderPrefix)
{
    if (std::find(__folderPrefixes.begin(), __folderPrefixes.end(), folderPrefix)
        == __folderPrefixes.end())
        __folderPrefixes.push_back(folderPrefix);
}

bool FileReplacement::__stagedEarlier(const std::string& identity) const
{
    return std::any_of(__staged.begin(), __staged.end(),
                       [&](const __Staged& staged) { return staged.identity == identity; });
}

bool FileReplacement::__writeTemporary(const std::string& folderPrefix, const char* data,
                                       std::size_t size, const std::optional<unsigned>& permissions,
                                       std::string& temporary)
{
    const std::string namePrefix =
        folderPrefix + __temporaryNameStart + std::to_string(__currentProcessId()) + "-";
    for (;;) {
        temporary = namePrefix + std::to_string(__temporariesMade++) + __temporaryNameEnd;
        switch (__createFileWith(temporary, data, size, permissions)) {
        case __CreateResult::created:
            return true;
        case __CreateResult::nameTaken:
            continue;  // left by a killed process that had the same id
        case __CreateResult::failed:
            temporary.clear();
            return false;
        }
    }
}

bool FileReplacement::__isTemporaryName(const std::string& name, std::uint64_t& processId) const
{
    const std::string& start = __temporaryNameStart;
    static const std::string end = __temporaryNameEnd;
    if (name.compare(0, start.size(), start) != 0 || name.size() < start.size() + end.size()
        || name.compare(name.size() - end.size(), end.size(), end) != 0)
        return false;
    std::size_t position = start.size();
    std::uint64_t count = 0;
    return __readNumber(name, position, processId) && position < name.size()
           && name[position++] == '-' && __readNumber(name, position, count)
           && position == name.size() - end.size();
}

void FileReplacement::__removeTemporariesOfEndedProcesses() const
{
    const std::uint64_t self = __currentProcessId();
    for (const std::string& folderPrefix : __folderPrefixes) {
        std::vector<std::string> names;
        if (!__folderEntries(folderPrefix, names))
            continue;
        for (const std::string& name : names) {
            std::uint64_t processId = 0;
            // This process's own are either committed or still owned by another batch.
            if (__isTemporaryName(name, processId) && processId != self
                && __processHasEnded(processId))
                __removeFile(folderPrefix + name);
        }
    }
}

void FileReplacement::__removeTemporaries()
{
    for (__Staged& staged : __staged) {
        if (!staged.temporary.empty())
            __removeFile(staged.temporary);
        staged.temporary.clear();
    }
}

}  // namespace kel::utils
