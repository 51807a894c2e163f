#include <gtest/gtest.h>

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

TEST(PackageFiles, ImageThatChangedSizeSinceItWasMeasuredIsRefused)
{
    sim::TempFolder folder;
    const std::string image = folder.file("up.bin");
    test::writeImage(image, 2000, 0x1234);
    EXPECT_EQ(byteSumOfFile(image, 2000), 0x1234u);
    EXPECT_THROW(byteSumOfFile(image, 1999), PackageFileError);  // grew
    EXPECT_THROW(byteSumOfFile(image, 2001), PackageFileError);  // shrank
}
