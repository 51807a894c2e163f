// fwupgrade: the Firmware Upgrade Tool on a terminal. Same checks, same
// protocol and same messages as the window, printed as lines.

#include <QCoreApplication>
#include <QDir>
#include <fstream>
#include <iostream>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

#include "CliOptions.h"
#include "Console.h"
#include "HistoryCommand.h"
#include "ConsoleQuestion.h"
#include "Job.h"
#include "qt/ProcessTree.h"
#include "qt/ProgramArguments.h"
#include "PortsCommand.h"
#include "ReportCommand.h"
#include "ground/FilePath.h"
#include "ground/SettingsFile.h"
#include "qt/ProgramFolder.h"
#include "qt/AdapterFacts.h"
#include "qt/QtSerialDevices.h"
#include "qt/ProjectorPorts.h"
#include "qt/RecordSetup.h"
#include "platform/Terminal.h"
#include "qt/Text8.h"
#include "ground/Texts.h"
#include "job/Question.h"
#include "job/VenueReport.h"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

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
    if (const auto error = fw::cli::takeVenue(options)) {
        std::cerr << "fwupgrade: " << *error << '\n';
        return kExitUsage;
    }
    std::vector<std::string> portTexts;
    for (const fw::cli::ProjectorArg& p : options.projectors) portTexts.push_back(p.port);
    const fw::qt::PortAssignment assigned = fw::qt::assignPortNumbers(portTexts, fw::SettingsFile(options.folder));
    if (!assigned.error.empty()) {
        std::cerr << "fwupgrade: " << assigned.error << '\n';
        return kExitUsage;
    }
    std::vector<fw::cli::RunRow> rows;
    for (std::size_t i = 0; i < options.projectors.size(); ++i)
        rows.push_back({options.projectors[i].label, assigned.numbers[i]});
    if (rows.empty()) rows.push_back({});  // check: no port involved

    std::ofstream transcriptFile;
    std::mutex transcriptMutex;
    fw::cli::TranscriptSink transcript;
    if (!options.transcript.empty()) {
        transcriptFile.open(fw::filePath(options.transcript), std::ios::out | std::ios::trunc);
        if (!transcriptFile) {
            std::cerr << "fwupgrade: cannot write the transcript " << options.transcript << '\n';
            return kExitUsage;
        }
        transcript = [&](const std::string& line) {
            std::lock_guard lock(transcriptMutex);
            transcriptFile << line << '\n';
        };
    }

    // One status line redrawn in place serves one projector; several print
    // plain lines. JSON lines leave standard output to themselves: the
    // confirmation is asked on standard error.
    fw::cli::Console console(std::cout, !options.json && fw::platform::standardOutputIsTerminal() && rows.size() == 1);
    fw::cli::Console errors(std::cerr, false);
    fw::cli::Console& prompts = options.json ? errors : console;

    // Several projectors are asked for once, before any of them starts; one
    // alone asks when its checks are through, as the window does.
    fw::AnsweredYes yes;
    const bool upgrade = options.command == fw::cli::Command::Upgrade;
    const bool askOnce = upgrade && !options.assumeYes && rows.size() > 1;
    if (askOnce) {
        std::vector<std::string> names;
        for (const fw::cli::RunRow& row : rows) names.push_back(fw::projectorName(row.label, row.port));
        if (!prompts.ask(fw::venueQuestion(names), std::cin)) {
            for (const fw::cli::RunRow& row : rows)
                std::cerr << "fwupgrade: " << fw::cli::prefixFor(row, rows.size()) << fw::texts::JobNotStarted << '\n';
            return kExitFailed;
        }
    }
    fw::cli::ConsoleQuestion askHere(prompts, fw::cli::prefixFor(rows[0], rows.size()), std::cin);
    fw::UpgradeQuestion& question = options.assumeYes || askOnce ? static_cast<fw::UpgradeQuestion&>(yes) : askHere;

    const std::vector<fw::JobOutcome> outcomes =
        fw::cli::runRows(options, rows, assigned.pathOfPort, question, options.assumeYes || askOnce,
                         {console, recordPath, transcript});
    console.flush();

    int status = 0;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        if (outcomes[i].succeeded) continue;
        status = kExitFailed;
        std::cerr << "fwupgrade: " << fw::cli::prefixFor(rows[i], rows.size()) << outcomes[i].failure << '\n';
    }
    return status;
}
