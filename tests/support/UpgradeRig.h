#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "PackageMaker.h"
#include "SimRig.h"
#include "ground/Texts.h"
#include "isp/SimIspTool.h"
#include "transfer/IspCommandLine.h"

namespace fw::testing {

inline const std::string kDownloadComplete = texts::DownloadComplete;
inline const std::string kUpFailed = texts::UpFailed;
inline const std::string kLinkFailedText = texts::LinkFailed;
inline const std::string kConfirmationText = texts::UpgradeConfirmation;

// A small scaler image keeps the ISP phase short; the list-file check's size
// rule is not what these tests are about.
inline constexpr std::size_t kSmallScalerSize = 40000;

// The tool on the virtual clock with a valid package selected, the port
// open, the ISP tool stand-in and its driver file in the program folder.
struct UpgradeRig {
    explicit UpgradeRig(sim::ProjectorOptions options = {}, sim::isp::IspSwitches switches = {},
                        std::size_t scalerSize = kSmallScalerSize)
        : rig(std::move(options)), isp(rig.loop, rig.projector, rig.port, switches)
    {
        const Package package = makePackage(rig.workFolder.str(), "QT2416_uP.bin", "QT2416_scaler.bin", scalerSize);
        upBytes = package.upBytes;
        scalerBytes = package.scalerBytes;
        upImage = package.upImage;
        scalerImage = package.scalerImage;
        writeFile(rig.programFolder.file(kIspDriverName), "driver");
        isp.installAs(rig.processes, tool().programFile(kIspToolName));

        auto& s = tool().state;
        s.package = {upImage, kUpImageSize, scalerImage, scalerSize};
        s.ListFileValid = true;
        rig.port.setPortOpen(true);
    }

    fw::Tool& tool() { return rig.tool; }
    const sim::RecordingView& view() const { return rig.view; }
    std::vector<std::string> messages() const { return rig.view.messageTexts(); }
    std::string log() const { return rig.programFolder.file("log.txt"); }

    bool showed(const std::string& text) const
    {
        const auto all = messages();
        return std::find(all.begin(), all.end(), text) != all.end();
    }

    bool upImageFlashed() const { return rig.projector.flashedUpImage() == upBytes; }
    bool scalerImageFlashed() const { return rig.projector.flashedScalerImage() == scalerBytes; }

    sim::SimRig rig;
    sim::isp::SimIspTool isp;
    std::string upBytes, scalerBytes, upImage, scalerImage;
};

// What every ending leaves: the pointer normal, the flag clear, Exit usable,
// and no success claimed that the projector cannot back: "Download complete"
// only when it holds both images exactly.
inline void expectWindowGivenBack(const UpgradeRig& r)
{
    EXPECT_FALSE(r.view().busyPointer());
    EXPECT_FALSE(r.rig.tool.state.DownloadBusy);
    EXPECT_TRUE(r.view().enabled(Control::pExit));
    if (r.showed(kDownloadComplete)) {
        EXPECT_TRUE(r.upImageFlashed()) << "success shown without the uP image";
        EXPECT_TRUE(r.scalerImageFlashed()) << "success shown without the scaler image";
    }
}

inline bool workControlsEnabled(const sim::RecordingView& v)
{
    for (Control c : {Control::cmdUpgradeSW, Control::cmdOpenFile1, Control::cmdTest, Control::RS_232, Control::Text2})
        if (!v.enabled(c)) return false;
    return true;
}

// Bytes the host sent, in order, with binary blocks shown by size only.
inline std::vector<std::string> hostWrites(const sim::SimSerialPort& port)
{
    std::vector<std::string> out;
    for (const auto& w : port.wire())
        if (w.direction == sim::Direction::ToProjector) out.push_back(w.bytes);
    return out;
}

} // namespace fw::testing
