#include <gtest/gtest.h>

#include "PackageMaker.h"
#include "TestPlatform.h"
#include "window/ProjectorChecks.h"

using namespace fw;
using namespace fw::testing;
using namespace fw::test;

namespace {

struct CheckListFileTest : ::testing::Test, PackageFixture {
    void check(const std::string& listPath) { checkPackage(rig.tool, listPath); }
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
    writeImage(rig.programFolder.file(upName), kUpImageSize, 0x4321);
    writeImage(rig.programFolder.file(scalerName), kSmallestScalerSize, 0x4321);
    check(list(validListText()));
    EXPECT_TRUE(rig.tool.state.ListFileValid);
    EXPECT_TRUE(messages().empty());

    const std::string absoluteUp = work(upName);
    check(list("[uP]" + absoluteUp + "\r\n[SCALER]" + scalerName + "\r\n[CHECKSUM1]1234\r\n[CHECKSUM2]BEEF\r\n"));
    EXPECT_TRUE(rig.tool.state.ListFileValid);
    EXPECT_EQ(rig.tool.state.package.UpImagePath, absoluteUp);
}

// List-file texts beside the two good images, and what the check makes of
// each: "" for a valid package, otherwise the one message shown.
TEST_F(CheckListFileTest, ListTextsAndTheirVerdicts)
{
    struct Case {
        const char* name;
        std::string text;
        std::string message;
    };
    const std::string up = upName, scaler = scalerName;
    const Case cases[] = {
        {"lone CR ends a line", "[uP]" + up + "\r[SCALER]" + scaler + "\r[CHECKSUM1]1234\r[CHECKSUM2]BEEF", ""},
        // One long line: the "[uP]" value runs to the end, "[SCALER]" is never seen.
        {"bare LF is text", "[uP]" + up + "\n[SCALER]" + scaler + "\n[CHECKSUM1]1234\n[CHECKSUM2]BEEF\n", kNotValid},
        {"tags are prefixes of the stripped line",
         "; package\r\n   [uP]" + up + "   \r\n\t[SCALER]nothing\r\n[SCALER]" + scaler +
             "\r\n[CHECKSUM2]BEEF\r\n[CHECKSUM1]1234\r\n",
         ""},
        {"tags are case-sensitive", "[up]" + up + "\r\n[Scaler]" + scaler + "\r\n[CHECKSUM1]1234\r\n[CHECKSUM2]BEEF\r\n",
         kNotValid},
        {"a space after the tag belongs to the name", listText(" " + up, scaler, "1234", "BEEF"),
         "File not found" + kFindTheImages},
        {"the last occurrence of a tag wins",
         "[SCALER]first.bin\r\n" + listText(up, scaler, "1234", "0000") + "[CHECKSUM2]BEEF\r\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PackageFixture p;
        p.writeImages();
        checkPackage(p.rig.tool, p.list(c.text));
        EXPECT_EQ(p.rig.tool.state.ListFileValid, c.message.empty());
        EXPECT_EQ(p.messages(), c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
    }
}

TEST_F(CheckListFileTest, ChecksumIsTheLastFourHexDigitsIgnoringCase)
{
    writeImage(work(upName), kUpImageSize, 0x10ABC);
    writeImage(work(scalerName), kSmallestScalerSize, 0xBEEF);
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
        writeImage(other.work(upName), kUpImageSize, 0x10ABC);
        checkPackage(other.rig.tool,
                      other.list("[uP]" + upName + "\r\n[SCALER]x\r\n[CHECKSUM1]" + bad + "\r\n"));
        EXPECT_FALSE(other.rig.tool.state.ListFileValid);
        EXPECT_EQ(other.messages(), std::vector<std::string>{kNotValid});
    }
}

// The uP image must hold exactly 262144 bytes, the scaler image 2500000 to
// 4800000; a scaler of the wrong size fails after the uP half has passed.
TEST(CheckListFileSizes, ImageSizesAndTheirVerdicts)
{
    struct Case {
        uint64_t upSize, scalerSize;
        std::string message;
    } cases[] = {
        {262143, 2500000, kUpSizeIncorrect}, {262145, 2500000, kUpSizeIncorrect},
        {262144, 2500000, ""},               {262144, 4800000, ""},
        {262144, 2499999, kScalerSizeIncorrect}, {262144, 4800001, kScalerSizeIncorrect},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.upSize) + " " + std::to_string(c.scalerSize));
        PackageFixture p;
        p.writeImages(c.upSize, c.scalerSize);
        checkPackage(p.rig.tool, p.list(p.validListText()));
        EXPECT_EQ(p.rig.tool.state.ListFileValid, c.message.empty());
        EXPECT_EQ(p.messages(), c.message.empty() ? std::vector<std::string>{} : std::vector{c.message});
        const bool upPassed = c.message != kUpSizeIncorrect;
        EXPECT_EQ(p.rig.tool.state.package.UpImagePath, upPassed ? p.upName : "");
        EXPECT_EQ(p.rig.view.caption(Caption::lblSize), upPassed ? "262144" : "");
        EXPECT_EQ(p.rig.tool.state.package.ScalerImagePath, c.message.empty() ? p.scalerName : "");
    }
}

TEST_F(CheckListFileTest, FieldsAreWrittenBeforeTheChecksumTests)
{
    check(validPackage());
    writeImage(work("other_up.bin"), kUpImageSize, 0x1111);
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
    checkPackage(p.rig.tool, p.list("[uP]" + upName + "\r\n[SCALER]" + scalerName + "\r\n[CHECKSUM1]1234\r\n"));
    EXPECT_EQ(p.messages(), std::vector<std::string>{kNotValid});
    EXPECT_EQ(p.rig.tool.state.package.ScalerImagePath, scalerName);
}

TEST_F(CheckListFileTest, MissingImageOrFolderIsNamedAndShownBeforeUpgradeIsDisabled)
{
    writeImage(work(scalerName), kSmallestScalerSize, 0xBEEF);
    bool upgradeWhileShown = false;
    rig.view.whileMessageShown = [&](const sim::MessageBoxShown&) { upgradeWhileShown = upgradeEnabled(); };
    check(list(validListText()));
    expectRefusedWith("File not found" + kFindTheImages);
    EXPECT_TRUE(upgradeWhileShown);

    PackageFixture p;
    p.writeImages();
    checkPackage(p.rig.tool, p.list("[uP]" + upName + "\r\n[CHECKSUM1]1234\r\n[SCALER]no/such/folder/s.bin\r\n"));
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
    writeImage(work(upName), kUpImageSize, 0xFFF);
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
    if (!filesCanBeMadeUnreadable()) GTEST_SKIP() << "files cannot be made unreadable here";
    writeImages();
    std::filesystem::permissions(work(upName), std::filesystem::perms::none);
    const ReadPermissionEnforced asAnyUser;  // root would read the file regardless
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
