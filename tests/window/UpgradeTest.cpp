// The upgrade through its handler: the whole of it, every ending before the
// download and during it, and faults of the program.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <stdexcept>

#include "UpgradeRig.h"
#include "ground/LineTiming.h"
#include "ground/Texts.h"
#include "window/MainWindow.h"
#include "window/Settings.h"
#include "window/Upgrade.h"

using namespace fw;
using namespace fw::sim;
using namespace fw::testing;

namespace {

UpgradeOutcome upgrade(UpgradeRig& r)
{
    r.rig.view.answerNext(Answer::Yes);
    return cmdUpgradeSW_Click(r.tool());
}

// The loader's options as a case changes them from the defaults.
ProjectorOptions optionsFrom(const std::function<void(ProjectorOptions&)>& change)
{
    ProjectorOptions options;
    if (change) change(options);
    return options;
}

enum class Ending {
    Abort,         // CR LF last on the line; the progress bar left as it was
    AbortNoLine,   // the same, but the failed port could not carry the CR LF
    Refused,       // the loader refused or never judged the image: no CR LF after it; progress hidden
    AbortAfterUp,  // the uP image was taken and the projector never came back: CR LF, progress hidden
};

bool abortLineEnd(Ending e) { return e == Ending::Abort || e == Ending::AbortAfterUp; }
bool progressLeft(Ending e) { return e == Ending::Abort || e == Ending::AbortNoLine; }

const std::string kInvalidPackage = texts::ListFileNotValid;

bool onlyPortChoiceLeft(const RecordingView& v)
{
    return !v.enabled(Control::cmdUpgradeSW) && !v.enabled(Control::cmdOpenFile1) && !v.enabled(Control::cmdTest) &&
           v.enabled(Control::RS_232);
}

} // namespace

TEST(FullUpgrade, ConfirmedUpgradeFlashesBothImagesExactlyAndSaysDownloadComplete)
{
    UpgradeRig r({}, {}, kSmallestScalerSize);
    struct Seen {
        bool pointer = true, progressVisible = true, closeCancelled = false;
        std::string status;
    } afterVerdict;
    // Looked at as the restart banner arrives, after the verdict and before
    // the scaler phase: the projector is half upgraded, so a close asks first.
    r.rig.port.onWire = [&](const sim::WireRecord& w) {
        if (!afterVerdict.status.empty() || w.bytes.find("BOOT") == std::string::npos) return;
        afterVerdict = {r.view().busyPointer(), r.view().progressVisible(), Form_QueryUnload(r.tool()),
                        r.tool().state.statusLine};
    };
    r.rig.view.answerNext(Answer::Yes);
    r.rig.view.answerNext(Answer::No);  // stay
    cmdUpgradeSW_Click(r.tool());

    ASSERT_EQ(r.messages(), (std::vector<std::string>{kConfirmationText, texts::CloseWhileBusy, kDownloadComplete}));
    EXPECT_EQ(r.view().messages()[0].style, MessageStyle::Question);
    EXPECT_EQ(r.view().messages()[2].style, MessageStyle::Information);
    EXPECT_FALSE(afterVerdict.pointer);
    EXPECT_FALSE(afterVerdict.progressVisible);
    EXPECT_TRUE(afterVerdict.closeCancelled);
    EXPECT_EQ(afterVerdict.status, "uP software downloaded ok. Now starting scaler software download. Please wait ...");
    EXPECT_TRUE(r.upImageFlashed());
    EXPECT_TRUE(r.scalerImageFlashed());

    // On the wire: the link test, download mode, "y" without a line end, the
    // length, the raw image in 256 blocks of 1024, CR LF, then ISP mode.
    const auto writes = hostWrites(r.rig.port);
    std::string all;
    for (const auto& w : writes) all += w;
    EXPECT_EQ(all, "ky nop\rop dlmy\ry40000" + r.upBytes + "\r\nop dlgf\r");
    EXPECT_EQ(std::count_if(writes.begin(), writes.end(), [](const std::string& w) { return w.size() == 1024; }), 256);

    // The progress bar: 0, then before each block i/256 of the way, then 100.
    const auto& progress = r.view().progressHistory();
    ASSERT_EQ(progress.size(), 258u);
    EXPECT_EQ(progress[0], 0);
    EXPECT_FLOAT_EQ(progress[1], 0.390625);
    EXPECT_FLOAT_EQ(progress[128], 50);
    EXPECT_EQ(progress[256], 100);
    EXPECT_EQ(progress[257], 100);

    EXPECT_EQ(r.view().captionHistory(),
              (std::vector<std::string>{"lblFileCount=Processing, please wait ...",
                                        "lblFileCount=Downloading file 1 of 2", "lblFileCount=Downloading file 2 of 2",
                                        "Label5=", "Label5=Command: 0503 0000 fafd", "lblFileCount="}));

    // The ISP tool ran once, in the program folder.
    ASSERT_EQ(r.rig.processes.launches().size(), 1u);
    const auto& launch = r.rig.processes.launches()[0];
    EXPECT_EQ(launch.program, r.tool().programFile("gf9450isp.exe"));
    EXPECT_EQ(launch.workingDirectory, r.rig.programFolder.str());

    // The window afterwards.
    expectWindowGivenBack(r);
    EXPECT_FALSE(r.rig.port.portOpen());  // the ISP tool had it; it stays closed
    EXPECT_FALSE(r.view().progressVisible());
    EXPECT_FALSE(r.view().processingWindowVisible());
    EXPECT_EQ(r.tool().state.statusLine, kDownloadComplete);
    EXPECT_EQ(r.view().caption(Caption::lblFileCount), "");
    EXPECT_EQ(r.view().beeps(), 1);
    // The controls, change by change: Exit off; the work controls off for
    // the download; the link test's answer turns Open File on, and the
    // download turns it off again; off for the scaler phase, then
    // everything back, Exit last.
    const std::string off = "cmdUpgradeSW- cmdOpenFile1- cmdTest- RS_232- Text2-";
    const std::string on = "cmdUpgradeSW+ cmdOpenFile1+ cmdTest+ RS_232+ Text2+";
    EXPECT_EQ(r.view().enableHistory(), "pExit- " + off + " cmdOpenFile1+ " + off + " " + off + " " + on + " pExit+");
    EXPECT_TRUE(r.view().unexpected().empty());
}

// Every way the uP download can fail once it has begun: the one message
// after the confirmation, what the line saw, and that the scaler was never
// touched and nothing claims success.
TEST(DownloadEndings, EachFailureItsMessageAndTheWindowItLeaves)
{
    struct Case {
        const char* name;
        std::function<void(ProjectorOptions&)> projector;
        std::function<void(UpgradeRig&)> before;
        std::string message;
        Ending ending;
        bool imageSent;
    } cases[] = {
        {"question asks for 'Y'", [](auto& o) { o.loader.question = "\r\nDownload ('Y'/'N') ? "; }, {},
         kLinkFailedText, Ending::Abort, false},
        {"length prompt with lower-case h", [](auto& o) { o.loader.lengthPrompt = "\r\nLength (40000h) : "; }, {},
         kUpFailed, Ending::Abort, false},
        {"data request in capitals", [](auto& o) { o.loader.dataRequest = "\r\nSEND FILE NOW\r\n"; }, {}, kUpFailed,
         Ending::Abort, false},
        {"image gone since the check", {}, [](UpgradeRig& r) { std::filesystem::remove(r.upImage); }, kUpFailed,
         Ending::Abort, false},
        {"image shorter since the check", {},
         [](UpgradeRig& r) { writeFile(r.upImage, r.upBytes.substr(0, 200000)); }, kUpFailed, Ending::Abort, false},
        {"device failing mid-image", {}, [](UpgradeRig& r) { r.rig.port.failDeviceAfterBytes(100000); }, kUpFailed,
         Ending::AbortNoLine, true},
        {"adapter that never drains", {}, [](UpgradeRig& r) { r.rig.port.setDriverBuffer(200000); }, kUpFailed,
         Ending::Abort, true},
        {"verdict in capitals", [](auto& o) { o.loader.verdictRight = "\r\nRIGHT!\r\n"; }, {}, kUpFailed,
         Ending::Refused, true},
        {"no verdict", [](auto& o) { o.loader.verdictRight.clear(); }, {}, kUpFailed, Ending::Refused, true},
        {"never restarts", [](auto& o) { o.loader.restartBanner.clear(); }, {}, kLinkFailedText, Ending::AbortAfterUp,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UpgradeRig r(optionsFrom(c.projector));
        if (c.before) c.before(r);
        // Only a projector that took the uP image leaves the scaler to fail.
        const UpgradeOutcome outcome = upgrade(r);
        EXPECT_EQ(outcome, c.ending == Ending::AbortAfterUp ? UpgradeOutcome::ScalerFailed : UpgradeOutcome::UpFailed);

        EXPECT_EQ(r.messages(), (std::vector<std::string>{kConfirmationText, c.message}));
        EXPECT_EQ(r.view().messages().back().style, MessageStyle::Critical);
        EXPECT_EQ(r.rig.tool.state.statusLine, c.message);
        // The image goes out in blocks of 1024 and ends with CR LF; an abort sends one more, last.
        const auto writes = hostWrites(r.rig.port);
        EXPECT_EQ(std::any_of(writes.begin(), writes.end(), [](const std::string& w) { return w.size() == 1024; }),
                  c.imageSent);
        const bool imageEnded = c.imageSent && c.ending != Ending::AbortNoLine;
        EXPECT_EQ(std::count(writes.begin(), writes.end(), "\r\n"), imageEnded + abortLineEnd(c.ending));
        EXPECT_EQ(writes.back() == "\r\n", c.ending != Ending::AbortNoLine);
        EXPECT_EQ(r.view().progressVisible(), progressLeft(c.ending));
        EXPECT_TRUE(workControlsEnabled(r.view()));
        EXPECT_EQ(r.rig.port.bytesSent().find("op dlgf"), std::string::npos);
        EXPECT_TRUE(r.rig.processes.launches().empty());
        EXPECT_FALSE(r.rig.projector.flashedScalerImage().has_value());
        if (!c.imageSent) {
            EXPECT_FALSE(r.rig.projector.flashedUpImage().has_value());
        }
        expectWindowGivenBack(r);
    }
}

// Odd but good: a prompt naming the file passes the data request at its
// first poll; an image named relative to where the program started; an
// adapter holding 19 kB (some 5 s of line time, longer than the verdict's
// polls) that the verdict wait outlasts.
TEST(DownloadEndings, UnusualButGoodLoadersAndLinesStillComplete)
{
    struct Case {
        const char* name;
        std::function<void(ProjectorOptions&)> projector;
        std::function<void(UpgradeRig&)> before;
    } cases[] = {
        {"prompt that names the file",
         [](auto& o) {
             o.loader.lengthPrompt = "\r\nSend length (40000H), then the file : ";
             o.loader.dataRequest.clear();
         },
         {}},
        {"relative image name", {},
         [](UpgradeRig& r) {
             r.tool().state.package.UpImagePath = std::filesystem::path(r.upImage).filename().string();
         }},
        {"adapter holding 19 kB", {}, [](UpgradeRig& r) { r.rig.port.setDriverBuffer(19000); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UpgradeRig r(optionsFrom(c.projector));
        if (c.before) c.before(r);
        EXPECT_EQ(upgrade(r), UpgradeOutcome::Complete);
        EXPECT_EQ(r.messages().back(), kDownloadComplete);
        EXPECT_TRUE(r.upImageFlashed());
        EXPECT_TRUE(r.scalerImageFlashed());
    }
}

// On a 38400 bit/s line, events that fall due during the transfer run before
// the next block (the loop turns once a clock tick at most, and a block
// takes 267 of them); at every block the window is busy (flag and pointer:
// a close asks first) and the status line says so.
TEST(DownloadEndings, EventLoopTurnsOnceForEveryBlockWhileTheWindowIsBusy)
{
    UpgradeRig r;
    std::vector<Micros> lateBy;
    for (Micros at = seconds(10); at < seconds(60); at += ms(737))
        r.rig.loop.schedule(at, [&, at] { lateBy.push_back(r.rig.loop.now() - at); });
    int blocks = 0, busyBlocks = 0;
    r.rig.port.onWire = [&](const WireRecord& w) {
        if (w.bytes.size() != 1024) return;
        ++blocks;
        busyBlocks += r.tool().state.DownloadBusy && r.view().busyPointer() &&
                      r.tool().state.statusLine == texts::Downloading;
    };
    upgrade(r);

    ASSERT_FALSE(lateBy.empty());
    for (Micros late : lateBy) EXPECT_LE(late, lineTimeUs(1024));
    EXPECT_EQ(blocks, 256);
    EXPECT_EQ(busyBlocks, 256);
}

TEST(DownloadEndings, PortFailingUnderTheDownloadCommandIsToldOnceAndAtOnce)
{
    UpgradeRig r;
    r.rig.port.failDeviceAfterBytes(std::string("ky nop\rop").size());
    const Micros start = r.rig.loop.now();
    EXPECT_EQ(upgrade(r), UpgradeOutcome::UpFailed);

    EXPECT_EQ(r.messages(), (std::vector<std::string>{kConfirmationText, kLinkFailedText}));
    EXPECT_LT(r.rig.loop.now() - start, seconds(10));  // no 30-second wait for a question
    EXPECT_EQ(r.tool().state.statusLine, kLinkFailedText);
    expectWindowGivenBack(r);
}

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
