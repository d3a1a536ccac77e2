// Replacing several files together, so that a reader, or a run that is killed part way,
// finds each file either as it was or with its complete new content, never half written.
#ifndef KEL_UTILS_FILE_REPLACEMENT_H
#define KEL_UTILS_FILE_REPLACEMENT_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kel::utils {

/// Collects the new contents of files, then puts them all in place.
///
/// stage writes the content of a regular file to a temporary file in the same folder, named
/// "." + owner + "-<process id>-<n>.tmp"; commit renames the temporaries over their files in
/// the order they were staged. A file that already holds exactly the new bytes is left
/// alone and keeps its time stamp. A symbolic link is written through: its target is
/// replaced and the link stays a link. A replaced file keeps its permission bits; a new
/// one gets those a plain create gives. A path that is not a regular file (a device, a
/// FIFO, /dev/stdout) is written directly, when it is staged. Temporaries not committed
/// are removed when the object is destroyed; only a killed process leaves any behind.
class FileReplacement
{
public:
    /// owner names the temporaries, so that they are plainly the owner's.
    explicit FileReplacement(std::string owner);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    /// Stages the bytes for path. False when path cannot be written: a folder, a read-only
    /// file, a folder that refuses the temporary, a failed write.
    bool stage(const std::string& path, const char* data, std::size_t size);

    /// Stages text as a text-mode stream writes it, every LF as platformLineEnding.
    bool stageText(const std::string& path, const std::string& text);

    /// Renames every temporary over its file, in staging order. On false, failedStage is the
    /// number (from 0) of the stage call whose file could not be replaced: the files staged
    /// before it are replaced and every temporary left is removed. On success, also removes
    /// the owner's temporaries that processes no longer running left in the folders written.
    bool commit(std::size_t& failedStage);

private:
    struct __Staged {
        std::string temporary;  // empty when there is nothing to rename
        std::string target;
        std::string identity;  // of the file replaced, when it exists
    };

    /// Notes a folder written to, where temporaries of ended processes are looked for.
    void __rememberFolder(const std::string& folderPrefix);
    bool __stagedEarlier(const std::string& identity) const;
    bool __writeTemporary(const std::string& folderPrefix, const char* data, std::size_t size,
                          const std::optional<unsigned>& permissions, std::string& temporary);
    bool __isTemporaryName(const std::string& name, std::uint64_t& processId) const;
    void __removeTemporariesOfEndedProcesses() const;
    void __removeTemporaries();

    /// "." + owner + "-": how the names of this owner's temporaries begin.
    std::string __temporaryNameStart;
    std::uint64_t __temporariesMade = 0;
    std::vector<__Staged> __staged;
    std::vector<std::string> __folderPrefixes;
};

}  // namespace kel::utils

#endif
