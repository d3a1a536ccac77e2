// Whole-file reading and writing, and the POSIX file-system queries of kel::utils.
#include "kelutilsFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

using namespace kel::utils;
namespace fs = std::filesystem;

namespace {

/// A fresh folder for one test, removed with everything in it afterwards.
class FilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "kel_utils_files_XXXXXX").string();
#ifndef _WIN32
        ASSERT_NE(nullptr, mkdtemp(pattern.data()));
        folder = pattern;
#else
        folder = fs::temp_directory_path() / "kel_utils_files_test";
        fs::remove_all(folder);
        fs::create_directory(folder);
#endif
    }
    void TearDown() override
    {
        fs::remove_all(folder);
    }

    std::string path(const std::string& name) const
    {
        return (folder / name).string();
    }

    std::string writeBytes(const std::string& name, const std::string& bytes) const
    {
        std::ofstream out(path(name), std::ios::binary);
        out << bytes;
        return path(name);
    }

    std::string readBytes(const std::string& name) const
    {
        std::ifstream in(path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    fs::path folder;
};

/// The platform form of a text written with "\n" line ends.
std::string platformText(const std::string& text)
{
    std::string result;
    for (const char byte : text)
        result += byte == '\n' ? std::string(platformLineEnding) : std::string(1, byte);
    return result;
}

}  // namespace

TEST_F(FilesTest, ReadingRemovesEveryCarriageReturnAndEndsEveryLine)
{
    EXPECT_EQ(platformText("a\nb\n"), getPlainFileContents(writeBytes("crlf", "a\r\nb")));
    EXPECT_EQ(platformText("ab\n"), getPlainFileContents(writeBytes("inner", "a\rb\n")));
    EXPECT_EQ(platformText("a\n\n\n"), getPlainFileContents(writeBytes("blank", "a\n\n\r\n")));
    EXPECT_EQ(platformText("\n"), getPlainFileContents(writeBytes("lonecr", "\r")));
    EXPECT_EQ(platformText("x\n"), getPlainFileContents(writeBytes("oneline", "x")));
}

TEST_F(FilesTest, ReadingKeepsEveryOtherByte)
{
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        if (i != '\r' && i != '\n')
            bytes += static_cast<char>(i);
    bytes += '\n';
    EXPECT_EQ(platformText(bytes), getPlainFileContents(writeBytes("bytes", bytes)));
}

TEST_F(FilesTest, ReadingALongSingleLineKeepsItWhole)
{
    std::string line(3 * 65536 + 17, 'q');
    line[70000] = '\r';
    std::string expected = line;
    expected.erase(70000, 1);
    EXPECT_EQ(platformText(expected + "\n"), getPlainFileContents(writeBytes("long", line)));
}

TEST_F(FilesTest, ReadingEmptyMissingOrFolderGivesEmptyText)
{
    EXPECT_EQ("", getPlainFileContents(writeBytes("empty", "")));
    EXPECT_EQ("", getPlainFileContents(path("missing")));
    EXPECT_EQ("", getPlainFileContents(folder.string()));
    EXPECT_EQ("", getPlainFileContents(""));
}

TEST_F(FilesTest, AReadErrorSaysWhyTheFileGaveNoText)
{
    EXPECT_EQ(0, fileReadError(writeBytes("empty", "")));
    EXPECT_EQ(0, fileReadError(writeBytes("one", "x")));
    EXPECT_EQ(ENOENT, fileReadError(path("missing")));
    EXPECT_EQ(ENOENT, fileReadError(""));
    EXPECT_NE(0, fileReadError(folder.string()));  // EISDIR, or EACCES on Windows
}

TEST_F(FilesTest, WritingCreatesOrTruncatesAndReportsSuccess)
{
    EXPECT_TRUE(setPlainFileContents(path("out"), "first line\nsecond, longer line\n"));
    EXPECT_TRUE(setPlainFileContents(path("out"), "x\n"));
    EXPECT_EQ(platformText("x\n"), readBytes("out"));
    EXPECT_TRUE(setPlainFileContents(path("out"), ""));
    EXPECT_EQ("", readBytes("out"));
}

TEST_F(FilesTest, WritingReportsFailures)
{
    EXPECT_FALSE(setPlainFileContents(path("no/such/folder/out"), "x"));
    EXPECT_FALSE(setPlainFileContents(folder.string(), "x"));
    EXPECT_FALSE(setPlainFileContents("", "x"));
    EXPECT_FALSE(setBinaryFileContents(path("no/such/folder/out"), {1}));
    EXPECT_FALSE(setBinaryFileContents(folder.string(), {1}));
}

TEST_F(FilesTest, BinaryWritingKeepsEveryByte)
{
    EXPECT_TRUE(setBinaryFileContents(path("out"), {'\n', '\r', '\n', 0x1a, 0x00, 0xff}));
    EXPECT_EQ(std::string("\n\r\n\x1a\0\xff", 6), readBytes("out"));
    EXPECT_TRUE(setBinaryFileContents(path("out"), {'A'}));
    EXPECT_EQ("A", readBytes("out"));
}

#ifndef _WIN32

TEST(FilesFullDevice, WritingReportsAFullDiskThatShowsOnlyAtFlush)
{
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full on this system";
    EXPECT_FALSE(setPlainFileContents("/dev/full", "x"));
    EXPECT_FALSE(setPlainFileContents("/dev/full", std::string(1 << 20, 'x')));
    EXPECT_FALSE(setBinaryFileContents("/dev/full", std::vector<unsigned char>(1 << 20, 'x')));
}

TEST(FilesDevices, WritingToADeviceNeedsNoCutToSize)
{
    if (!fs::exists("/dev/null"))
        GTEST_SKIP() << "no /dev/null on this system";
    EXPECT_TRUE(setPlainFileContents("/dev/null", "some text\n"));
    EXPECT_TRUE(setBinaryFileContents("/dev/null", {1, 2, 3}));
}

TEST_F(FilesTest, AFailedWriteRemovesTheFileItCutShort)
{
    rlimit previous{};
    ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &previous));
    rlimit small = previous;
    small.rlim_cur = 4096;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &small));
    const bool written = setPlainFileContents(path("big"), std::string(1 << 20, 'x'));
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(written);
    EXPECT_FALSE(fs::exists(path("big")));
}

TEST_F(FilesTest, ExistenceAndSizeComeFromStat)
{
    writeBytes("five", "12345");
    writeBytes("empty", "");
    EXPECT_TRUE(fileExists(path("five")));
    EXPECT_TRUE(fileExists(folder.string()));
    EXPECT_FALSE(fileExists(path("missing")));
    EXPECT_EQ(5, getFileSize(path("five")));
    EXPECT_EQ(0, getFileSize(path("empty")));
    EXPECT_EQ(-1, getFileSize(path("missing")));
}

TEST_F(FilesTest, PermissionsIncludeTheFileTypeBits)
{
    writeBytes("file", "x");
    ASSERT_EQ(0, chmod(path("file").c_str(), 0640));
    std::uint16_t mode = 1;
    EXPECT_TRUE(getFilePermissions(path("file"), mode));
    EXPECT_EQ(S_IFREG | 0640, mode);
    EXPECT_TRUE(getFilePermissions(folder.string(), mode));
    EXPECT_TRUE(S_ISDIR(mode));
    mode = 1;
    EXPECT_FALSE(getFilePermissions(path("missing"), mode));
    EXPECT_EQ(0, mode);
}

TEST_F(FilesTest, MakeDirectoryIgnoresAndRestoresTheUmask)
{
    const mode_t previous = umask(077);
    EXPECT_TRUE(makeDirectory(path("made"), 0755));
    EXPECT_EQ(077u, umask(previous));
    std::uint16_t mode = 0;
    ASSERT_TRUE(getFilePermissions(path("made"), mode));
    EXPECT_EQ(S_IFDIR | 0755, mode);
    EXPECT_TRUE(makeDirectory(path("made"), 0755));
    EXPECT_FALSE(makeDirectory(path("missing/child"), 0755));
}

TEST_F(FilesTest, ListingAppendsEveryEntryExceptDotAndDotDot)
{
    writeBytes("a", "");
    writeBytes(".hidden", "");
    fs::create_directory(folder / "sub");
    std::vector<std::string> names{"kept"};
    EXPECT_TRUE(filesInDirectory(folder.string(), names));
    ASSERT_EQ(4u, names.size());
    EXPECT_EQ("kept", names[0]);
    std::sort(names.begin() + 1, names.end());
    EXPECT_EQ((std::vector<std::string>{"kept", ".hidden", "a", "sub"}), names);
}

TEST_F(FilesTest, ListingAnEmptyFolderOrAFile)
{
    fs::create_directory(folder / "empty");
    std::vector<std::string> names{"kept"};
    EXPECT_TRUE(filesInDirectory(path("empty"), names));
    EXPECT_EQ(std::vector<std::string>{"kept"}, names);
    EXPECT_FALSE(filesInDirectory(writeBytes("file", "x"), names));
    EXPECT_FALSE(filesInDirectory(path("missing"), names));
    EXPECT_EQ(std::vector<std::string>{"kept"}, names);
}

TEST_F(FilesTest, CopyingKeepsEveryByte)
{
    const std::string bytes("a\r\nb\0c\xFF", 7);
    writeBytes("source", bytes);
    writeBytes("target", "longer old contents");
    EXPECT_TRUE(copyFileToPath(path("source"), path("target")));
    EXPECT_EQ(bytes, readBytes("target"));
}

TEST_F(FilesTest, CopyingFailsWithoutReadableSourceOrWritableTarget)
{
    writeBytes("source", "x");
    EXPECT_FALSE(copyFileToPath(path("missing"), path("target")));
    EXPECT_FALSE(copyFileToPath(folder.string(), path("target")));
    EXPECT_FALSE(fs::exists(path("target")));
    EXPECT_FALSE(copyFileToPath(path("source"), path("missing/target")));
}

#endif
