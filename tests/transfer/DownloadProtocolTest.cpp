#include <gtest/gtest.h>

#include "ImageIntegrity.h"
#include "UpgradeRig.h"
#include "window/Upgrade.h"

using namespace fw;
using namespace fw::sim;
using namespace fw::testing;

namespace {

void upgrade(UpgradeRig& r)
{
    r.rig.view.answerNext(Answer::Yes);
    cmdUpgradeSW_Click(r.tool());
}

ProjectorOptions withLoader(void (*change)(LoaderOptions&))
{
    ProjectorOptions options;
    change(options.loader);
    return options;
}

// When the host's write `bytes` (the n-th such write) began.
Micros sentAt(const SimSerialPort& port, const std::string& bytes, int n = 1)
{
    for (const auto& w : port.wire())
        if (w.direction == Direction::ToProjector && w.bytes == bytes && --n == 0) return w.at;
    ADD_FAILURE() << "never sent: " << bytes;
    return 0;
}

bool sent(const SimSerialPort& port, const std::string& bytes)
{
    return port.bytesSent().find(bytes) != std::string::npos;
}

std::size_t imageBytesSent(const SimSerialPort& port)
{
    std::size_t total = 0;
    for (const auto& w : port.wire())
        if (w.direction == Direction::ToProjector && w.bytes.size() >= 1024) total += w.bytes.size();
    return total;
}

// The abort's wire side and window: CR LF last on the line, controls back,
// the progress bar left as it was, one critical box with the reason.
void expectAbortShowing(const UpgradeRig& r, const std::string& message)
{
    EXPECT_EQ(r.messages(), (std::vector<std::string>{kConfirmationText, message}));
    EXPECT_EQ(r.view().messages().back().style, MessageStyle::Critical);
    EXPECT_EQ(r.rig.tool.state.statusLine, message);
    EXPECT_EQ(hostWrites(r.rig.port).back(), "\r\n");
    EXPECT_TRUE(workControlsEnabled(r.view()));
    EXPECT_TRUE(r.view().progressVisible());
    expectWindowGivenBack(r);
    EXPECT_TRUE(r.rig.processes.launches().empty());
    expectNoFalseSuccess(r);
}

const Micros kCommandEchoWait = ms(2000);

} // namespace

TEST(DownloadMode, LoaderAskingWithUpperCaseYIsNeverConfirmedAndAbortsAfter61Polls)
{
    UpgradeRig r(withLoader([](LoaderOptions& l) { l.question = "\r\nDownload ('Y'/'N') ? "; }));
    upgrade(r);

    expectAbortShowing(r, kLinkFailedText);
    EXPECT_EQ(r.rig.port.bytesSent(), "ky nop\rop dlmy\r\r\n");  // never a "y"
    const Micros waited = sentAt(r.rig.port, "\r\n") - sentAt(r.rig.port, "\r", 2) - kCommandEchoWait;
    EXPECT_GE(waited, ms(61 * 500));
    EXPECT_LE(waited, ms(61 * 502 + 4));
}

TEST(LengthPrompt, PromptWithLowerCaseHIsNeverAnsweredAndAbortsAfter21Polls)
{
    for (const char* prompt : {"\r\nLength (40000h) : ", "\r\nLength 40000h or 40000H : "}) {
        SCOPED_TRACE(prompt);
        ProjectorOptions options;
        options.loader.lengthPrompt = prompt;
        UpgradeRig r(options);
        upgrade(r);

        expectAbortShowing(r, kUpFailed);
        EXPECT_FALSE(sent(r.rig.port, "40000"));
        // The answer is the third "y" on the line, after those of "ky nop" and "op dlmy".
        const Micros waited = sentAt(r.rig.port, "\r\n") - sentAt(r.rig.port, "y", 3) - SimSerialPort::lineTime(1);
        EXPECT_GE(waited, ms(20 * 500));
        EXPECT_LE(waited, ms(20 * 502 + 2));
    }
}

TEST(DataRequest, LengthPromptThatAlsoNamesTheFileIsPassedAtTheFirstPoll)
{
    ProjectorOptions options;
    options.loader.lengthPrompt = "\r\nSend length (40000H), then the file : ";
    options.loader.dataRequest.clear();
    UpgradeRig r(options);
    upgrade(r);

    const Micros fromLength = sentAt(r.rig.port, r.upBytes.substr(0, 1024)) - sentAt(r.rig.port, "40000");
    EXPECT_GE(fromLength, SimSerialPort::lineTime(5) + ms(500));
    EXPECT_LE(fromLength, SimSerialPort::lineTime(5) + ms(502));
    EXPECT_TRUE(r.showed(kDownloadComplete));
    expectNoFalseSuccess(r);
}

TEST(DataRequest, RequestWrittenInCapitalsIsNeverRecognisedAndAbortsAfterAboutAMinute)
{
    UpgradeRig r(withLoader([](LoaderOptions& l) { l.dataRequest = "\r\nSEND FILE NOW\r\n"; }));
    upgrade(r);

    expectAbortShowing(r, kUpFailed);
    EXPECT_EQ(imageBytesSent(r.rig.port), 0u);
    const Micros waited = sentAt(r.rig.port, "\r\n") - sentAt(r.rig.port, "40000");
    EXPECT_GE(waited, ms(121 * 500));
    EXPECT_LE(waited, ms(121 * 502));
}

TEST(Verdict, VerdictInCapitalsIsUndecidedAndTheScalerIsNotTouched)
{
    UpgradeRig r(withLoader([](LoaderOptions& l) { l.verdictRight = "\r\nRIGHT!\r\n"; }));
    upgrade(r);

    EXPECT_EQ(r.messages(), (std::vector<std::string>{kConfirmationText, kUpFailed}));
    EXPECT_FALSE(sent(r.rig.port, "op dlgf"));
    EXPECT_TRUE(r.rig.processes.launches().empty());
    EXPECT_TRUE(workControlsEnabled(r.view()));
    EXPECT_FALSE(r.view().progressVisible());
    expectWindowGivenBack(r);
}

TEST(Verdict, MissingVerdictFailsAfterEightPollsAndNeverReachesTheScaler)
{
    UpgradeRig r(withLoader([](LoaderOptions& l) { l.verdictRight.clear(); }));
    upgrade(r);

    ASSERT_EQ(r.messages(), (std::vector<std::string>{kConfirmationText, kUpFailed}));
    const Micros afterImage =
        r.view().messages().back().at - sentAt(r.rig.port, "\r\n") - SimSerialPort::lineTime(2);
    EXPECT_GE(afterImage, ms(8 * 500));
    EXPECT_LE(afterImage, ms(8 * 502));
    EXPECT_FALSE(sent(r.rig.port, "op dlgf"));
    EXPECT_FALSE(r.rig.projector.flashedScalerImage().has_value());
    expectWindowGivenBack(r);
    expectNoFalseSuccess(r);
}

TEST(Restart, BannerInAnyLetterCaseEndsTheWait)
{
    for (const char* banner : {"\r\nboot\r\n", "\r\nBoot V2\r\n", "\r\nBOOT\r\n"}) {
        SCOPED_TRACE(banner);
        ProjectorOptions options;
        options.loader.restartBanner = banner;
        UpgradeRig r(options);
        upgrade(r);
        EXPECT_TRUE(r.showed(kDownloadComplete));
        expectNoFalseSuccess(r);
    }
}

TEST(Restart, ProjectorThatNeverRestartsAbortsWithTheLinkFailureAfter61Polls)
{
    UpgradeRig r(withLoader([](LoaderOptions& l) { l.restartBanner.clear(); }));
    upgrade(r);

    EXPECT_EQ(r.messages(), (std::vector<std::string>{kConfirmationText, kLinkFailedText}));
    EXPECT_FALSE(sent(r.rig.port, "op dlgf"));
    EXPECT_EQ(hostWrites(r.rig.port).back(), "\r\n");
    const Micros waited = sentAt(r.rig.port, "\r\n", 2) - sentAt(r.rig.port, "\r\n", 1);
    EXPECT_GE(waited, ms((2 + 1 + 61) * 500));  // two verdict polls, the beep's pause, 61 restart polls
    EXPECT_LE(waited, ms((2 + 1 + 61) * 502 + 10));
    expectWindowGivenBack(r);
    EXPECT_TRUE(workControlsEnabled(r.view()));
}

// Line faults while the image is on its way: the loader judges what it got,
// and the technician is told the uP download failed.
TEST(LineFaults, ImageDamagedOnTheLineIsReportedAsAFailedDownload)
{
    struct Case {
        const char* name;
        LineFaults faults;
    };
    for (const Case& c : {Case{"cut at the first byte", {.cutAtImageByte = 0}},
                          Case{"cut midway", {.cutAtImageByte = 100000}},
                          Case{"cut at the last byte", {.cutAtImageByte = 262143}},
                          Case{"byte dropped", {.dropImageByte = 5000}},
                          Case{"noise byte", {.noiseBeforeImageByte = 70000}}}) {
        SCOPED_TRACE(c.name);
        ProjectorOptions options;
        options.faults = c.faults;
        UpgradeRig r(options);
        upgrade(r);

        EXPECT_EQ(r.messages(), (std::vector<std::string>{kConfirmationText, kUpFailed}));
        EXPECT_FALSE(r.rig.projector.flashedUpImage().has_value());
        EXPECT_NE(r.rig.projector.receivedUpImage(), r.upBytes);
        EXPECT_TRUE(r.rig.processes.launches().empty());
        expectWindowGivenBack(r);
        expectNoFalseSuccess(r);
    }
}

// A lost byte and a stray one leave the length right; only the image's own
// integrity trailer tells the loader the image is damaged.
TEST(LineFaults, LostAndStrayByteAreCaughtByTheImagesOwnCheck)
{
    for (bool damaged : {false, true}) {
        SCOPED_TRACE(damaged ? "damaged" : "intact");
        ProjectorOptions options;
        options.loader.checksIntegrityTrailer = true;
        if (damaged) options.faults = {.dropImageByte = 5000, .noiseBeforeImageByte = 70000};
        UpgradeRig r(options);
        r.upBytes = fw::sim::withIntegrityTrailer(r.upBytes);
        writeFile(r.upImage, r.upBytes);
        upgrade(r);

        EXPECT_EQ(r.rig.projector.receivedUpImage().size(), r.upBytes.size());
        EXPECT_EQ(r.showed(kUpFailed), damaged);
        EXPECT_EQ(r.upImageFlashed(), !damaged);
        expectNoFalseSuccess(r);
    }
}

TEST(ImageTransfer, ImageChangedOrGoneSinceTheCheckIsNotSent)
{
    for (bool gone : {false, true}) {
        SCOPED_TRACE(gone ? "gone" : "shorter");
        UpgradeRig r;
        if (gone) std::filesystem::remove(r.upImage);
        else writeFile(r.upImage, r.upBytes.substr(0, 200000));
        upgrade(r);

        expectAbortShowing(r, kUpFailed);
        EXPECT_EQ(imageBytesSent(r.rig.port), 0u);
    }
}

TEST(ImageTransfer, PortDeviceFailingMidImageIsOneFailedDownloadMessage)
{
    UpgradeRig r;
    r.rig.port.failDeviceAfterBytes(100000);
    upgrade(r);

    EXPECT_EQ(r.messages(), (std::vector<std::string>{kConfirmationText, kUpFailed}));
    EXPECT_FALSE(r.rig.projector.flashedUpImage().has_value());
    EXPECT_TRUE(workControlsEnabled(r.view()));
    expectWindowGivenBack(r);
}

TEST(ImageTransfer, EventLoopTurnsOnceForEveryBlock)
{
    UpgradeRig r;
    // Events that fall due during the transfer run before the next block.
    std::vector<Micros> lateBy;
    for (Micros at = seconds(10); at < seconds(60); at += ms(737))
        r.rig.loop.schedule(at, [&, at] { lateBy.push_back(r.rig.loop.now() - at); });
    int blocks = 0, busyBlocks = 0;
    r.rig.port.onWire = [&](const WireRecord& w) {
        if (w.bytes.size() != 1024) return;
        ++blocks;
        busyBlocks += r.tool().state.DownloadBusy;
    };
    upgrade(r);

    ASSERT_FALSE(lateBy.empty());
    for (Micros late : lateBy) EXPECT_LE(late, SimSerialPort::lineTime(1024));
    EXPECT_EQ(blocks, 256);
    EXPECT_EQ(busyBlocks, 256);
}

TEST(DownloadMode, PortFailingUnderTheCommandIsToldOnceAndAtOnce)
{
    UpgradeRig r;
    r.rig.port.failDeviceAfterBytes(std::string("ky nop\rop").size());
    const Micros start = r.rig.loop.now();
    upgrade(r);

    EXPECT_EQ(r.messages(), (std::vector<std::string>{kConfirmationText, kLinkFailedText}));
    EXPECT_LT(r.rig.loop.now() - start, seconds(10));  // no 30-second wait for a question
    EXPECT_EQ(r.tool().state.statusLine, kLinkFailedText);
    expectWindowGivenBack(r);
}

TEST(ImageTransfer, RelativeImageNameIsSentFromWhereThePackageCheckFoundIt)
{
    UpgradeRig r;
    r.tool().state.package.UpImagePath = std::filesystem::path(r.upImage).filename().string();
    ASSERT_NE(std::filesystem::current_path(), r.rig.workFolder.path());
    upgrade(r);

    EXPECT_EQ(r.messages().back(), kDownloadComplete);
    EXPECT_TRUE(r.upImageFlashed());
}

TEST(Verdict, VerdictWaitStartsOnceTheDriverHasCarriedTheImage)
{
    // 19 kB still in the adapter take some 5 s at 38400 bit/s: longer than
    // the verdict's eight polls.
    UpgradeRig held;
    held.rig.port.setDriverBuffer(19000);
    upgrade(held);
    EXPECT_EQ(held.messages().back(), kDownloadComplete);
    EXPECT_TRUE(held.upImageFlashed());

    // A line that holds more than it can carry in the drain limit is a failed device.
    UpgradeRig stuck;
    stuck.rig.port.setDriverBuffer(200000);
    upgrade(stuck);
    expectAbortShowing(stuck, kUpFailed);
}
