#include <gtest/gtest.h>

#include <random>

#include "package/ByteSum.h"
#include "package/ListFileReader.h"
#include "package/PackageFiles.h"
#include "PackageFixture.h"
#include "TempFolder.h"

using namespace fw;

TEST(ListFileReader, ValuesAreVerbatimUpToTheStrippedLineEnd)
{
    const auto e = parseListFile("  [uP]  a b\t \r\n[SCALER]\\\\srv\\x.bin\r[CHECKSUM1]\r\n[CHECKSUM2]   \r\n");
    EXPECT_EQ(e.up.value, "  a b\t");
    EXPECT_EQ(e.scaler.value, "\\\\srv\\x.bin");
    EXPECT_TRUE(e.checksum1.seen);
    EXPECT_EQ(e.checksum1.value, "");
    EXPECT_TRUE(e.checksum2.seen);
    EXPECT_EQ(e.checksum2.value, "");
}

TEST(ListFileReader, OnlyCrEndsALine)
{
    const auto e = parseListFile("[uP]a\n[SCALER]b\r\n\n[SCALER]c\r\r\n[CHECKSUM1]1");
    EXPECT_EQ(e.up.value, "a\n[SCALER]b");
    EXPECT_FALSE(e.scaler.seen);  // "\n[SCALER]c": the LF left over from "\r\n\n" starts the line
    EXPECT_EQ(e.checksum1.value, "1");  // a last line without a line end counts
}

TEST(ListFileReader, PiecesOfAnySizeGiveTheSameResult)
{
    const std::string text = "x\r\n [CHECKSUM2] 12 \r\n[uP]up  .bin  \r[SCALER]s\r\n\r\n[uP]second\r";
    const auto whole = parseListFile(text);
    for (std::size_t piece = 1; piece < text.size(); ++piece) {
        ListFileReader reader;
        for (std::size_t at = 0; at < text.size(); at += piece) reader.feed(std::string_view(text).substr(at, piece));
        const auto e = reader.finish();
        EXPECT_EQ(e.up.value, whole.up.value) << piece;
        EXPECT_EQ(e.scaler.value, whole.scaler.value) << piece;
        EXPECT_EQ(e.checksum2.value, whole.checksum2.value) << piece;
    }
    EXPECT_EQ(whole.up.value, "second");
    EXPECT_EQ(whole.checksum2.value, " 12");
}

TEST(ListFileReader, AHugeLineKeepsOnlyTheStartOfItsValue)
{
    ListFileReader reader;
    reader.feed("[SCALER]");
    const std::string megabyte(1 << 20, 'a');
    for (int i = 0; i < 100; ++i) reader.feed(megabyte);
    reader.feed("\r\n[uP]u\r\n");
    const auto e = reader.finish();
    EXPECT_TRUE(e.scaler.seen);
    EXPECT_TRUE(e.scaler.overlong);
    EXPECT_EQ(e.scaler.value.size(), ListFileReader::kMaxKeptValueLength);
    EXPECT_EQ(e.up.value, "u");
}

TEST(ListFileReader, TrailingSpacesDoNotMakeAValueOverlong)
{
    const auto e = parseListFile("[uP]name" + std::string(10000, ' ') + "\r\n");
    EXPECT_FALSE(e.up.overlong);
    EXPECT_EQ(e.up.value, "name");
}

TEST(ByteSum, EqualsTheSumOfEveryByteAtAnyAlignmentAndLength)
{
    std::mt19937 random(7);
    std::vector<unsigned char> data(5000);
    for (auto& b : data) b = static_cast<unsigned char>(random());
    for (std::size_t offset = 0; offset < 8; ++offset)
        for (std::size_t size : {0u, 1u, 7u, 8u, 9u, 2047u, 2048u, 2049u, 4000u}) {
            uint64_t expected = 0;
            for (std::size_t i = 0; i < size; ++i) expected += data[offset + i];
            EXPECT_EQ(byteSum(data.data() + offset, size), expected) << offset << " " << size;
        }
}

TEST(ByteSum, AllOnesNeverOverflowsALane)
{
    const std::vector<unsigned char> ones(4800000, 0xFF);
    EXPECT_EQ(byteSum(ones.data(), ones.size()), 4800000ull * 255);
}

TEST(ByteSum, ChecksumComparesTheLastFourDigits)
{
    EXPECT_TRUE(checksumMatches(0x10ABC, "0ABC"));
    EXPECT_TRUE(checksumMatches(0x10ABC, "0abc"));
    EXPECT_FALSE(checksumMatches(0x10ABC, "ABC"));
    EXPECT_FALSE(checksumMatches(0x10ABC, "10ABC"));
    EXPECT_TRUE(checksumMatches(0x1000, "1000"));
    EXPECT_FALSE(checksumMatches(0xFFF, "0FFF"));
}

TEST(PackageFiles, ImageThatChangedSizeSinceItWasMeasuredIsRefused)
{
    sim::TempFolder folder;
    const std::string image = folder.file("up.bin");
    test::writeImage(image, 2000, 0x1234);
    EXPECT_EQ(byteSumOfFile(image, 2000), 0x1234u);
    EXPECT_THROW(byteSumOfFile(image, 1999), PackageFileError);  // grew
    EXPECT_THROW(byteSumOfFile(image, 2001), PackageFileError);  // shrank
}
