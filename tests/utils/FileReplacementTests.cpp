// Replacing files together: what a failed batch leaves, what is left alone, which file wins,
// and the temporaries killed processes leave behind.
#include "kelutilsFileReplacement.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "kelutilsFiles.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace kel::utils;
namespace fs = std::filesystem;

namespace {

std::string processId()
{
#ifdef _WIN32
    return std::to_string(GetCurrentProcessId());
#else
    return std::to_string(getpid());
#endif
}

class FileReplacementTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("kel_file_replacement_" + processId());
        fs::remove_all(folder);
        fs::create_directory(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string path(const std::string& name) const { return (folder / name).string(); }

    void writeBytes(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }

    std::string readBytes(const std::string& name) const
    {
        std::ifstream in(path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::set<std::string> names(const fs::path& where) const
    {
        std::set<std::string> found;
        for (const auto& entry : fs::directory_iterator(where))
            found.insert(entry.path().filename().string());
        return found;
    }

    fs::path folder;
};

TEST_F(FileReplacementTest, AFileHoldingTheNewTextKeepsItsTimeStamp)
{
    // The comparison is with the text as written, line ends included.
    writeBytes("same", withPlatformLineEndings("a\nb\n"));
    writeBytes("other", "old");
    const fs::file_time_type past = fs::last_write_time(path("same")) - std::chrono::hours(48);
    fs::last_write_time(path("same"), past);
    fs::last_write_time(path("other"), past);

    FileReplacement replacement("vantrel");
    ASSERT_TRUE(replacement.stageText(path("same"), "a\nb\n"));
    ASSERT_TRUE(replacement.stageText(path("other"), "new\n"));
    std::size_t failedStage = 0;
    ASSERT_TRUE(replacement.commit(failedStage));
    EXPECT_EQ(past, fs::last_write_time(path("same")));
    EXPECT_NE(past, fs::last_write_time(path("other")));
    EXPECT_EQ(withPlatformLineEndings("new\n"), readBytes("other"));
    EXPECT_EQ((std::set<std::string>{"other", "same"}), names(folder));
}

TEST_F(FileReplacementTest, AFailedStageLeavesEveryFileAsItWas)
{
    writeBytes("first", "old first");
    fs::create_directory(folder / "second");
    {
        FileReplacement replacement("vantrel");
        ASSERT_TRUE(replacement.stage(path("first"), "new", 3));
        EXPECT_FALSE(replacement.stage(path("second"), "new", 3));
        EXPECT_FALSE(replacement.stage(path("missing/third"), "new", 3));
    }
    EXPECT_EQ("old first", readBytes("first"));
    EXPECT_EQ((std::set<std::string>{"first", "second"}), names(folder));
}

TEST_F(FileReplacementTest, AFailedRenamePutsBackTheFilesReplacedBeforeIt)
{
    writeBytes("zero", "old zero");
    FileReplacement replacement("vantrel");
    ASSERT_TRUE(replacement.stage(path("zero"), "0", 1));
    ASSERT_TRUE(replacement.stage(path("first"), "1", 1));
    ASSERT_TRUE(replacement.stage(path("second"), "2", 1));
    ASSERT_TRUE(replacement.stage(path("third"), "3", 1));
    fs::create_directory(folder / "second");  // after staging: only the rename can fail
    std::size_t failedStage = 0;
    EXPECT_FALSE(replacement.commit(failedStage));
    EXPECT_EQ(2u, failedStage);
    // The replaced file has its old content back, the new one is gone again.
    EXPECT_EQ("old zero", readBytes("zero"));
    EXPECT_TRUE(replacement.unrestored().empty());
    EXPECT_EQ((std::set<std::string>{"zero", "second"}), names(folder));
}

TEST_F(FileReplacementTest, TheLaterOfTwoStagesOfOneFileWinsEvenWhenItHoldsTheseBytes)
{
    writeBytes("both", "second");
    FileReplacement replacement("vantrel");
    ASSERT_TRUE(replacement.stage(path("both"), "first", 5));
    ASSERT_TRUE(replacement.stage(path("both"), "second", 6));
    std::size_t failedStage = 0;
    ASSERT_TRUE(replacement.commit(failedStage));
    EXPECT_EQ("second", readBytes("both"));
    EXPECT_EQ(std::set<std::string>{"both"}, names(folder));
}

TEST_F(FileReplacementTest, AFileWrittenInPiecesReplacesItsFileOnlyAtCommit)
{
    writeBytes("pieces", "old");
    FileReplacement replacement("vantrel");
    const std::size_t file = replacement.startFile(path("pieces"));
    replacement.writeTextPiece(file, "one\n", 4);
    replacement.writeTextPiece(file, "two\nthree", 9);
    EXPECT_EQ("old", readBytes("pieces"));
    ASSERT_TRUE(replacement.finishFile(file, "\n", 1));
    EXPECT_EQ("old", readBytes("pieces"));
    EXPECT_EQ(2u, names(folder).size());  // the file and its temporary
    std::size_t failedStage = 0;
    ASSERT_TRUE(replacement.commit(failedStage));
    EXPECT_EQ(withPlatformLineEndings("one\ntwo\nthree") + "\n", readBytes("pieces"));
    EXPECT_EQ(std::set<std::string>{"pieces"}, names(folder));
}

TEST_F(FileReplacementTest, AFileWrittenInPiecesThatHoldsTheseBytesKeepsItsTimeStamp)
{
    const std::string content(200000, 'x');  // longer than one comparison chunk
    writeBytes("same", content);
    writeBytes("longer", content + "y");
    writeBytes("differs", content.substr(1) + "y");
    const fs::file_time_type past = fs::last_write_time(path("same")) - std::chrono::hours(48);
    for (const char* name : {"same", "longer", "differs"})
        fs::last_write_time(path(name), past);
    FileReplacement replacement("vantrel");
    for (const char* name : {"same", "longer", "differs"}) {
        const std::size_t file = replacement.startFile(path(name));
        replacement.writePiece(file, content.data(), 100000);
        replacement.writePiece(file, content.data() + 100000, 50000);
        ASSERT_TRUE(replacement.finishFile(file, content.data() + 150000, content.size() - 150000));
    }
    std::size_t failedStage = 0;
    ASSERT_TRUE(replacement.commit(failedStage));
    EXPECT_EQ(past, fs::last_write_time(path("same")));
    EXPECT_NE(past, fs::last_write_time(path("longer")));
    EXPECT_NE(past, fs::last_write_time(path("differs")));
    for (const char* name : {"same", "longer", "differs"})
        EXPECT_EQ(content, readBytes(name)) << name;
    EXPECT_EQ((std::set<std::string>{"same", "longer", "differs"}), names(folder));
}

TEST_F(FileReplacementTest, AStartedFileThatCannotBeWrittenFailsAtItsFinishAndADroppedOneNever)
{
    fs::create_directory(folder / "folder");
    writeBytes("kept", "old");
    {
        FileReplacement replacement("vantrel");
        const std::size_t intoFolder = replacement.startFile(path("folder"));
        const std::size_t missing = replacement.startFile(path("missing/file"));
        const std::size_t dropped = replacement.startFile(path("kept"));
        replacement.writePiece(intoFolder, "new", 3);
        replacement.writePiece(missing, "new", 3);
        replacement.writePiece(dropped, "new", 3);
        EXPECT_FALSE(replacement.finishFile(intoFolder, "", 0));
        EXPECT_FALSE(replacement.finishFile(missing, "", 0));
        replacement.dropFile(dropped);
        std::size_t failedStage = 0;
        EXPECT_TRUE(replacement.commit(failedStage));  // nothing left to rename
    }
    EXPECT_EQ("old", readBytes("kept"));
    EXPECT_EQ((std::set<std::string>{"folder", "kept"}), names(folder));
}

TEST_F(FileReplacementTest, AStartedFileRenamesInTheOrderOfItsStart)
{
    FileReplacement replacement("vantrel");
    const std::size_t first = replacement.startFile(path("first"));
    ASSERT_TRUE(replacement.stage(path("second"), "2", 1));
    replacement.writePiece(first, "1", 1);
    ASSERT_TRUE(replacement.finishFile(first, "", 0));
    fs::create_directory(folder / "second");  // only the second rename can fail
    std::size_t failedStage = 9;
    EXPECT_FALSE(replacement.commit(failedStage));
    EXPECT_EQ(1u, failedStage);
    EXPECT_EQ(std::set<std::string>{"second"}, names(folder));
}

TEST_F(FileReplacementTest, ACommitLeavesTheTemporariesOfOtherRunsAlone)
{
    // In another process-id namespace a live run can have any id, this one's included.
    const std::set<std::string> kept = {".vantrel-" + processId() + "-0.tmp",
                                        ".vantrel-2147483644-0.tmp",
                                        ".vantrel-0123456789abcdef-0.tmp"};
    for (const std::string& name : kept)
        writeBytes(name, "x");
    FileReplacement replacement("vantrel");
    ASSERT_TRUE(replacement.stage(path("out"), "new", 3));
    std::size_t failedStage = 0;
    ASSERT_TRUE(replacement.commit(failedStage));
    std::set<std::string> expected = kept;
    expected.insert("out");
    EXPECT_EQ(expected, names(folder));
}

#ifndef _WIN32

TEST_F(FileReplacementTest, SymbolicLinksAreWrittenThrough)
{
    fs::create_directory(folder / "real");
    writeBytes("real/target", "old");
    fs::create_symlink("real/target", folder / "link");
    fs::create_symlink("real/made", folder / "dangling");

    FileReplacement replacement("vantrel");
    ASSERT_TRUE(replacement.stage(path("link"), "new", 3));
    ASSERT_TRUE(replacement.stage(path("dangling"), "made", 4));
    std::size_t failedStage = 0;
    ASSERT_TRUE(replacement.commit(failedStage));
    EXPECT_TRUE(fs::is_symlink(folder / "link"));
    EXPECT_TRUE(fs::is_symlink(folder / "dangling"));
    EXPECT_EQ("new", readBytes("real/target"));
    EXPECT_EQ("made", readBytes("real/made"));
    EXPECT_EQ((std::set<std::string>{"made", "target"}), names(folder / "real"));
}

TEST_F(FileReplacementTest, AReplacedFileKeepsItsPermissionsAndANewOneGetsThePlainOnes)
{
    writeBytes("private", "old");
    ASSERT_EQ(0, chmod(path("private").c_str(), 0600));
    const mode_t previousMask = umask(022);
    FileReplacement replacement("vantrel");
    const bool staged =
        replacement.stage(path("private"), "new", 3) && replacement.stage(path("fresh"), "new", 3);
    umask(previousMask);
    ASSERT_TRUE(staged);
    std::size_t failedStage = 0;
    ASSERT_TRUE(replacement.commit(failedStage));
    struct stat info;
    ASSERT_EQ(0, stat(path("private").c_str(), &info));
    EXPECT_EQ(0600u, info.st_mode & 07777);
    ASSERT_EQ(0, stat(path("fresh").c_str(), &info));
    EXPECT_EQ(0644u, info.st_mode & 07777);
}

#endif

}  // namespace

namespace {

TEST_F(FileReplacementTest, AFailedStageKeepsTheReasonTheSystemGave)
{
    fs::create_directory(folder / "sub");
    FileReplacement replacement("test");
    EXPECT_EQ(0, replacement.failureErrno());
    EXPECT_FALSE(replacement.stage(path("sub"), "x", 1));
    EXPECT_EQ(EISDIR, replacement.failureErrno());
    EXPECT_FALSE(replacement.stage(path("none/out.txt"), "x", 1));
    EXPECT_EQ(ENOENT, replacement.failureErrno());
#ifndef _WIN32
    if (fs::exists("/dev/full")) {
        EXPECT_FALSE(replacement.stage("/dev/full", "x", 1));
        EXPECT_EQ(ENOSPC, replacement.failureErrno());
    }
#endif
}

}  // namespace
