#include "Explorer.h"

#include <algorithm>

#include "ImageIntegrity.h"
#include "PackageMaker.h"
#include "SimRig.h"
#include "isp/SimIspTool.h"
#include "window/OpenFile.h"
#include "window/ProjectorChecks.h"
#include "window/MainWindow.h"
#include "window/Settings.h"
#include "transfer/IspCommandLine.h"
#include "window/ScalerPhase.h"
#include "transfer/ToolLog.h"
#include "window/Upgrade.h"

#include <filesystem>
#include <memory>

namespace fw::explore {

namespace {

using sim::Micros;

constexpr const char* kConfirmationStart = "This upgrading process may take 15 minutes.";
constexpr Micros kIdleBetweenSteps = sim::seconds(1);
constexpr Micros kVirtualTimeLimit = sim::seconds(4 * 3600);

// A second projector on port 2 whose scaler is flashed from the same
// program folder, as a second window would: its own port, view and ISP tool
// on the same clock, run from inside whatever the first one is waiting for.
struct SecondJob {
    SecondJob(sim::SimRig& rig, const sim::isp::IspSwitches& switches, const SharedPackage& package)
        : port(rig.loop, projector), view(rig.loop), processes(rig.loop),
          isp(rig.loop, projector, port, switches, kPort),
          tool(port, rig.loop, view, processes, rig.tool.programFolder, rig.tool.workingDirectory)
    {
        port.setAvailability(kPort, sim::PortAvailability::Projector);
        port.setCommPort(kPort);
        isp.installAs(processes, tool.programFile(kIspToolName));
        tool.state.package.ScalerImagePath = package.scalerImage;
        view.answerNext(Answer::Yes);  // a close request, should one come
    }
    static constexpr int16_t kPort = 2;

    sim::ProjectorModel projector;
    sim::SimSerialPort port;
    sim::RecordingView view;
    sim::SimProcessRunner processes;
    sim::isp::SimIspTool isp;
    Tool tool;
};

std::string settingsText(const Scenario& s, const SharedPackage& package)
{
    std::string text = "[RS232Set]\r\nCOM=1\r\n[PATH]\r\nFILE=" + package.listFile + "\r\n";
    if (s.ispTimeLimitSeconds) text += "[ISP]\r\nTIMELIMIT=" + std::to_string(*s.ispTimeLimitSeconds) + "\r\n";
    return text;
}

// One run's world: the tool on the virtual clock with the projector, the
// stand-in ISP tool, and the package remembered in settings.ini.
struct World {
    World(const Scenario& s, const SharedPackage& package)
        : rig(s.projector), isp(rig.loop, rig.projector, rig.port, s.isp)
    {
        rig.tool.events.add(told);
        testing::writeFile(rig.programFolder.file(kIspDriverName), "driver");
        isp.installAs(rig.processes, rig.tool.programFile(kIspToolName));
        testing::writeFile(rig.tool.settingsPath(), settingsText(s, package));
        rig.port.setDriverBuffer(s.driverBufferBytes);
        rig.port.setReceiveEventDelay(sim::ms(s.receiveEventLagMs));
        rig.port.setNetworkDelay(sim::ms(s.networkDelayMs));
        if (s.oldLogStuck) std::filesystem::create_directories(ispLogPath(rig.tool.ispFolder) + "/held");
        if (s.secondJobAtMs) {
            second = std::make_unique<SecondJob>(rig, s.secondJobIsp, package);
            rig.loop.schedule(sim::ms(*s.secondJobAtMs), [this] { cmdFlashSW2_Click(second->tool); });
        }
        if (s.portDialogOkAtMs) rig.loop.schedule(sim::ms(*s.portDialogOkAtMs), [this] { RS232_Click(rig.tool); });
        if (s.deviceFailsAfterBytes) rig.port.failDeviceAfterBytes(*s.deviceFailsAfterBytes);
        if (s.portHeldAtStart) rig.port.setAvailability(1, sim::PortAvailability::HeldByOther);
        if (s.portHeldFromMs)
            rig.loop.schedule(sim::ms(*s.portHeldFromMs),
                              [this] { rig.port.setAvailability(1, sim::PortAvailability::HeldByOther); });
    }
    sim::SimRig rig;
    sim::isp::SimIspTool isp;
    std::unique_ptr<SecondJob> second;
    ToldEndings told;
};

struct Checker {
    World& w;
    const SharedPackage& package;
    Verdict& verdict;

    void violated(const std::string& what) { verdict.violations.push_back(what); }
    const std::vector<sim::MessageBoxShown>& boxes() const { return w.rig.view.messages(); }

    bool criticalSince(std::size_t from) const
    {
        return std::any_of(boxes().begin() + static_cast<long>(from), boxes().end(),
                           [](const auto& m) { return m.style == MessageStyle::Critical; });
    }

    void checkSuccessIsTrue()
    {
        for (const auto& m : boxes()) {
            if (!startsWith(m.text, kDownloadComplete)) continue;
            if (w.rig.projector.flashedUpImage() != package.upBytes) violated("success shown without the uP image");
            if (w.rig.projector.flashedScalerImage() != package.scalerBytes)
                violated("success shown without the scaler image");
        }
        w.told.check(w.rig.projector.flashedUpImage() == package.upBytes &&
                         w.rig.projector.flashedScalerImage() == package.scalerBytes,
                     [this](const char* what) { violated(what); });
    }

    // A confirmed upgrade ends in success or with a message saying it failed.
    void checkUpgradeEnding(std::size_t from)
    {
        bool confirmed = false;
        bool succeeded = false;
        for (std::size_t i = from; i < boxes().size(); ++i) {
            if (startsWith(boxes()[i].text, kConfirmationStart) && boxes()[i].answer == Answer::Yes) confirmed = true;
            if (startsWith(boxes()[i].text, kDownloadComplete)) succeeded = true;
        }
        if (confirmed && !succeeded && !criticalSince(from)) violated("a failed upgrade ended without a message");
    }

    void checkWindowGivenBack()
    {
        const auto& v = w.rig.view;
        if (w.rig.tool.state.DownloadBusy) violated("DownloadBusy left set");
        if (v.busyPointer()) violated("busy pointer left on");
        if (!v.enabled(Control::pExit)) violated("Exit item left disabled");
        if (v.processingWindowVisible()) violated("processing window left open");
        const bool buttonsOff = !v.enabled(Control::cmdUpgradeSW) || !v.enabled(Control::cmdOpenFile1) ||
                                !v.enabled(Control::cmdTest) || !v.enabled(Control::RS_232);
        if (buttonsOff && !criticalSince(0)) violated("work controls disabled without a message explaining it");
        if (!v.unexpected().empty()) violated(v.unexpected().front());
        if (w.rig.processes.running() > 0 || w.isp.leftSomethingRunning()) violated("a started program left running");
    }

    // The second projector's scaler flash: success only when its scaler
    // holds the image, and its window given back with nothing left running.
    void checkSecondJob()
    {
        const SecondJob* job = w.second.get();
        if (!job) return;
        for (const auto& m : job->view.messages())
            if (startsWith(m.text, kDownloadComplete) && job->projector.flashedScalerImage() != package.scalerBytes)
                violated("second projector: success shown without the scaler image");
        if (job->tool.state.DownloadBusy) violated("second projector: DownloadBusy left set");
        if (job->processes.running() > 0 || job->isp.leftSomethingRunning())
            violated("second projector: a started program left running");
    }
};

void runStep(World& w, Step step, const SharedPackage& package, Checker& check)
{
    auto& v = w.rig.view;
    Tool& tool = w.rig.tool;
    switch (step) {
    case Step::CommunicationTest:
        if (v.enabled(Control::cmdTest)) cmdTest_Click(tool);
        break;
    case Step::OpenFile:
        if (!v.enabled(Control::cmdOpenFile1)) break;
        v.chooseFileNext(package.listFile);
        cmdOpenFile1_Click(tool);
        break;
    case Step::PortDialog:
        if (!v.enabled(Control::RS_232)) break;
        RS_232_Click(tool);
        v.setPortListText("1");
        RS232_Click(tool);
        break;
    case Step::Upgrade: {
        if (!v.enabled(Control::cmdUpgradeSW)) break;
        const std::size_t from = v.messages().size();
        v.answerNext(Answer::Yes);
        cmdUpgradeSW_Click(tool);
        check.checkUpgradeEnding(from);
        break;
    }
    }
}

} // namespace

SharedPackage makeSharedPackage(const std::string& folder)
{
    auto p = testing::makePackage(folder);
    // The projector's loader checks the image's own trailer, so a byte
    // corrupted on the line is refused however the length comes out.
    p.upBytes = sim::withIntegrityTrailer(p.upBytes);
    testing::writeFile(p.upImage, p.upBytes);
    testing::writeFile(p.listFile, testing::listText(p.upImage, p.scalerImage, testing::checksumText(p.upBytes),
                                                     testing::checksumText(p.scalerBytes)));
    return {folder, p.listFile, p.scalerImage, p.upBytes, p.scalerBytes};
}

Verdict runScenario(const Scenario& scenario, const SharedPackage& package)
{
    Verdict verdict;
    World w(scenario, package);
    Checker check{w, package, verdict};
    try {
        Form_Load(w.rig.tool);
        for (Step step : scenario.steps) {
            runStep(w, step, package, check);
            w.rig.loop.runUntil(w.rig.loop.now() + kIdleBetweenSteps);
            if (w.rig.loop.now() > kVirtualTimeLimit) throw sim::HangDetected{w.rig.loop.now()};
        }
        check.checkSuccessIsTrue();
        check.checkWindowGivenBack();
        check.checkSecondJob();
    } catch (const sim::HangDetected& h) {
        check.violated("no end after " + std::to_string(h.at / 1000000) + " s of virtual time");
    }
    for (const auto& m : w.rig.view.messages()) verdict.messages.push_back(m.text);
    verdict.virtualSeconds = static_cast<double>(w.rig.loop.now()) / 1e6;
    return verdict;
}

} // namespace fw::explore
