// Replacing several files together, so that a reader, or a run that is killed part way,
// finds each file either as it was or with its complete new content, never half written.
#ifndef KEL_UTILS_FILE_REPLACEMENT_H
#define KEL_UTILS_FILE_REPLACEMENT_H

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <memory>
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
/// alone and keeps its time stamp. A content may also be written in pieces: startFile,
/// writePiece as often as needed, then finishFile, which compares the finished temporary
/// with the file before staging it; stage is startFile and finishFile in one. A symbolic link is written through: its target is
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

    /// Starts the new content of path, to be written in pieces; returns the number to give
    /// writePiece, finishFile and dropFile. Counts as a stage call: the file is renamed in
    /// the order of its start. Whether path can be written is known at finishFile.
    std::size_t startFile(const std::string& path);

    /// Appends the bytes to the content of a started file: to its temporary, created on
    /// the first piece, or, for a special file, to the bytes held until finishFile.
    void writePiece(std::size_t file, const char* data, std::size_t size);

    /// Like writePiece, with every LF written as platformLineEnding.
    void writeTextPiece(std::size_t file, const char* data, std::size_t size);

    /// Completes a started file with its last bytes: a special file gets its content now,
    /// and a content that the file holds already is not staged, so that the file keeps its
    /// time stamp (a temporary written in pieces is compared with the file, then removed).
    /// False when path cannot be written, as with stage.
    bool finishFile(std::size_t file, const char* data, std::size_t size);

    /// Like finishFile, with every LF of text written as platformLineEnding.
    bool finishTextFile(std::size_t file, const std::string& text);

    /// Gives up a started file, which then stays as it is; nothing is reported.
    void dropFile(std::size_t file);

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

    /// The errno value of what made the last failed finishFile, stage or commit fail (EISDIR
    /// for a folder, EACCES for a file that may not be written); 0 when none was seen.
    int failureErrno() const { return __failureErrno; }

private:
    struct __Staged {
        std::string path;  // as given, for a special file
        std::string temporary;  // empty when there is nothing to rename
        std::string target;
        std::string identity;  // of the file replaced, when it exists
        std::optional<unsigned> permissions;  // of the file replaced, when it exists
        std::string oldContent;  // where the replaced file's old content is kept during commit
        bool replaced = false;
        // While a started file is written: what the path is, what it held, what was written.
        bool special = false;
        bool failed = false;
        int failureErrno = 0;  // what made it fail, when known
        bool existed = false;
        std::uint64_t existingSize = 0;
        std::uint64_t writtenSize = 0;
        std::string heldBytes;  // a special file's content, written at finishFile
        std::unique_ptr<std::ofstream> stream;
    };

    bool __stagedBefore(std::size_t file, const std::string& identity) const;
    bool __finish(__Staged& staged, std::size_t file, const char* data, std::size_t size);
    /// Marks the file failed, keeping the errno value of its first failure.
    void __markFailed(__Staged& staged, int errorNumber);
    bool __createTemporaryStream(__Staged& staged);
    bool __closeStream(__Staged& staged);
    bool __temporaryHoldsExistingBytes(const __Staged& staged) const;
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
