#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "UpgradeRig.h"
#include "ground/FileHelpers.h"
#include "transfer/IspCommandLine.h"
#include "transfer/ToolLog.h"
#include "window/Upgrade.h"

using namespace fw;
using namespace fw::sim;
using namespace fw::testing;

namespace {

// Where the host's writes of one upgrade stand on the wire.
struct Timeline {
    std::vector<WireRecord> writes;
    std::size_t linkTest = 0, downloadCommand = 0, yes = 0, length = 0, firstBlock = 0, lineEnd = 0, ispCommand = 0;
    Micros bootArrived = 0;

    explicit Timeline(const SimSerialPort& port)
    {
        for (const auto& w : port.wire())
            if (w.direction == Direction::ToProjector) writes.push_back(w);
        downloadCommand = next("\r", 0) + 1;
        yes = next("\r", downloadCommand) + 1;
        length = next("40000", yes);
        firstBlock = length + 1;
        lineEnd = next("\r\n", firstBlock);
        ispCommand = lineEnd + 1;
        for (const auto& w : port.wire())
            if (w.direction == Direction::FromProjector && w.bytes.find("BOOT") != std::string::npos)
                bootArrived = w.at + SimSerialPort::lineTime(w.bytes.size());
    }
    std::size_t next(const std::string& bytes, std::size_t from) const
    {
        for (std::size_t i = from; i < writes.size(); ++i)
            if (writes[i].bytes == bytes) return i;
        return writes.size();
    }
    Micros at(std::size_t i) const { return writes.at(i).at; }
};

// Line time of single-character writes: SendCommand sends one at a time.
Micros charsOut(std::size_t count) { return count * SimSerialPort::lineTime(1); }

// Every delay(n) lasts more than n and less than n + 2 milliseconds on the
// millisecond tick; a segment holding `delays` of them may run that much over.
void expectSegment(const char* what, Micros measured, Micros minimum, int delays)
{
    EXPECT_GE(measured, minimum) << what;
    EXPECT_LE(measured, minimum + ms(2) * static_cast<Micros>(delays)) << what;
}

} // namespace

TEST(FullUpgrade, ConfirmedUpgradeFlashesBothImagesExactlyAndSaysDownloadComplete)
{
    UpgradeRig r({}, {}, kSmallestScalerSize);
    r.rig.view.answerNext(Answer::Yes);
    cmdUpgradeSW_Click(r.tool());

    ASSERT_EQ(r.messages(), (std::vector<std::string>{kConfirmationText, kDownloadComplete}));
    EXPECT_EQ(r.view().messages()[0].style, MessageStyle::Question);
    EXPECT_EQ(r.view().messages()[1].style, MessageStyle::Information);
    EXPECT_TRUE(r.upImageFlashed());
    EXPECT_TRUE(r.scalerImageFlashed());

    // On the wire: the link test, download mode, "y" without a line end, the
    // length, the raw image in 256 blocks of 1024, CR LF, then ISP mode.
    const auto writes = hostWrites(r.rig.port);
    std::string all;
    for (const auto& w : writes) all += w;
    EXPECT_EQ(all, "ky nop\rop dlmy\ry40000" + r.upBytes + "\r\nop dlgf\r");
    EXPECT_EQ(std::count_if(writes.begin(), writes.end(), [](const std::string& w) { return w.size() == 1024; }), 256);
    EXPECT_EQ(std::count_if(writes.begin(), writes.end(), [](const std::string& w) { return w.size() > 5; }), 256);

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

    // The ISP tool got the port number, its fixed options and the image, and
    // ran once in the program folder.
    ASSERT_EQ(r.rig.processes.launches().size(), 1u);
    const auto& launch = r.rig.processes.launches()[0];
    EXPECT_EQ(launch.program, r.tool().programFile("gf9450isp.exe"));
    const std::string scalerImage = std::filesystem::path(r.scalerImage).make_preferred().string();
    EXPECT_EQ(launch.arguments, ispArguments(1, GetShortNameFromLongName(scalerImage)));
    EXPECT_EQ(launch.workingDirectory, r.rig.programFolder.str());

    // The window afterwards.
    expectWindowGivenBack(r);
    EXPECT_TRUE(workControlsEnabled(r.view()));
    EXPECT_FALSE(r.rig.port.portOpen());  // the ISP tool had it; it stays closed
    EXPECT_FALSE(r.tool().state.ispModeYes);
    EXPECT_FALSE(r.view().progressVisible());
    EXPECT_FALSE(r.view().processingWindowVisible());
    EXPECT_EQ(r.tool().state.statusLine, kDownloadComplete);
    EXPECT_EQ(r.view().caption(Caption::lblFileCount), "");
    EXPECT_EQ(r.view().beeps(), 1);
    EXPECT_TRUE(r.view().unexpected().empty());
}

TEST(FullUpgrade, TakesOnlyTheProtocolsOwnWaitsAndTheLineTime)
{
    UpgradeRig r({}, {}, kSmallestScalerSize);
    r.rig.view.answerNext(Answer::Yes);
    cmdUpgradeSW_Click(r.tool());
    ASSERT_TRUE(r.showed(kDownloadComplete));

    const Timeline t(r.rig.port);
    const Micros clicked = 0;
    const Micros finished = r.view().messages().back().at;
    const Micros toolEnded = *r.isp.lastEndedAt();
    const Micros toolStarted = r.rig.processes.launches().at(0).at;

    // Confirmation, port reopened: nothing to wait for.
    EXPECT_EQ(t.at(0), clicked);
    // "ky nop": six characters 10 ms apart, CR, 2000 ms for the echo, 200 ms for the reply.
    expectSegment("link test", t.at(t.downloadCommand) - t.at(0), charsOut(7) + ms(6 * 10 + 2000 + 200), 8);
    // "op dlmy", its echo wait; the question is there at the first poll.
    expectSegment("download mode", t.at(t.yes) - t.at(t.downloadCommand), charsOut(8) + ms(7 * 10 + 2000), 8);
    // "y", one poll for the prompt, the 1000 ms pause.
    expectSegment("length prompt", t.at(t.length) - t.at(t.yes), charsOut(1) + ms(500 + 1000), 2);
    // The length, then the data request's first poll.
    expectSegment("data request", t.at(t.firstBlock) - t.at(t.length), SimSerialPort::lineTime(5) + ms(500), 1);
    // 256 blocks back to back: exactly the line time, no gap anywhere.
    for (std::size_t i = t.firstBlock; i < t.lineEnd; ++i)
        ASSERT_EQ(t.at(i + 1) - t.at(i), SimSerialPort::lineTime(1024)) << "gap after block " << i - t.firstBlock;
    // From the restart banner: at most one poll interval, then the 4000 ms pause.
    expectSegment("restart", t.at(t.ispCommand) - t.bootArrived, ms(4000), 1 + 251);
    // "op dlgf", its echo wait, the banner at the first poll, 4000 ms.
    expectSegment("ISP mode", toolStarted - t.at(t.ispCommand), charsOut(8) + ms(7 * 10 + 2000 + 4000), 9);
    // The tool's end is seen at the next 100 ms tick.
    expectSegment("tool end", finished - toolEnded, 0, 51);

    // The figure: everything the program waited for that the protocol or the
    // line does not prescribe is the delay rounding and the poll quantisation.
    const Micros projectorRestart = t.bootArrived - (t.at(t.lineEnd) + SimSerialPort::lineTime(2));
    const Micros toolRun = toolEnded - toolStarted;
    const Micros minimum = charsOut(7) + ms(6 * 10 + 2000 + 200) + charsOut(8) + ms(7 * 10 + 2000) + charsOut(1) +
                           ms(1500) + SimSerialPort::lineTime(5) + ms(500) + 256 * SimSerialPort::lineTime(1024) +
                           SimSerialPort::lineTime(2) + projectorRestart + ms(4000) + charsOut(8) +
                           ms(7 * 10 + 2000 + 4000) + toolRun;
    std::printf("[ figure ] full upgrade: %.3f s virtual, protocol minimum %.3f s (uP line time %.3f s, projector "
                "restart %.3f s, ISP tool %.3f s), over by %.3f s\n",
                double(finished) / 1e6, double(minimum) / 1e6, double(256 * SimSerialPort::lineTime(1024)) / 1e6,
                double(projectorRestart) / 1e6, double(toolRun) / 1e6, double(finished - minimum) / 1e6);
    EXPECT_GE(finished, minimum);
    EXPECT_LT(finished - minimum, ms(500 + 100 + 2 * 40));  // one restart poll, one tool tick, the delays' rounding
}
