#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "ground/Texts.h"
#include "UpgradeRig.h"
#include "window/MainWindow.h"
#include "window/Settings.h"
#include "window/Upgrade.h"

using namespace fw;
using namespace fw::sim;
using namespace fw::testing;

namespace {

const std::string kInvalidPackage = texts::ListFileNotValid;

bool onlyPortChoiceLeft(const RecordingView& v)
{
    return !v.enabled(Control::cmdUpgradeSW) && !v.enabled(Control::cmdOpenFile1) && !v.enabled(Control::cmdTest) &&
           v.enabled(Control::RS_232);
}

} // namespace

// The endings before anything reaches the loader: the boxes in order, the
// status line left, what went out, and which controls the technician has.
TEST(UpgradeEndings, BeforeTheDownloadEachEndingItsMessagesAndControls)
{
    const std::string com1Invalid = "COM1 is invalid. Please select an available RS232 port.";
    enum class Left { Everything, OnlyPortChoice };
    struct Case {
        const char* name;
        ProjectorOptions projector;
        std::function<void(UpgradeRig&)> before;
        std::vector<std::string> messages;
        std::string statusLine;
        std::string sent;
        Left left;
        UpgradeOutcome outcome;
    } cases[] = {
        {"technician answers No", {}, {}, {kConfirmationText}, "", "", Left::Everything, UpgradeOutcome::Declined},
        {"no valid package", {}, [](UpgradeRig& r) { r.tool().state.ListFileValid = false; }, {kInvalidPackage},
         kInvalidPackage, "", Left::Everything, UpgradeOutcome::NotReady},
        {"port left closed", {}, [](UpgradeRig& r) { r.rig.port.setPortOpen(false); },
         {kConfirmationText, kLinkFailedText}, kLinkFailedText, "", Left::Everything, UpgradeOutcome::LinkFailed},
        {"projector answering in lower case", {.lowerCaseAnswers = true}, {}, {kConfirmationText, kLinkFailedText}, "",
         "ky nop\r", Left::OnlyPortChoice, UpgradeOutcome::LinkFailed},
        {"silent projector", {.silent = true}, {}, {kConfirmationText, kLinkFailedText}, "",
         "ky nop\rky nop\rky nop\rky nop\rky nop\rky nop\r", Left::OnlyPortChoice, UpgradeOutcome::LinkFailed},
        // The port's own number names it, not the dialog's text.
        {"port vanished", {},
         [](UpgradeRig& r) {
             r.rig.view.portList = "9";
             r.rig.port.setAvailability(1, PortAvailability::Missing);
         },
         {kConfirmationText, com1Invalid}, com1Invalid, "", Left::OnlyPortChoice, UpgradeOutcome::LinkFailed},
        // A port held elsewhere is tried as it is; the link test then tells.
        {"port taken by another program", {},
         [](UpgradeRig& r) { r.rig.port.setAvailability(1, PortAvailability::HeldByOther); },
         {kConfirmationText, kLinkFailedText}, "", "", Left::OnlyPortChoice, UpgradeOutcome::LinkFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UpgradeRig r(c.projector);
        r.rig.view.answerNext(c.outcome == UpgradeOutcome::Declined ? Answer::No : Answer::Yes);
        if (c.before) c.before(r);
        const auto opensBefore = r.rig.port.opens();
        EXPECT_EQ(cmdUpgradeSW_Click(r.tool()), c.outcome);

        EXPECT_EQ(r.messages(), c.messages);
        EXPECT_EQ(r.view().messages().back().style,
                  c.messages.back() == kConfirmationText ? MessageStyle::Question : MessageStyle::Critical);
        EXPECT_EQ(r.tool().state.statusLine, c.statusLine);
        EXPECT_EQ(r.rig.port.bytesSent(), c.sent);
        if (c.outcome == UpgradeOutcome::NotReady) {
            EXPECT_EQ(r.rig.port.opens(), opensBefore);
        }
        EXPECT_EQ(workControlsEnabled(r.view()), c.left == Left::Everything);
        EXPECT_EQ(onlyPortChoiceLeft(r.view()), c.left == Left::OnlyPortChoice);
        EXPECT_TRUE(r.view().progressHistory().size() <= 1);  // at most the bar's reset to 0
        EXPECT_TRUE(r.view().unexpected().empty());
        expectWindowGivenBack(r);
    }
}

TEST(UpgradeEndings, PortDialogLeftOpenCannotTakeThePortFromTheUpgrade)
{
    UpgradeRig r;
    RS_232_Click(r.tool());  // opened before the upgrade, left open
    const uint64_t opensBefore = r.rig.port.opens();
    // OK pressed every second of the upgrade, the ISP tool's run included.
    int pressesWhileToolRan = 0;
    for (Micros at = seconds(1); at < seconds(300); at += seconds(1))
        r.rig.loop.schedule(at, [&] {
            if (!r.tool().state.DownloadBusy) return;
            pressesWhileToolRan += r.rig.processes.running();
            RS232_Click(r.tool());
        });
    r.rig.view.answerNext(Answer::Yes);
    cmdUpgradeSW_Click(r.tool());

    EXPECT_GT(pressesWhileToolRan, 0);
    EXPECT_EQ(r.rig.port.opens(), opensBefore + 1);  // only the upgrade's own reopening
    EXPECT_EQ(r.messages().back(), kDownloadComplete);
    expectWindowGivenBack(r);
    // Afterwards the dialog works again.
    RS232_Click(r.tool());
    EXPECT_EQ(r.rig.port.opens(), opensBefore + 2);
}

// A fault of the program (an exception the port never throws) is neither a
// failed download nor a quiet start-up: it reaches the caller. A stored port
// number beyond 16 bits is a failure start-up meets and shows nothing.
TEST(ProgrammingErrors, ReachTheCallerInsteadOfPosingAsAFailure)
{
    const auto faultAtWrite = [](SimSerialPort& port, std::size_t size) {
        port.onWire = [size](const WireRecord& w) {
            if (w.direction == Direction::ToProjector && w.bytes.size() >= size) throw std::logic_error("a fault");
        };
    };
    UpgradeRig r;
    r.rig.view.answerNext(Answer::Yes);
    faultAtWrite(r.rig.port, 1024);  // the image's first block
    EXPECT_THROW(cmdUpgradeSW_Click(r.tool()), std::logic_error);
    EXPECT_EQ(r.messages(), std::vector<std::string>{kConfirmationText});

    SimRig rig;
    writeFile(rig.tool.settingsPath(), "[PATH]\r\nFILE=" + makePackage(rig.workFolder.str()).listFile + "\r\n");
    faultAtWrite(rig.port, 1);  // the link test's command
    EXPECT_THROW(Form_Load(rig.tool), std::logic_error);
    EXPECT_TRUE(rig.view.messages().empty());

    SimRig stored;
    writeFile(stored.tool.settingsPath(), "[RS232Set]\r\nCOM=99999\r\n");
    EXPECT_NO_THROW(Form_Load(stored.tool));
    EXPECT_TRUE(stored.view.messages().empty());
    EXPECT_FALSE(stored.view.enabled(Control::cmdTest));
}
