#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "UpgradeRig.h"
#include "ground/LineTiming.h"
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

} // namespace

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
