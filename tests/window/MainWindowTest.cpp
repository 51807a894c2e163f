// The main window's own handlers: start-up, close and the elapsed-time clock.
#include <gtest/gtest.h>

#include <filesystem>

#include "PackageMaker.h"
#include "SimRig.h"
#include "ground/Texts.h"
#include "window/MainWindow.h"

using namespace fw;
using namespace fw::sim;

TEST(Startup, FirstStartWithoutSettingsOpensTheInitialPortQuietly)
{
    SimRig rig;
    Form_Load(rig.tool);
    EXPECT_EQ(rig.view.caption(Caption::WindowTitle), "Firmware Upgrade Tool 1.1.4");
    EXPECT_TRUE(rig.port.portOpen());
    EXPECT_EQ(rig.port.commPort(), 1);
    EXPECT_TRUE(rig.view.enabled(Control::cmdOpenFile1));
    EXPECT_TRUE(rig.view.enabled(Control::cmdTest));
    EXPECT_FALSE(rig.view.enabled(Control::cmdUpgradeSW));
    EXPECT_TRUE(rig.view.messages().empty());
    EXPECT_TRUE(rig.port.wire().empty());  // no link test without a package
    EXPECT_TRUE(rig.tool.state.NoListFile);
    EXPECT_EQ(rig.view.portList, "1");
}

// A remembered package is checked, then the link and the model: the boxes,
// the three work buttons and what went out.
TEST(Startup, RememberedPackageIsCheckedThenTheLinkAndTheModel)
{
    struct Case {
        const char* name;
        ProjectorOptions projector;
        bool upImageGone;
        std::vector<std::string> messages;
        bool upgrade, openFile, test;
        std::string sent;
    } cases[] = {
        {"matching projector", {}, false, {}, true, true, true, "ky nop\rop model.name ?\r"},
        {"silent projector", {.silent = true}, false, {texts::LinkFailed}, false, false, false,
         "ky nop\rky nop\rky nop\rky nop\rky nop\rky nop\r"},  // six sendings, no model asked
        {"image gone", {}, true,
         {"File not found. Please find the (.bin) binary file(s) listed in the selected text file."}, false, true,
         true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimRig rig(c.projector);
        const auto pkg = fw::testing::makePackage(rig.workFolder.str());
        if (c.upImageGone) std::filesystem::remove(pkg.upImage);
        fw::testing::writeFile(rig.tool.settingsPath(), "[PATH]\r\nFILE=" + pkg.listFile + "\r\n");
        Form_Load(rig.tool);

        EXPECT_EQ(rig.view.messageTexts(), c.messages);
        EXPECT_EQ(rig.view.enabled(Control::cmdUpgradeSW), c.upgrade);
        EXPECT_EQ(rig.view.enabled(Control::cmdOpenFile1), c.openFile);
        EXPECT_EQ(rig.view.enabled(Control::cmdTest), c.test);
        EXPECT_EQ(rig.port.bytesSent(), c.sent);
        EXPECT_EQ(rig.view.caption(Caption::txtTxtSourceFilePath), pkg.listFile);
        EXPECT_FALSE(rig.tool.state.NoListFile);
    }
}

// The stored port number as start-up reads it: the port it opens, how the
// dialog's list shows it, and the one message when it cannot be opened (then
// Upgrade SW, Open File and the test button are all off).
TEST(StartupPort, StoredValuesAndWhatTheyOpen)
{
    struct Case {
        std::string stored;
        std::string listShows;
        int16_t port;
        std::string message;  // empty: the port opens
    } cases[] = {
        {"COM=07", "7", 7, ""},  // the file keeps its 07
        {"COM=COM5", "0", 0, "COM0 is invalid. Please select an available RS232 port."},
        {"COM=", "1", 1, ""},
        {"COM=1.6", "1.6", 2, ""},  // a point, whatever the technician's locale
        {"COM= 2.5", "2.5", 2, ""},  // halves to the even neighbour
        {"COM=1,6", "1", 1, ""},     // a comma ends the number
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        SimRig rig;
        rig.port.setAvailability(2, PortAvailability::Projector);
        rig.port.setAvailability(7, PortAvailability::Projector);
        const std::string settings = "[RS232Set]\r\n" + c.stored + "\r\n";
        fw::testing::writeFile(rig.tool.settingsPath(), settings);
        Form_Load(rig.tool);

        EXPECT_EQ(rig.view.portList, c.listShows);
        EXPECT_EQ(rig.port.portOpen(), c.message.empty());
        if (c.message.empty()) {
            EXPECT_TRUE(rig.view.messages().empty());
            EXPECT_EQ(rig.port.commPort(), c.port);
        } else {
            EXPECT_EQ(rig.view.messageTexts(), std::vector<std::string>{c.message});
            EXPECT_EQ(rig.view.messages()[0].style, MessageStyle::Critical);
            EXPECT_EQ(rig.tool.state.statusLine, c.message);
            for (Control off : {Control::cmdUpgradeSW, Control::cmdOpenFile1, Control::cmdTest})
                EXPECT_FALSE(rig.view.enabled(off));
        }
        EXPECT_EQ(fw::testing::readFile(rig.tool.settingsPath()), settings);
    }
}

// The Exit item's question and a close while idle are pinned through the
// real window (tests/qt/FlowTest.cpp).
TEST(WindowClose, ClosesThePortAndRestoresThePointerAndASecondCloseDoesNoMore)
{
    SimRig rig;
    rig.port.setPortOpen(true);
    for (int close = 1; close <= 2; ++close) {
        SCOPED_TRACE(close);
        rig.view.setBusyPointer(true);
        Form_Unload(rig.tool);
        EXPECT_FALSE(rig.port.portOpen());
        EXPECT_FALSE(rig.view.busyPointer());
        EXPECT_EQ(rig.port.opens(), 1u);
        EXPECT_TRUE(rig.view.messages().empty());
    }
}

// Every tick counts a second and shows minutes and seconds, at least two
// digits each.
TEST(ElapsedTime, EveryTickCountsAndRewritesTheLabel)
{
    for (const auto& [before, shown] : std::vector<std::pair<int32_t, std::string>>{
             {-1, "00:00"}, {64, "01:05"}, {3598, "59:59"}, {5999, "100:00"}}) {
        SimRig rig;
        rig.tool.state.ElapsedSeconds = before;
        Timer1_Timer(rig.tool);
        EXPECT_EQ(rig.tool.state.ElapsedSeconds, before + 1);
        EXPECT_EQ(rig.view.caption(Caption::Form3Label2), shown);
    }
}
