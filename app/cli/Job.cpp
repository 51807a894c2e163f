#include "Job.h"

#include <QDir>
#include <QTimer>
#include <iostream>
#include <memory>
#include <optional>

#include "ConsoleView.h"
#include "IspFolder.h"
#include "PortPaths.h"
#include "ground/PortError.h"
#include "ground/Texts.h"
#include "link/TranscriptPort.h"
#include "platform/IspToolRunner.h"
#include "qt/PortDevice.h"
#include "qt/QtEventLoop.h"
#include "qt/QtProcessRunner.h"
#include "qt/QtSerialPort.h"
#include "qt/Text8.h"
#include "window/MainWindow.h"
#include "window/PortMessages.h"
#include "window/ProjectorChecks.h"
#include "window/Tool.h"
#include "window/WindowOps.h"
#include "window/Upgrade.h"

namespace fw::cli {

namespace {

// Everything one projector's work needs, wired as the window wires it.
struct Station {
    Station(const CliOptions& options, Console& console, const std::string& prefix, const TranscriptSink& transcript)
        : serial(cliPortDevices(options)), ispTool(platform::ispToolRunner(processes, cliPortDevices(options))),
          view(console, prefix, loop, options.assumeYes, std::cin,
               SettingsFile(options.folder).ispTimeLimitSeconds())
    {
        if (transcript) logged.emplace(serial, loop, transcript);
        tool = std::make_unique<Tool>(port(), loop, view, *ispTool, options.folder,
                                      qt::fromQt(QDir::toNativeSeparators(QDir::currentPath())));
        QObject::connect(&timer1, &QTimer::timeout, [this] { Timer1_Timer(*tool); });
        timer1.start(1000);
    }
    SerialPort& port() { return logged ? static_cast<SerialPort&>(*logged) : serial; }

    qt::QtEventLoop loop;
    qt::QtSerialPort serial;
    std::optional<TranscriptPort> logged;
    qt::QtProcessRunner processes;
    std::unique_ptr<ProcessRunner> ispTool;  // a Windows build of the tool runs through wine
    ConsoleView view;
    std::unique_ptr<Tool> tool;
    QTimer timer1;
};

JobOutcome failed(Tool& tool, const std::string& what)
{
    const std::string& why = tool.state.statusLine;
    return {false, why.empty() ? what : what + ": " + why};
}

bool openPort(Tool& tool, int number)
{
    try {
        tool.view.setPortListText(std::to_string(number));
        tool.port.setCommPort(static_cast<int16_t>(number));
        tool.port.setPortOpen(true);
        return true;
    } catch (const PortError& e) {
        if (!reportPortSetupFailure(tool, e)) report(tool, texts::LinkFailed, MessageStyle::Critical);
        return false;
    }
}

JobOutcome checkPackage(Tool& tool, const std::string& listFile, Console& console, const std::string& prefix)
{
    checkPackage(tool, listFile);
    if (!tool.state.ListFileValid) return failed(tool, "the package is not valid");
    const FirmwarePackage& p = tool.state.package;
    console.line(prefix + "Package valid: uP image " + p.UpImagePath + " (" + std::to_string(p.UpImageSize) +
                 " bytes), scaler image " + p.ScalerImagePath + " (" + std::to_string(p.ScalerImageSize) + " bytes)");
    return {true, {}};
}

JobOutcome communicationTest(Tool& tool, int port)
{
    if (!openPort(tool, port)) return failed(tool, "cannot open the port");
    if (cmdTest_Click(tool).ok()) return {true, {}};
    return failed(tool, "the projector communication test failed");
}

JobOutcome upgrade(Tool& tool, const CliOptions& options, int port, Console& console, const std::string& prefix)
{
    if (JobOutcome check = checkPackage(tool, options.listFile, console, prefix); !check.succeeded) return check;
    const IspFolder ispFolder = prepareIspFolder(options.folder, port);
    if (!ispFolder.failure.empty()) return {false, ispFolder.failure};
    tool.ispFolder = ispFolder.path;
    if (!openPort(tool, port)) return failed(tool, "cannot open the port");
    if (!linkAnswers(tool).ok()) return failed(tool, "the projector does not answer");
    if (!modelAllowsUpgrade(tool)) return failed(tool, "the package does not suit this projector");
    switch (cmdUpgradeSW_Click(tool)) {
    case UpgradeOutcome::Complete: return {true, {}};
    case UpgradeOutcome::Declined: return {false, "the upgrade was not started"};
    case UpgradeOutcome::NotReady:
    case UpgradeOutcome::LinkFailed:
    case UpgradeOutcome::UpFailed:
    case UpgradeOutcome::ScalerFailed: break;
    }
    return failed(tool, "the upgrade failed");
}

} // namespace

JobOutcome runJob(const CliOptions& options, int port, Console& console, const std::string& prefix,
                  const TranscriptSink& transcript)
{
    Station station(options, console, prefix, transcript);
    Tool& tool = *station.tool;
    switch (options.command) {
    case Command::Check: return checkPackage(tool, options.listFile, console, prefix);
    case Command::Test: return communicationTest(tool, port);
    case Command::Upgrade: return upgrade(tool, options, port, console, prefix);
    case Command::Ports: break;  // listed by main, never a job
    }
    return {false, "unknown command"};
}

} // namespace fw::cli
