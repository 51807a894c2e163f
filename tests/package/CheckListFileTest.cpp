#include <gtest/gtest.h>

#include "PackageMaker.h"
#include "TestPlatform.h"
#include "package/CheckListFile.h"
#include "package/PackageFiles.h"

using namespace fw;
using namespace fw::testing;

namespace {

struct CheckListFileTest : ::testing::Test, PackageFixture {
    PackageCheck check(const std::string& listPath) { return CheckListFile(listPath, rig.tool.workingDirectory); }
};

using F = PackageFault;

} // namespace

// List-file texts beside the two good images (up.bin sum 0x1234, scaler.bin
// sum 0xBEEF) and the verdict on each.
TEST_F(CheckListFileTest, ListTextsAndTheirVerdicts)
{
    const std::string up = upName, scaler = scalerName;
    struct Case {
        const char* name;
        std::string text;
        PackageFault fault;
    } cases[] = {
        {"lone CR ends a line", "[uP]" + up + "\r[SCALER]" + scaler + "\r[CHECKSUM1]1234\r[CHECKSUM2]BEEF", F::None},
        // One long line: the "[uP]" value runs to the end, "[SCALER]" is never seen.
        {"bare LF is text", "[uP]" + up + "\n[SCALER]" + scaler + "\n[CHECKSUM1]1234\n[CHECKSUM2]BEEF\n", F::NotValid},
        // Only spaces are stripped: the tab-led line after the real one is no tag.
        {"tags are prefixes of the stripped line",
         "; package\r\n   [uP]" + up + "   \r\n[SCALER]" + scaler + "\r\n\t[SCALER]nothing" +
             "\r\n[CHECKSUM2]BEEF\r\n[CHECKSUM1]1234\r\n",
         F::None},
        {"thousands of spaces after a name", listText(up + std::string(10000, ' '), scaler, "1234", "BEEF"), F::None},
        {"tags are case-sensitive", "[up]" + up + "\r\n[Scaler]" + scaler + "\r\n[CHECKSUM1]1234\r\n[CHECKSUM2]BEEF\r\n",
         F::NotValid},
        {"a space after the tag belongs to the name", listText(" " + up, scaler, "1234", "BEEF"), F::FileNotFound},
        {"the last occurrence of a tag wins",
         "[SCALER]first.bin\r\n" + listText(up, scaler, "1234", "0000") + "[CHECKSUM2]BEEF\r\n", F::None},
        {"checksum in lower case, spaces after it", listText(up, scaler, "1234", "beef  "), F::None},
        {"checksum of three digits", listText(up, scaler, "234", "BEEF"), F::NotValid},
        {"checksum of five digits", listText(up, scaler, "01234", "BEEF"), F::NotValid},
        {"checksum with a space before it", listText(up, scaler, " 1234", "BEEF"), F::NotValid},
        {"wrong checksum", listText(up, scaler, "1235", "BEEF"), F::NotValid},
        {"no first checksum", "[uP]" + up + "\r\n[SCALER]" + scaler + "\r\n[CHECKSUM2]BEEF\r\n", F::NotValid},
        {"no second checksum", "[uP]" + up + "\r\n[SCALER]" + scaler + "\r\n[CHECKSUM1]1234\r\n", F::NotValid},
        {"missing image", listText("gone.bin", scaler, "1234", "BEEF"), F::FileNotFound},
        {"missing folder", listText(up, "no/such/folder/s.bin", "1234", "BEEF"), F::PathNotFound},
        {"image that is a folder", listText("sub", scaler, "1234", "BEEF"), F::Unusable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PackageFixture p;
        p.writeImages();
        std::filesystem::create_directory(p.work("sub"));
        EXPECT_EQ(CheckListFile(p.list(c.text), p.rig.tool.workingDirectory).fault, c.fault);
    }
}

// A technician's folder and file names are not ASCII, in the ANSI code page
// of Windows ("ä") or beyond it.
TEST_F(CheckListFileTest, NamesBeyondAsciiNameTheirFiles)
{
    const std::string folder = "Prüfung ä Пакет 日本";
    std::filesystem::create_directory(filePath(work(folder)));
    upName = folder + "/QT2416 ä.bin";
    scalerName = work(folder + "/scaler 日本.bin");
    writeImages();
    EXPECT_EQ(check(list(validListText(), "Пакет ä.txt")).fault, F::None);
}

// The uP image must hold exactly 262144 bytes, the scaler image 2500000 to
// 4800000; each image is given as soon as its size has passed, so a scaler
// of the wrong size fails after the uP half has passed.
TEST(CheckListFileSizes, ImageSizesAndTheirVerdicts)
{
    struct Case {
        uint64_t upSize, scalerSize;
        PackageFault fault;
    } cases[] = {
        {262143, 2500000, F::UpSizeIncorrect},     {262145, 2500000, F::UpSizeIncorrect},
        {262144, 2500000, F::None},                {262144, 4800000, F::None},
        {262144, 2499999, F::ScalerSizeIncorrect}, {262144, 4800001, F::ScalerSizeIncorrect},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.upSize) + " " + std::to_string(c.scalerSize));
        PackageFixture p;
        p.writeImages(c.upSize, c.scalerSize);
        const PackageCheck check = CheckListFile(p.list(p.validListText()), p.rig.tool.workingDirectory);
        EXPECT_EQ(check.fault, c.fault);
        EXPECT_EQ(check.up.has_value(), c.fault != F::UpSizeIncorrect);
        EXPECT_EQ(check.scaler.has_value(), c.fault == F::None);
    }
}

// An image is given once its size passed, before its checksum is compared.
TEST_F(CheckListFileTest, ImageIsGivenBeforeItsChecksumIsCompared)
{
    writeImages();
    const PackageCheck c = check(list(listText(upName, scalerName, "1234", "0000")));
    EXPECT_EQ(c.fault, F::NotValid);
    EXPECT_TRUE(c.up && c.scaler);
}

// Relative names resolve against the folder the program started in, never
// beside the list file; absolute ones stand alone.
TEST_F(CheckListFileTest, RelativeNamesResolveAgainstTheStartFolderAbsoluteOnesStandAlone)
{
    writeImages();
    writeImage(rig.programFolder.file(upName), kUpImageSize, 0x4321);  // a decoy beside the list file
    EXPECT_EQ(check(list(validListText())).fault, F::None);
    const PackageCheck c = check(list(listText(work(upName), scalerName, "1234", "BEEF")));
    EXPECT_EQ(c.fault, F::None);
    EXPECT_EQ(c.up->name, work(upName));
}

// Files that are not what they should be end the check without a word, and
// never hang it.
TEST_F(CheckListFileTest, ListFilesThatCannotBeUsedAndTheirVerdicts)
{
    writeImages();
    EXPECT_EQ(check(rig.programFolder.file("gone.txt")).fault, F::FileNotFound);
    EXPECT_EQ(check(rig.workFolder.str()).fault, F::Unusable);  // a folder as the list file
    EXPECT_EQ(check("").fault, F::Unusable);                   // the test button with no list file chosen
    if (hasFifos()) {
        const std::string fifo = rig.programFolder.file("pipe.txt");
        ASSERT_TRUE(makeFifo(fifo));
        EXPECT_EQ(check(fifo).fault, F::Unusable);  // opening it would wait for a writer forever
    }
    std::string noise;
    for (int i = 0; i < 70000; ++i) noise += static_cast<char>((i * 7919 + 13) % 256);
    EXPECT_EQ(check(list(noise)).fault, F::NotValid);

    const std::string huge = list("[uP]");
    std::filesystem::resize_file(huge, 100'000'000);  // a line of zero bytes
    std::ofstream(huge, std::ios::binary | std::ios::app) << "\r\n[SCALER]" << scalerName << "\r\n";
    EXPECT_EQ(check(huge).fault, F::FileNotFound);
}

TEST_F(CheckListFileTest, SumBelow0x1000CannotBeComparedAndIsRefused)
{
    writeImage(work(upName), kUpImageSize, 0xFFF);
    EXPECT_EQ(check(list("[uP]" + upName + "\r\n[SCALER]" + scalerName + "\r\n[CHECKSUM1]0FFF\r\n")).fault,
              F::Unusable);
}

TEST_F(CheckListFileTest, UnreadableImageIsRefused)
{
    if (!filesCanBeMadeUnreadable()) GTEST_SKIP() << "files cannot be made unreadable here";
    writeImages();
    std::filesystem::permissions(work(upName), std::filesystem::perms::none);
    const ReadPermissionEnforced asAnyUser;  // root would read the file regardless
    EXPECT_EQ(check(list(validListText())).fault, F::Unusable);
}

// A valid package gives both images with their sizes and their names as
// written, never resolved, whatever the names hold: any bytes where names
// are bytes, letters written in the ANSI code page on Windows.
TEST_F(CheckListFileTest, NamesWithSpacesQuotesSemicolonsAndEightBitBytesAreGivenAsWritten)
{
    // Windows refuses quotes in file names.
    upName = namesMayHoldAnyByte() ? "fw 2416; \"new\" 'r\xE9v'.bin" : "fw 2416; new 'rév'.bin";
    scalerName = namesMayHoldAnyByte() ? "sub dir/sc\xE4ler;1.bin" : "sub dir/scäler;1.bin";
    std::filesystem::create_directory(filePath(work("sub dir")));
    writeImages();
    const PackageCheck c = check(list(listText(toStoredText(upName), toStoredText(scalerName), "1234", "BEEF")));
    EXPECT_EQ(c.fault, F::None);
    ASSERT_TRUE(c.up && c.scaler);
    EXPECT_EQ(c.up->name, upName);
    EXPECT_EQ(c.up->size, kUpImageSize);
    EXPECT_EQ(c.scaler->name, scalerName);
    EXPECT_EQ(c.scaler->size, kSmallestScalerSize);
}

TEST(PackageFiles, ImageThatChangedSizeSinceItWasMeasuredIsRefused)
{
    sim::TempFolder folder;
    const std::string image = folder.file("up.bin");
    writeImage(image, 2000, 0x1234);
    EXPECT_EQ(byteSumOfFile(image, 2000), 0x1234u);
    EXPECT_THROW(byteSumOfFile(image, 1999), PackageFileError);  // grew
    EXPECT_THROW(byteSumOfFile(image, 2001), PackageFileError);  // shrank
}
