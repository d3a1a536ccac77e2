// Names derived from file paths.
#include <gtest/gtest.h>

#include "resources/ResourceNames.h"

namespace kel::rez {
namespace {

TEST(NameFromFilePath, LastPieceWithoutItsLastExtension)
{
    EXPECT_EQ("arrow@2x", nameFromFilePath("res/icons/arrow@2x.png"));
    EXPECT_EQ("logo", nameFromFilePath("C:\\art\\logo.PNG"));
    EXPECT_EQ("archive.tar", nameFromFilePath("img/archive.tar.png"));
    EXPECT_EQ(".hidden", nameFromFilePath("img/.hidden"));
    EXPECT_EQ(".a.b", nameFromFilePath("img/.a.b"));
    EXPECT_EQ("noext", nameFromFilePath("img/noext"));
    EXPECT_EQ("trailing", nameFromFilePath("img/trailing."));
    EXPECT_EQ("My Icon-1", nameFromFilePath("x/My Icon-1.svg"));
}

TEST(NameFromFilePath, SeparatorsAndBareNames)
{
    // A backslash separates only when the path holds no slash.
    EXPECT_EQ("b\\c", nameFromFilePath("a/b\\c.png"));
    EXPECT_EQ("image", nameFromFilePath("image.png"));
    EXPECT_EQ("image", nameFromFilePath("image"));
    EXPECT_EQ("", nameFromFilePath("folder/"));
    EXPECT_EQ("", nameFromFilePath("folder\\"));
}

}  // namespace
}  // namespace kel::rez
