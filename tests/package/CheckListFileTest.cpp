#include <gtest/gtest.h>

#include "PackageFixture.h"
#include "TestPlatform.h"
#include "package/CheckListFile.h"

using namespace fw;
using namespace fw::test;

namespace {

struct CheckListFileTest : ::testing::Test, PackageFixture {
    void check(const std::string& listPath) { CheckListFile(rig.tool, listPath); }
    // Fails with exactly this one message in a critical box, Upgrade SW off.
    void expectRefusedWith(const std::string& message)
    {
        EXPECT_FALSE(rig.tool.state.ListFileValid);
        EXPECT_FALSE(upgradeEnabled());
        ASSERT_EQ(messages(), std::vector<std::string>{message});
        EXPECT_EQ(rig.view.messages()[0].style, MessageStyle::Critical);
        EXPECT_EQ(rig.tool.state.statusLine, message);
    }
    void expectRefusedSilently()
    {
        EXPECT_FALSE(rig.tool.state.ListFileValid);
        EXPECT_FALSE(upgradeEnabled());
        EXPECT_TRUE(messages().empty());
    }
};

} // namespace

TEST_F(CheckListFileTest, ValidPackageFillsThePackageAndLeavesUpgradeAsItWas)
{
    rig.view.setEnabled(Control::cmdUpgradeSW, false);
    check(validPackage());
    EXPECT_TRUE(rig.tool.state.ListFileValid);
    EXPECT_FALSE(upgradeEnabled());  // only the model check enables it
    EXPECT_TRUE(messages().empty());
    const FirmwarePackage& p = rig.tool.state.package;
    EXPECT_EQ(p.UpImagePath, upName);  // as written, not resolved
    EXPECT_EQ(p.UpImageSize, 262144.0);
    EXPECT_EQ(p.ScalerImagePath, scalerName);
    EXPECT_EQ(p.ScalerImageSize, 2500000.0);
    EXPECT_EQ(rig.view.caption(Caption::lblSize), "262144");
    EXPECT_EQ(rig.tool.state.lblSize, "262144");
}

TEST_F(CheckListFileTest, RelativeNamesResolveAgainstTheStartFolderAbsoluteOnesStandAlone)
{
    writeImages();
    // Decoys beside the list file that would fail the checksum.
    writeImage(rig.programFolder.file(upName), kUpSize, 0x4321);
    writeImage(rig.programFolder.file(scalerName), kScalerSize, 0x4321);
    check(list(validListText()));
    EXPECT_TRUE(rig.tool.state.ListFileValid);
    EXPECT_TRUE(messages().empty());

    const std::string absoluteUp = work(upName);
    check(list("[uP]" + absoluteUp + "\r\n[SCALER]" + scalerName + "\r\n[CHECKSUM1]1234\r\n[CHECKSUM2]BEEF\r\n"));
    EXPECT_TRUE(rig.tool.state.ListFileValid);
    EXPECT_EQ(rig.tool.state.package.UpImagePath, absoluteUp);
}

TEST_F(CheckListFileTest, LineEndsAreCrLfOrLoneCrAndABareLfIsText)
{
    writeImages();
    check(list("[uP]" + upName + "\r[SCALER]" + scalerName + "\r[CHECKSUM1]1234\r[CHECKSUM2]BEEF"));
    EXPECT_TRUE(rig.tool.state.ListFileValid);

    // One long line: the "[uP]" value runs to the end, "[SCALER]" is never seen.
    check(list("[uP]" + upName + "\n[SCALER]" + scalerName + "\n[CHECKSUM1]1234\n[CHECKSUM2]BEEF\n"));
    expectRefusedWith(kNotValid);
}

TEST_F(CheckListFileTest, TagsAreCaseSensitivePrefixesOfTheSpaceStrippedLine)
{
    writeImages();
    check(list("; package\r\n   [uP]" + upName + "   \r\n\t[SCALER]nothing\r\n[SCALER]" + scalerName +
               "\r\n[CHECKSUM2]BEEF\r\n[CHECKSUM1]1234\r\n"));
    EXPECT_TRUE(rig.tool.state.ListFileValid);

    check(list("[up]" + upName + "\r\n[Scaler]" + scalerName + "\r\n[CHECKSUM1]1234\r\n[CHECKSUM2]BEEF\r\n"));
    expectRefusedWith(kNotValid);
}

TEST_F(CheckListFileTest, SpaceAfterTheTagBelongsToTheName)
{
    writeImages();
    check(list("[uP] " + upName + "\r\n[SCALER]" + scalerName + "\r\n[CHECKSUM1]1234\r\n[CHECKSUM2]BEEF\r\n"));
    expectRefusedWith("File not found" + kFindTheImages);
    EXPECT_EQ(rig.tool.state.package.UpImagePath, "");  // never got as far as the size test
}

TEST_F(CheckListFileTest, ChecksumIsTheLastFourHexDigitsIgnoringCase)
{
    writeImage(work(upName), kUpSize, 0x10ABC);
    writeImage(work(scalerName), kScalerSize, 0xBEEF);
    const auto withChecksum1 = [&](const std::string& value) {
        return list("[uP]" + upName + "\r\n[SCALER]" + scalerName + "\r\n[CHECKSUM1]" + value +
                    "\r\n[CHECKSUM2]beef  \r\n");
    };
    for (const std::string good : {"0ABC", "0abc"}) {
        check(withChecksum1(good));
        EXPECT_TRUE(rig.tool.state.ListFileValid) << good;
    }
    for (const std::string bad : {"ABC", " 0ABC"}) {
        SCOPED_TRACE(bad);
        PackageFixture other;
        writeImage(other.work(upName), kUpSize, 0x10ABC);
        CheckListFile(other.rig.tool,
                      other.list("[uP]" + upName + "\r\n[SCALER]x\r\n[CHECKSUM1]" + bad + "\r\n"));
        EXPECT_FALSE(other.rig.tool.state.ListFileValid);
        EXPECT_EQ(other.messages(), std::vector<std::string>{kNotValid});
    }
}

TEST_F(CheckListFileTest, UpImageMustBeExactly262144Bytes)
{
    for (uint64_t size : {262143u, 262145u}) {
        PackageFixture p;
        p.writeImages(size);
        CheckListFile(p.rig.tool, p.list(p.validListText()));
        EXPECT_EQ(p.messages(), std::vector<std::string>{kUpSizeIncorrect}) << size;
        EXPECT_FALSE(p.rig.tool.state.ListFileValid);
        EXPECT_EQ(p.rig.tool.state.package.UpImagePath, "");
        EXPECT_EQ(p.rig.view.caption(Caption::lblSize), "");
    }
}

TEST_F(CheckListFileTest, ScalerImageSizeBoundsAreInclusive)
{
    for (uint64_t size : {2500000u, 4800000u}) {
        PackageFixture p;
        p.writeImages(kUpSize, size);
        CheckListFile(p.rig.tool, p.list(p.validListText()));
        EXPECT_TRUE(p.rig.tool.state.ListFileValid) << size;
        EXPECT_EQ(p.rig.tool.state.package.ScalerImageSize, static_cast<double>(size));
    }
    for (uint64_t size : {2499999u, 4800001u}) {
        PackageFixture p;
        p.writeImages(kUpSize, size);
        CheckListFile(p.rig.tool, p.list(p.validListText()));
        EXPECT_EQ(p.messages(), std::vector<std::string>{kScalerSizeIncorrect}) << size;
        EXPECT_FALSE(p.rig.tool.state.ListFileValid);
        EXPECT_EQ(p.rig.tool.state.package.UpImagePath, upName);  // the uP half had passed
        EXPECT_EQ(p.rig.tool.state.package.ScalerImagePath, "");
    }
}

TEST_F(CheckListFileTest, LastOccurrenceOfATagWins)
{
    writeImages();
    check(list("[SCALER]first.bin\r\n[uP]" + upName + "\r\n[SCALER]" + scalerName +
               "\r\n[CHECKSUM1]1234\r\n[CHECKSUM2]0000\r\n[CHECKSUM2]BEEF\r\n"));
    EXPECT_TRUE(rig.tool.state.ListFileValid);
    EXPECT_EQ(rig.tool.state.package.ScalerImagePath, scalerName);
}

TEST_F(CheckListFileTest, FieldsAreWrittenBeforeTheChecksumTests)
{
    check(validPackage());
    writeImage(work("other_up.bin"), kUpSize, 0x1111);
    check(list("[uP]other_up.bin\r\n[SCALER]gone.bin\r\n[CHECKSUM1]1234\r\n"));
    expectRefusedWith(kNotValid);
    EXPECT_EQ(rig.tool.state.package.UpImagePath, "other_up.bin");
    EXPECT_EQ(rig.tool.state.package.ScalerImagePath, scalerName);  // from the check before
    EXPECT_EQ(rig.view.caption(Caption::lblSize), "262144");
}

TEST_F(CheckListFileTest, MissingChecksumTagsAreNotValid)
{
    writeImages();
    check(list("[uP]" + upName + "\r\n[SCALER]" + scalerName + "\r\n[CHECKSUM2]BEEF\r\n"));
    expectRefusedWith(kNotValid);
    EXPECT_EQ(rig.tool.state.package.UpImagePath, upName);

    PackageFixture p;
    p.writeImages();
    CheckListFile(p.rig.tool, p.list("[uP]" + upName + "\r\n[SCALER]" + scalerName + "\r\n[CHECKSUM1]1234\r\n"));
    EXPECT_EQ(p.messages(), std::vector<std::string>{kNotValid});
    EXPECT_EQ(p.rig.tool.state.package.ScalerImagePath, scalerName);
}

TEST_F(CheckListFileTest, MissingImageOrFolderIsNamedAndShownBeforeUpgradeIsDisabled)
{
    writeImage(work(scalerName), kScalerSize, 0xBEEF);
    bool upgradeWhileShown = false;
    rig.view.whileMessageShown = [&](const sim::MessageBoxShown&) { upgradeWhileShown = upgradeEnabled(); };
    check(list(validListText()));
    expectRefusedWith("File not found" + kFindTheImages);
    EXPECT_TRUE(upgradeWhileShown);

    PackageFixture p;
    p.writeImages();
    CheckListFile(p.rig.tool, p.list("[uP]" + upName + "\r\n[CHECKSUM1]1234\r\n[SCALER]no/such/folder/s.bin\r\n"));
    EXPECT_EQ(p.messages(), std::vector<std::string>{"Path not found" + kFindTheImages});
    EXPECT_FALSE(p.rig.tool.state.ListFileValid);
}

TEST_F(CheckListFileTest, ContentFailureDisablesUpgradeBeforeTheMessage)
{
    writeImages(262143);
    bool upgradeWhileShown = true;
    rig.view.whileMessageShown = [&](const sim::MessageBoxShown&) { upgradeWhileShown = upgradeEnabled(); };
    check(list(validListText()));
    EXPECT_FALSE(upgradeWhileShown);
}

TEST_F(CheckListFileTest, MissingListFileIsNotFound)
{
    check(rig.programFolder.file("gone.txt"));
    expectRefusedWith("File not found" + kFindTheImages);
}

TEST_F(CheckListFileTest, SumBelow0x1000IsRefusedWithoutAMessage)
{
    writeImage(work(upName), kUpSize, 0xFFF);
    check(list("[uP]" + upName + "\r\n[SCALER]" + scalerName + "\r\n[CHECKSUM1]0FFF\r\n"));
    expectRefusedSilently();
}

TEST_F(CheckListFileTest, FoldersPipesAndAnEmptyPathAreRefusedWithoutAMessage)
{
    writeImages();
    std::filesystem::create_directory(work("up_folder.bin"));
    check(list("[uP]up_folder.bin\r\n[SCALER]" + scalerName + "\r\n"));
    expectRefusedSilently();

    check(rig.workFolder.str());  // a folder as the list file
    expectRefusedSilently();

    if (hasFifos()) {
        const std::string fifo = rig.programFolder.file("pipe.txt");
        ASSERT_TRUE(makeFifo(fifo));
        check(fifo);  // opening it would wait for a writer forever
        expectRefusedSilently();
    }

    check("");  // the test button with no list file chosen
    expectRefusedSilently();
}

TEST_F(CheckListFileTest, UnreadableImageIsRefusedWithoutAMessage)
{
    if (!filesCanBeMadeUnreadable()) GTEST_SKIP() << "this process reads every file";
    writeImages();
    std::filesystem::permissions(work(upName), std::filesystem::perms::none);
    check(list(validListText()));
    expectRefusedSilently();
}

TEST_F(CheckListFileTest, BinaryListFileIsNotValid)
{
    std::string noise;
    for (int i = 0; i < 70000; ++i) noise += static_cast<char>((i * 7919 + 13) % 256);
    check(list(noise));
    expectRefusedWith(kNotValid);
}

TEST_F(CheckListFileTest, HundredMegabyteLineEndsAsANameThatIsNotFound)
{
    writeImages();
    const std::string path = list("[uP]");
    std::filesystem::resize_file(path, 100'000'000);  // a line of zero bytes
    {
        std::ofstream out(path, std::ios::binary | std::ios::app);
        out << "\r\n[SCALER]" << scalerName << "\r\n";
    }
    check(path);
    expectRefusedWith("File not found" + kFindTheImages);
}

TEST_F(CheckListFileTest, NamesWithSpacesQuotesSemicolonsAndEightBitBytesAreUsedAsWritten)
{
    // Windows refuses quotes in file names.
    upName = namesMayHoldAnyByte() ? "fw 2416; \"new\" 'r\xE9v'.bin" : "fw 2416; new 'r\xE9v'.bin";
    scalerName = "sub dir/sc\xE4ler;1.bin";
    std::filesystem::create_directory(work("sub dir"));
    check(validPackage());
    EXPECT_TRUE(rig.tool.state.ListFileValid);
    EXPECT_EQ(rig.tool.state.package.UpImagePath, upName);
    EXPECT_EQ(rig.tool.state.package.ScalerImagePath, scalerName);
}
