#include <gtest/gtest.h>

#include "package/ListFileReader.h"
#include "package/PackageFiles.h"
#include "PackageMaker.h"
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
    fw::testing::writeImage(image, 2000, 0x1234);
    EXPECT_EQ(byteSumOfFile(image, 2000), 0x1234u);
    EXPECT_THROW(byteSumOfFile(image, 1999), PackageFileError);  // grew
    EXPECT_THROW(byteSumOfFile(image, 2001), PackageFileError);  // shrank
}
