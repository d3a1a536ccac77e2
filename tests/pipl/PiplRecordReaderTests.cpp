// The record reader against lists laid out by hand from the property list format: a header
// (Windows: a reserved word first), then per record vendor, key, id, length and padded data.
#include <gtest/gtest.h>

#include "pipl/PiplRecordReader.h"

namespace kel::rez {
namespace {

using Bytes = std::vector<unsigned char>;

PiplReadList readList(const Bytes& bytes, PiplPlatform platform)
{
    return readPiplRecords(bytes.data(), bytes.size(), platform);
}

const Bytes macKindAndName = {
    0, 0, 0, 0, 0, 0, 0, 2,                                   // version 0, two records
    '8', 'B', 'I', 'M', 'k', 'i', 'n', 'd', 0, 0, 0, 0, 0, 0, 0, 4, '8', 'B', 'F', 'M',
    '8', 'B', 'I', 'M', 'n', 'a', 'm', 'e', 0, 0, 0, 0, 0, 0, 0, 3, 2, 'H', 'i', 0,
};

TEST(PiplRecordReader, ReadsMacRecordsBigEndianWithoutPadding)
{
    PiplReadList list = readList(macKindAndName, PiplPlatform::mac);
    ASSERT_TRUE(list.ok()) << list.error;
    ASSERT_EQ(list.records.size(), 2u);
    EXPECT_EQ(list.records[0].vendor, "8BIM");
    EXPECT_EQ(list.records[0].key, "kind");
    EXPECT_EQ(list.records[0].data, (Bytes{'8', 'B', 'F', 'M'}));
    EXPECT_EQ(list.records[1].key, "name");
    EXPECT_EQ(list.records[1].data, (Bytes{2, 'H', 'i'}));
}

TEST(PiplRecordReader, ReadsWindowsCodesAndNumbersLittleEndian)
{
    const Bytes windows = {
        1, 0, 0, 0, 0, 0, 1, 0, 0, 0,  // reserved 1, version 0, one record
        'M', 'I', 'B', '8', 's', 'r', 'e', 'v', 0, 0, 0, 0, 4, 0, 0, 0, 0x00, 0x00, 0x04, 0x00,
    };
    PiplReadList list = readList(windows, PiplPlatform::windows);
    ASSERT_TRUE(list.ok()) << list.error;
    ASSERT_EQ(list.records.size(), 1u);
    EXPECT_EQ(list.records[0].vendor, "8BIM");
    EXPECT_EQ(list.records[0].key, "vers");
    EXPECT_EQ(piplRecordNumber(list.records[0], PiplPlatform::windows), 0x00040000u);
}

TEST(PiplRecordReader, RefusesEveryTruncationAndOversizedLength)
{
    for (std::size_t size = 0; size < macKindAndName.size(); ++size) {
        Bytes cut(macKindAndName.begin(), macKindAndName.begin() + static_cast<long>(size));
        EXPECT_FALSE(readList(cut, PiplPlatform::mac).ok()) << "size " << size;
    }
    Bytes huge = macKindAndName;
    huge[20] = huge[21] = huge[22] = huge[23] = 0xFF;  // the first record's length
    PiplReadList list = readList(huge, PiplPlatform::mac);
    EXPECT_EQ(list.error, "PiPL property 'kind' declares 4294967295 bytes past the end of the list");
    Bytes manyRecords = macKindAndName;
    manyRecords[7] = 0xFF;  // a count the bytes cannot hold
    EXPECT_EQ(readList(manyRecords, PiplPlatform::mac).error,
              "PiPL property 3 of 255 ends before its header");
}

}  // namespace
}  // namespace kel::rez
