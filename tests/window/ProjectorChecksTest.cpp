// The checks the window runs before an upgrade, as it shows them: the test
// button, the model check and the package check.
#include <gtest/gtest.h>

#include <functional>

#include "PackageMaker.h"
#include "SimRig.h"
#include "ground/Texts.h"
#include "window/ProjectorChecks.h"

using namespace fw;
using namespace fw::sim;
using namespace fw::testing;
// The button's endings: the boxes in order (the last one's style), the
// three work buttons afterwards, and what went out.
TEST(CommunicationTestButton, EndingsAndTheButtonsTheyLeave)
{
    struct Case {
        const char* name;
        ProjectorOptions projector;
        bool validPackage;
        int16_t port;
        std::vector<std::string> messages;
        MessageStyle lastStyle;
        bool upgrade, openFile, test;
        std::string sent;  // empty: not looked at
    } cases[] = {
        {"no package", {}, false, 1, {texts::TestOk}, MessageStyle::Information, false, true, true, "ky nop\r"},
        {"matching package", {}, true, 1, {texts::TestOk}, MessageStyle::Information, true, true, true,
         "ky nop\rop model.name ?\r"},
        {"other model", {.modelName = "QT1952"}, true, 1, {texts::ModelMismatch, texts::TestOk}, MessageStyle::Information, false,
         true, true, ""},
        {"silent projector", {.silent = true}, false, 1, {texts::LinkFailed}, MessageStyle::Critical, false, false,
         false, ""},
        {"lower-case nop", {.lowerCaseAnswers = true}, false, 1, {"Test failed!"}, MessageStyle::Critical, false, false,
         false, ""},
        {"invalid port", {}, false, 9, {"COM9 is invalid. Please select an available RS232 port."},
         MessageStyle::Critical, false, false, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimRig rig(c.projector);
        if (c.validPackage) rig.tool.state.listFilePath = makePackage(rig.workFolder.str()).listFile;
        rig.port.setCommPort(c.port);
        rig.view.portList = std::to_string(c.port);
        cmdTest_Click(rig.tool);

        ASSERT_EQ(rig.view.messageTexts(), c.messages);
        EXPECT_EQ(rig.view.messages().back().style, c.lastStyle);
        EXPECT_EQ(rig.view.enabled(Control::cmdUpgradeSW), c.upgrade);
        EXPECT_EQ(rig.view.enabled(Control::cmdOpenFile1), c.openFile);
        EXPECT_EQ(rig.view.enabled(Control::cmdTest), c.test);
        if (!c.sent.empty()) {
            EXPECT_EQ(rig.port.bytesSent(), c.sent);
        }
    }
}

// Each answer of the model check as the window shows it: the verdict, the
// one message if any, and Upgrade SW and Open File afterwards (each set the
// other way before the check, so that the check must set it; without a list
// file Upgrade SW is off before and must stay off).
TEST(CheckModel, EachAnswerItsMessageAndTheButtonsItLeaves)
{
    struct Case {
        const char* name;
        ProjectorOptions projector;
        bool noListFile;
        bool passes;
        std::string message;
        bool upgrade, openFile;
    } cases[] = {
        {"matching model", {.modelName = "QT2416"}, false, true, "", true, true},
        {"other model", {.modelName = "QT1952"}, false, false, texts::ModelMismatch, false, true},
        {"silent projector", {.silent = true}, false, false, texts::LinkFailed, false, false},
        {"no list file", {.modelName = "QT2416"}, true, false, "", false, true},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.name);
        SimRig rig(t.projector);
        rig.tool.state.NoListFile = t.noListFile;
        rig.tool.state.package.UpImagePath = t.noListFile ? "" : "/fw/QT2416/up.bin";
        rig.tool.state.ListFileValid = true;
        rig.view.setEnabled(Control::cmdUpgradeSW, !t.upgrade && !t.noListFile);  // left as it was without a list
        rig.view.setEnabled(Control::cmdOpenFile1, !t.openFile);
        EXPECT_EQ(modelAllowsUpgrade(rig.tool), t.passes);
        EXPECT_EQ(rig.view.messageTexts(),
                  t.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{t.message});
        if (!t.message.empty()) {
            EXPECT_EQ(rig.view.messages()[0].style, MessageStyle::Critical);
        }
        EXPECT_EQ(rig.view.enabled(Control::cmdUpgradeSW), t.upgrade);
        EXPECT_EQ(rig.view.enabled(Control::cmdOpenFile1), t.openFile);
    }
}

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
        p.rig.view.whileMessageShown = [&](const MessageBoxShown&) { offWhileShown = !p.upgradeEnabled(); };
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
