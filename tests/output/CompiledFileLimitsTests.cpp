// The compiled files refuse what their offsets and fields cannot hold, instead of writing a
// file whose offsets wrap.
#include <gtest/gtest.h>

#include "common/ExitStatus.h"
#include "output/MacResourceFile.h"
#include "output/WindowsResourceFile.h"

namespace kel::rez {
namespace {

CompiledResources manyResources(int count, std::size_t bytesEach, const std::string& name)
{
    CompiledResources resources;
    auto bytes = std::make_shared<const std::string>(bytesEach, 'x');
    for (int i = 0; i < count; ++i)
        resources.push_back({"DATA", static_cast<std::int16_t>(i), name, false, bytes});
    return resources;
}

TEST(MacResourceFileLimits, ReferencesBeyondTheMapOffsetsAreRefused)
{
    // 28 + 2 + 8 + 12 * n must stay within 16 bits: 5458 references fit, 5459 do not.
    EXPECT_EQ(writeMacResourceFile(manyResources(5458, 1, "")).status, 0);
    const CompiledFile refused = writeMacResourceFile(manyResources(5459, 1, ""));
    EXPECT_EQ(refused.status, statusCannotCompile);
    EXPECT_TRUE(refused.bytes.empty());
}

TEST(MacResourceFileLimits, DataBeyondTwentyFourBitOffsetsIsRefused)
{
    // The second resource starts at 4 + 16 MiB - 4 = 16 MiB, one past the last offset.
    EXPECT_EQ(writeMacResourceFile(manyResources(2, (1u << 24) - 5, "")).status, 0);
    EXPECT_EQ(writeMacResourceFile(manyResources(2, (1u << 24) - 4, "")).status,
              statusCannotCompile);
}

TEST(MacResourceFileLimits, NamesBeyondTheNameListOffsetsAreRefused)
{
    // 256 bytes a name: the 257th starts at 65536.
    EXPECT_EQ(writeMacResourceFile(manyResources(256, 1, std::string(255, 'n'))).status, 0);
    EXPECT_EQ(writeMacResourceFile(manyResources(257, 1, std::string(255, 'n'))).status,
              statusCannotCompile);
}

TEST(MacResourceFileLimits, ShortTypesAreRightAlignedAndIdsKeepTheirSign)
{
    CompiledResources resources = manyResources(1, 0, "");
    resources[0].type = "";
    resources[0].id = -2;
    const std::string bytes = writeMacResourceFile(resources).bytes;
    // Header 256, one empty data entry (4), map header 28, type count 2, type entry 8.
    const std::size_t typeEntry = 256 + 4 + 28 + 2;
    EXPECT_EQ(bytes.substr(typeEntry, 4), std::string(4, '\0'));
    EXPECT_EQ(bytes.substr(typeEntry + 8, 2), "\xff\xfe");
}

TEST(WindowsResourceFileLimits, NamesOutsideTheBasicPlaneBecomeSurrogatePairs)
{
    CompiledResources resources = manyResources(1, 0, "a\xF0\x9F\x98\x80");
    resources[0].keyedByName = true;
    const std::string bytes = writeWindowsResourceFile(resources).bytes;
    // After the 32-byte empty entry and the two sizes: "DATA\0", then the name.
    const std::string name = bytes.substr(32 + 8 + 10, 8);
    EXPECT_EQ(name, std::string("A\0\x3d\xd8\x00\xde\0\0", 8));
}

TEST(WindowsResourceFileLimits, OverlongAndSurrogateUtf8IsRefused)
{
    for (const char* bad : {"\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "a\xE2\x82"}) {
        CompiledResources resources = manyResources(1, 0, bad);
        resources[0].keyedByName = true;
        EXPECT_EQ(writeWindowsResourceFile(resources).status, statusCannotCompile) << bad;
    }
}

}  // namespace
}  // namespace kel::rez
