#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "PackageMaker.h"
#include "SimRig.h"
#include "shell/MainWindow.h"

using namespace fw;
using namespace fw::sim;

namespace {

struct Startup : ::testing::Test {
    std::unique_ptr<SimRig> rig = std::make_unique<SimRig>();

    void settings(const std::string& text) { fw::testing::writeFile(rig->tool.settingsPath(), text); }
    void remember(const std::string& listFile) { settings("[PATH]\r\nFILE=" + listFile + "\r\n"); }
    std::string settingsFile() const
    {
        std::ifstream in(rig->tool.settingsPath(), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    bool enabled(Control c) const { return rig->view.enabled(c); }
    bool threeOff() const
    {
        return !enabled(Control::cmdUpgradeSW) && !enabled(Control::cmdOpenFile1) && !enabled(Control::cmdTest);
    }
};

} // namespace

TEST_F(Startup, FirstStartWithoutSettingsOpensTheInitialPortQuietly)
{
    Form_Load(rig->tool);
    EXPECT_EQ(rig->view.caption(Caption::WindowTitle), "Firmware Upgrade Tool 1.1.4");
    EXPECT_TRUE(rig->port.portOpen());
    EXPECT_EQ(rig->port.commPort(), 1);
    EXPECT_TRUE(enabled(Control::cmdOpenFile1));
    EXPECT_TRUE(enabled(Control::cmdTest));
    EXPECT_FALSE(enabled(Control::cmdUpgradeSW));
    EXPECT_TRUE(rig->view.messages().empty());
    EXPECT_TRUE(rig->port.wire().empty());  // no link test without a package
    EXPECT_TRUE(rig->tool.state.NoListFile);
    EXPECT_EQ(rig->view.portList, "1");
}

TEST_F(Startup, RememberedValidPackageAndMatchingProjectorLeaveEverythingEnabled)
{
    remember(fw::testing::makePackage(rig->workFolder.str()).listFile);
    Form_Load(rig->tool);
    EXPECT_TRUE(rig->view.messages().empty());
    EXPECT_TRUE(enabled(Control::cmdUpgradeSW));
    EXPECT_TRUE(enabled(Control::cmdOpenFile1));
    EXPECT_TRUE(enabled(Control::cmdTest));
    EXPECT_EQ(rig->port.bytesSent(), "ky nop\rop model.name ?\r");
    EXPECT_FALSE(rig->tool.state.NoListFile);
}

TEST_F(Startup, RememberedValidPackageWithSilentProjectorDisablesAllThree)
{
    rig = std::make_unique<SimRig>(ProjectorOptions{.silent = true});
    remember(fw::testing::makePackage(rig->workFolder.str()).listFile);
    Form_Load(rig->tool);
    EXPECT_EQ(rig->view.messageTexts(), std::vector<std::string>{"Communication with projector failed."});
    EXPECT_TRUE(threeOff());
    EXPECT_EQ(rig->port.bytesSent().find("op model.name"), std::string::npos);
}

TEST_F(Startup, RememberedPackageForAnotherModelDisablesOnlyUpgrade)
{
    rig = std::make_unique<SimRig>(ProjectorOptions{.modelName = "QT2436"});
    remember(fw::testing::makePackage(rig->workFolder.str()).listFile);
    Form_Load(rig->tool);
    EXPECT_EQ(rig->view.messageTexts(),
              std::vector<std::string>{"Text file doesn't match the connected projector."});
    EXPECT_FALSE(enabled(Control::cmdUpgradeSW));
    EXPECT_TRUE(enabled(Control::cmdOpenFile1));
    EXPECT_TRUE(enabled(Control::cmdTest));
}

TEST_F(Startup, RememberedPackageThatFailsItsCheckSendsNothing)
{
    const auto pkg = fw::testing::makePackage(rig->workFolder.str());
    std::filesystem::remove(pkg.upImage);
    remember(pkg.listFile);
    Form_Load(rig->tool);
    EXPECT_EQ(rig->view.messageTexts(),
              std::vector<std::string>{
                  "File not found. Please find the (.bin) binary file(s) listed in the selected text file."});
    EXPECT_TRUE(rig->port.wire().empty());
    EXPECT_FALSE(enabled(Control::cmdUpgradeSW));
    EXPECT_TRUE(enabled(Control::cmdOpenFile1));
    EXPECT_TRUE(enabled(Control::cmdTest));
    EXPECT_EQ(rig->view.caption(Caption::txtTxtSourceFilePath), pkg.listFile);
}

TEST_F(Startup, StoredPortThatDoesNotExistIsNamedInTheMessage)
{
    settings("[RS232Set]\r\nCOM=9\r\n");
    Form_Load(rig->tool);
    EXPECT_EQ(rig->view.messageTexts(),
              std::vector<std::string>{"COM9 is invalid. Please select an available RS232 port."});
    EXPECT_EQ(rig->view.messages()[0].style, MessageStyle::Critical);
    EXPECT_EQ(rig->tool.state.statusLine, rig->view.messages()[0].text);
    EXPECT_TRUE(threeOff());
    EXPECT_FALSE(rig->port.portOpen());
}

TEST_F(Startup, StoredPortHeldByAnotherProgram)
{
    rig->port.setAvailability(2, PortAvailability::HeldByOther);
    settings("[RS232Set]\r\nCOM=2\r\n");
    Form_Load(rig->tool);
    EXPECT_EQ(rig->view.messageTexts(),
              std::vector<std::string>{"COM2 is currently being used by another program.  Please close that program "
                                       "and try again."});
    EXPECT_TRUE(threeOff());
}

TEST_F(Startup, StoredPortWithLeadingZeroShowsAsPlainNumberAndFileKeepsIt)
{
    rig->port.setAvailability(7, PortAvailability::Projector);
    settings("[RS232Set]\r\nCOM=07\r\n");
    Form_Load(rig->tool);
    EXPECT_EQ(rig->view.portList, "7");
    EXPECT_EQ(rig->port.commPort(), 7);
    EXPECT_TRUE(rig->port.portOpen());
    EXPECT_EQ(settingsFile(), "[RS232Set]\r\nCOM=07\r\n");
}

TEST_F(Startup, StoredPortBeginningWithLettersIsPortZeroAndInvalid)
{
    settings("[RS232Set]\r\nCOM=COM5\r\n");
    Form_Load(rig->tool);
    EXPECT_EQ(rig->view.portList, "0");
    EXPECT_EQ(rig->view.messageTexts(),
              std::vector<std::string>{"COM0 is invalid. Please select an available RS232 port."});
    EXPECT_TRUE(threeOff());
}

TEST_F(Startup, EmptyPortValueBehavesLikeNoValue)
{
    settings("[RS232Set]\r\nCOM=\r\n");
    Form_Load(rig->tool);
    EXPECT_TRUE(rig->port.portOpen());
    EXPECT_EQ(rig->port.commPort(), 1);
    EXPECT_TRUE(rig->view.messages().empty());
}
