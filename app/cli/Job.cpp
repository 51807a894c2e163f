#include "Job.h"

#include <QDir>
#include <QTimer>
#include <iostream>
#include <memory>
#include <optional>

#include "ConsolePrinter.h"
#include "ConsoleView.h"
#include "IspFolder.h"
#include "PortPaths.h"
#include "ground/PortError.h"
#include "ground/Texts.h"
#include "link/TranscriptPort.h"
#include "qt/RelayingRunner.h"
#include "qt/PortDevice.h"
#include "qt/QtEventLoop.h"
#include "qt/QtProcessRunner.h"
#include "qt/AnyPort.h"
#include "qt/RecordSetup.h"
#include "qt/Text8.h"
#include "record/ServiceRecord.h"
#include "window/MainWindow.h"
#include "window/PortMessages.h"
#include "window/ProjectorChecks.h"
#include "window/Telling.h"
#include "window/Tool.h"
#include "window/Upgrade.h"
#include "window/WindowOps.h"

namespace fw::cli {

namespace {

// The last box the window would have left the technician with: the why
// of a failure, for the summary on standard error.
struct LastMessage : EventSink {
    void tell(const Event& event) override
    {
        const auto* shown = std::get_if<MessageShown>(&event);
        if (shown && (shown->kind == MessageKind::Error || shown->kind == MessageKind::Information)) text = shown->text;
    }
    std::string text;
};

// Everything one projector's work needs, wired as the window wires it, with
// its listeners: the printer, the service record, the summary's last message.
struct Station {
    Station(const CliOptions& options, int port, const JobOutput& output)
        : serial(cliPortDevices(options)), ispTool(qt::ispToolRunner(processes, cliPortDevices(options))),
          view(output.prompts, output.prefix, options.assumeYes, std::cin),
          record(qt::recordSetup("fwupgrade", output.recordPath, cliPortDevices(options)))
    {
        if (output.transcript) logged.emplace(serial, loop, output.transcript);
        tool = std::make_unique<Tool>(this->port(), loop, view, *ispTool, options.folder,
                                      qt::fromQt(QDir::toNativeSeparators(QDir::currentPath())));
        if (options.json) printer = std::make_unique<JsonPrinter>(output.console, port);
        else printer = std::make_unique<ConsolePrinter>(output.console, output.prefix, loop, options.assumeYes);
        tool->events.add(*printer);
        tool->events.add(record);
        tool->events.add(lastMessage);
        QObject::connect(&timer1, &QTimer::timeout, [this] { Timer1_Timer(*tool); });
        timer1.start(1000);
    }
    SerialPort& port() { return logged ? static_cast<SerialPort&>(*logged) : serial; }

    qt::QtEventLoop loop;
    qt::AnyPort serial;
    std::optional<TranscriptPort> logged;
    qt::QtProcessRunner processes;
    std::unique_ptr<ProcessRunner> ispTool;  // a Windows build of the tool runs through wine
    ConsoleView view;
    std::unique_ptr<EventSink> printer;
    ServiceRecord record;
    LastMessage lastMessage;
    std::unique_ptr<Tool> tool;
    QTimer timer1;
};

// A failed job: what failed, and why as the last message said it.
JobOutcome failed(const Station& station, const std::string& what)
{
    const std::string& why = station.lastMessage.text;
    return {false, why.empty() ? what : what + ": " + why};
}

JobOutcome ended(ToldOperation& told, Reason reason, const Station& station, const std::string& what)
{
    told.end(reason);
    if (reason == Reason::None) return {true, {}};
    return failed(station, what);
}

// The number the port goes by in the operation's account, before it opens.
void selectPort(Tool& tool, int number)
{
    tool.view.setPortListText(std::to_string(number));
    tool.port.setCommPort(static_cast<int16_t>(number));
}

bool openPort(Tool& tool)
{
    try {
        tool.port.setPortOpen(true);
        return true;
    } catch (const PortError& e) {
        if (!reportPortSetupFailure(tool, e)) report(tool, texts::LinkFailed, MessageStyle::Critical);
        return false;
    }
}

Reason reasonOf(ModelMatch match)
{
    switch (match) {
    case ModelMatch::Matches: return Reason::None;
    case ModelMatch::Mismatch: return Reason::ModelMismatch;
    case ModelMatch::NoPackage: return Reason::PackageNotValid;
    case ModelMatch::NotAnswered: return Reason::NoAnswer;
    case ModelMatch::PortFailed: break;
    }
    return Reason::PortFailed;
}

JobOutcome checkPackage(Station& station, const std::string& listFile)
{
    ToldOperation told(*station.tool, Operation::Check);
    const bool valid = checkPackage(*station.tool, listFile);
    return ended(told, valid ? Reason::None : Reason::PackageNotValid, station, "the package is not valid");
}

JobOutcome communicationTest(Station& station, int port)
{
    Tool& tool = *station.tool;
    selectPort(tool, port);
    ToldOperation told(tool, Operation::Test);
    if (!openPort(tool)) return ended(told, Reason::PortNotOpened, station, "cannot open the port");
    cmdTest_Click(tool);
    return ended(told, told.nestedReason(), station, "the projector communication test failed");
}

// The checks the window makes before it enables "Upgrade SW", then the
// upgrade: one operation in the account, whichever step ends it.
JobOutcome upgrade(Station& station, const CliOptions& options, int port)
{
    Tool& tool = *station.tool;
    selectPort(tool, port);
    const bool packageValid = checkPackage(tool, options.listFile);
    ToldOperation told(tool, Operation::Upgrade);
    if (!packageValid) return ended(told, Reason::PackageNotValid, station, "the package is not valid");
    const IspFolder ispFolder = prepareIspFolder(options.folder, port);
    if (!ispFolder.failure.empty()) {
        told.end(Reason::IspFolderUnusable);
        return {false, ispFolder.failure};
    }
    tool.ispFolder = ispFolder.path;
    if (!openPort(tool)) return ended(told, Reason::PortNotOpened, station, "cannot open the port");
    if (const LinkCheck link = linkAnswers(tool); !link.ok())
        return ended(told, reasonOf(link), station, "the projector does not answer");
    if (const ModelMatch model = judgeModel(tool); model != ModelMatch::Matches)
        return ended(told, reasonOf(model), station, "the package does not suit this projector");
    cmdUpgradeSW_Click(tool);
    const Reason reason = told.nestedReason();
    if (reason == Reason::Declined) {
        told.end(reason);
        return {false, "the upgrade was not started"};
    }
    return ended(told, reason, station, "the upgrade failed");
}

} // namespace

JobOutcome runJob(const CliOptions& options, int port, const JobOutput& output)
{
    Station station(options, port, output);
    switch (options.command) {
    case Command::Check: return checkPackage(station, options.listFile);
    case Command::Test: return communicationTest(station, port);
    case Command::Upgrade: return upgrade(station, options, port);
    case Command::Ports:
    case Command::History:
    case Command::Report: break;  // answered by main, never a job
    }
    return {false, "unknown command"};
}

} // namespace fw::cli
