// fwupgrade: the Firmware Upgrade Tool on a terminal. Same checks, same
// protocol and same messages as the window, printed as lines.

#include <QCoreApplication>
#include <QDir>
#include <QThread>
#include <fstream>
#include <iostream>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

#include "CliOptions.h"
#include "Console.h"
#include "HistoryCommand.h"
#include "InternalError.h"
#include "Job.h"
#include "qt/ProcessTree.h"
#include "qt/ProgramArguments.h"
#include "PortPaths.h"
#include "PortsCommand.h"
#include "ReportCommand.h"
#include "ground/FilePath.h"
#include "ground/SettingsFile.h"
#include "qt/ProgramFolder.h"
#include "qt/AdapterFacts.h"
#include "qt/QtSerialDevices.h"
#include "qt/RecordSetup.h"
#include "platform/Terminal.h"
#include "qt/Text8.h"
#include "window/Tool.h"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

std::string prefixFor(const fw::cli::CliOptions& options, int port)
{
    return options.ports.size() > 1 ? "[" + fw::portName(port) + "] " : std::string{};
}

} // namespace

int main(int argc, char* argv[])
{
    // A report is drawn (fonts for its PDF): Qt GUI's application, made apart.
    if (argc > 1 && std::string_view(argv[1]) == "report") return fw::cli::reportMain(argc, argv);
    QCoreApplication app(argc, argv);
    fw::qt::stopProcessTreesOnTermination();
    fw::qt::setProgramName();
    fw::platform::useUtf8Output();
    const std::vector<std::string> arguments = fw::qt::ownArguments(argc, argv);
    const auto parsed = fw::cli::parseCommandLine(arguments);
    if (parsed.help) {
        std::cout << fw::cli::kUsage << '\n';
        if (const std::string docs = fw::qt::documentationFolder(); !docs.empty())
            std::cout << "Documentation: " << docs << '\n';
        std::cout << "Program folder: " << fw::qt::programFolder(false) << '\n';
        return 0;
    }
    if (!parsed.options) {
        std::cerr << "fwupgrade: " << parsed.error << " (fwupgrade --help shows the usage)\n";
        return kExitUsage;
    }
    fw::cli::CliOptions options = *parsed.options;
    if (options.folder.empty())
        options.folder = fw::qt::programFolder(true);
    if (options.command == fw::cli::Command::Ports) {
        fw::qt::QtSerialDevices devices;
        fw::cli::listPorts(devices, fw::SettingsFile(options.folder), options.json, std::cout,
                           fw::qt::portGrabbersRunning(), &std::cerr);
        return 0;
    }
    const bool ownRecord = options.record.empty();
    const std::string recordPath = ownRecord ? fw::qt::defaultRecordPath(false) : options.record;
    if (options.command == fw::cli::Command::History)
        return fw::cli::printHistory(recordPath, options.last, options.json, std::cout, std::cerr);
    if (ownRecord) fw::qt::defaultRecordPath(true);  // the user's data folder, made on first use
    if (const auto error = fw::cli::resolvePortPaths(options)) {
        std::cerr << "fwupgrade: " << *error << '\n';
        return kExitUsage;
    }

    std::ofstream transcriptFile;
    std::mutex transcriptMutex;
    if (!options.transcript.empty()) {
        transcriptFile.open(fw::filePath(options.transcript), std::ios::out | std::ios::trunc);
        if (!transcriptFile) {
            std::cerr << "fwupgrade: cannot write the transcript " << options.transcript << '\n';
            return kExitUsage;
        }
    }

    if (options.ports.empty()) options.ports.push_back(0);  // check: no port involved
    // One status line redrawn in place serves one projector; several print
    // plain lines. JSON lines leave standard output to themselves: the
    // confirmation is asked on standard error.
    fw::cli::Console console(std::cout, !options.json && fw::platform::standardOutputIsTerminal() &&
                                            options.ports.size() == 1);
    fw::cli::Console errors(std::cerr, false);
    fw::cli::Console& prompts = options.json ? errors : console;

    std::vector<fw::cli::JobOutcome> outcomes(options.ports.size());
    auto work = [&](std::size_t i) {
        const int port = options.ports[i];
        const std::string prefix = prefixFor(options, port);
        fw::cli::TranscriptSink sink;
        if (transcriptFile.is_open())
            sink = [&, prefix](const std::string& line) {
                std::lock_guard lock(transcriptMutex);
                transcriptFile << prefix << line << '\n';
            };
        outcomes[i] = fw::cli::reportingInternalErrors([&, port, prefix, sink] {
            return fw::cli::runJob(options, port, {console, prompts, prefix, recordPath, sink});
        });
    };

    if (options.ports.size() == 1) {
        work(0);
    } else {
        // Each projector runs on its own thread with its own event loop.
        std::vector<std::unique_ptr<QThread>> threads;
        for (std::size_t i = 0; i < options.ports.size(); ++i) {
            threads.emplace_back(QThread::create([&work, i] { work(i); }));
            threads.back()->start();
        }
        for (auto& t : threads) t->wait();
    }

    int status = 0;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        if (outcomes[i].succeeded) continue;
        status = kExitFailed;
        std::cerr << "fwupgrade: " << prefixFor(options, options.ports[i]) << outcomes[i].reason << '\n';
    }
    return status;
}
