#include <gtest/gtest.h>

#include "PackageMaker.h"
#include "ground/Texts.h"
#include "window/ProjectorChecks.h"

using namespace fw;
using namespace fw::testing;

// What the window shows of each verdict: ListFileValid, the one message
// (critical), and whether Upgrade SW was already off while the box showed: a
// wrong package turns it off first, a missing file is named first.
TEST(PackageCheckShown, EachVerdictItsMessageAndTheOrderOfUpgradeSwOff)
{
    const std::string notFound = std::string(texts::FileNotFound) + texts::FindTheImages;
    struct Case {
        const char* name;
        std::function<std::string(PackageFixture&)> listFile;
        std::string message;
        bool upgradeOffWhileShown;
    } cases[] = {
        {"valid", [](PackageFixture& p) { return p.validPackage(); }, "", false},
        {"not valid", [](PackageFixture& p) { p.writeImages(); return p.list("[uP]x\r\n"); }, texts::ListFileNotValid, true},
        {"uP size", [](PackageFixture& p) { p.writeImages(262143); return p.list(p.validListText()); },
         texts::UpSizeIncorrect, true},
        {"scaler size", [](PackageFixture& p) { p.writeImages(262144, 2499999); return p.list(p.validListText()); },
         texts::ScalerSizeIncorrect, true},
        {"list file gone", [](PackageFixture& p) { return p.rig.programFolder.file("gone.txt"); }, notFound, false},
        {"folder gone", [](PackageFixture& p) { p.writeImages(); return p.list(listText(p.upName, "no/s.bin", "1234", "BEEF")); },
         std::string(texts::PathNotFound) + texts::FindTheImages, false},
        {"unusable: a folder", [](PackageFixture& p) { return p.rig.workFolder.str(); }, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PackageFixture p;
        const std::string listFile = c.listFile(p);
        bool offWhileShown = false;
        p.rig.view.whileMessageShown = [&](const sim::MessageBoxShown&) { offWhileShown = !p.upgradeEnabled(); };
        checkPackage(p.rig.tool, listFile);

        const bool valid = std::string(c.name) == "valid";
        EXPECT_EQ(p.rig.tool.state.ListFileValid, valid);
        EXPECT_EQ(p.upgradeEnabled(), valid);  // a refusal turns it off; a valid package leaves it as it was
        EXPECT_EQ(p.messages(), c.message.empty() ? std::vector<std::string>{} : std::vector{c.message});
        if (!c.message.empty()) {
            EXPECT_EQ(p.rig.view.messages()[0].style, MessageStyle::Critical);
            EXPECT_EQ(p.rig.tool.state.statusLine, c.message);
            EXPECT_EQ(offWhileShown, c.upgradeOffWhileShown);
        }
    }
}

// The package and the size caption as far as the check got, kept from the
// check before where it did not get that far.
TEST(PackageCheckShown, PackageAndSizeAreKeptAsFarAsTheCheckGot)
{
    PackageFixture p;
    checkPackage(p.rig.tool, p.validPackage());
    EXPECT_EQ(p.rig.view.caption(Caption::lblSize), "262144");
    EXPECT_EQ(p.rig.tool.state.package.UpImageSize, 262144u);
    EXPECT_EQ(p.rig.tool.state.package.ScalerImageSize, 2500000u);

    writeImage(p.work("other_up.bin"), kUpImageSize, 0x1111);
    checkPackage(p.rig.tool, p.list("[uP]other_up.bin\r\n[SCALER]gone.bin\r\n[CHECKSUM1]1234\r\n"));
    EXPECT_FALSE(p.rig.tool.state.ListFileValid);
    EXPECT_EQ(p.rig.tool.state.package.UpImagePath, "other_up.bin");
    EXPECT_EQ(p.rig.tool.state.package.ScalerImagePath, p.scalerName);  // from the check before
}
