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

/// Collects the new contents of files, then puts them all in place, or none of them.
///
/// stage writes the content of a regular file to a temporary file in the same folder, named
/// "." + owner + "-<random>-<n>.tmp"; commit renames the temporaries over their files in
/// the order they were staged, each file's old content first kept aside under a name of the
/// same form (a second link to it, or a copy where the file system has no links). When a
/// rename fails, the files already replaced get their old content back and the files that
/// were new are removed again. A file that already holds exactly the new bytes is left
/// alone and keeps its time stamp. A symbolic link is written through: its target is
/// replaced and the link stays a link. A replaced file keeps its permission bits; a new
/// one gets those a plain create gives. A path that is not a regular file (a device, a
/// FIFO, /dev/stdout) is written directly, when it is staged. The object removes every
/// temporary it made, and only those: a killed process leaves its own behind, which are
/// safe to delete.
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
    /// number (from 0) of the stage call whose file could not be replaced, every file staged
    /// before it is as it was (see unrestored) and every temporary is removed.
    bool commit(std::size_t& failedStage);

    /// A file that a failed commit replaced and could not put back, and where its old
    /// content was kept instead.
    struct Unrestored {
        std::string path;
        std::string oldContent;
    };
    /// Empty unless putting back failed too, which a failed rename alone does not cause.
    const std::vector<Unrestored>& unrestored() const { return __unrestored; }

    /// The errno value of what made the last stage or commit fail (EISDIR for a folder,
    /// EACCES for a file that may not be written); 0 when none was seen.
    int failureErrno() const { return __failureErrno; }

private:
    struct __Staged {
        std::string temporary;  // empty when there is nothing to rename
        std::string target;
        std::string identity;  // of the file replaced, when it exists
        std::optional<unsigned> permissions;  // of the file replaced, when it exists
        std::string oldContent;  // where the replaced file's old content is kept during commit
        bool replaced = false;
    };

    bool __stagedEarlier(const std::string& identity) const;
    /// False, noting errorNumber as the reason of the failure.
    bool __failBecause(int errorNumber);
    std::string __newTemporaryName(const std::string& folderPrefix);
    bool __writeTemporary(const std::string& folderPrefix, const char* data, std::size_t size,
                          const std::optional<unsigned>& permissions, std::string& temporary);
    bool __keepOldContent(__Staged& staged);
    bool __replace(__Staged& staged);
    void __putBackReplaced();
    void __removeTemporaries();

    /// "." + owner + "-" + a random number: how the names of this object's temporaries begin.
    std::string __temporaryNameStart;
    std::uint64_t __temporariesMade = 0;
    std::vector<__Staged> __staged;
    std::vector<Unrestored> __unrestored;
    int __failureErrno = 0;
};

}  // namespace kel::utils

#endif
