#include "Job.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>

#include "ConsolePrinter.h"
#include "job/VenueReport.h"
#include "qt/ProjectorPorts.h"
#include "qt/QtJobStation.h"
#include "qt/Text8.h"
#include "qt/VenueRun.h"

namespace fw::cli {

std::string prefixFor(const RunRow& row, std::size_t rows)
{
    if (!row.label.empty()) return "[" + row.label + " " + fw::portName(row.port) + "] ";
    return rows > 1 ? "[" + fw::portName(row.port) + "] " : std::string{};
}

fw::JobKind jobKindOf(const CliOptions& options)
{
    switch (options.command) {
    case Command::Test: return fw::JobKind::CommunicationTest;
    case Command::Upgrade: return fw::JobKind::Upgrade;
    case Command::Check:
    case Command::Ports:
    case Command::History:
    case Command::Report: break;
    }
    return options.projectors.empty() ? fw::JobKind::PackageCheck : fw::JobKind::ProjectorCheck;
}

namespace {

// Each row's station, with its own prefix on the transcript's lines.
fw::StationMaker stations(const CliOptions& options, const std::vector<RunRow>& rows,
                          const std::map<int, std::string>& pathOfPort, const RunOutput& output)
{
    qt::StationSetup setup;
    setup.program = "fwupgrade";
    setup.programFolder = options.folder;
    setup.workingDirectory = qt::fromQt(QDir::toNativeSeparators(QDir::currentPath()));
    setup.recordPath = output.recordPath;
    setup.devices = qt::runPortDevices(pathOfPort, fw::SettingsFile(options.folder));
    return [setup, rows, transcript = output.transcript, venue = options.venueName](std::size_t row,
                                                                                    fw::UpgradeQuestion& question) {
        qt::StationSetup own = setup;
        own.label = rows[row].label;
        if (!own.label.empty()) own.venue = venue;  // a --port projector is no venue's
        if (transcript)
            own.transcript = [transcript, prefix = prefixFor(rows[row], rows.size())](const std::string& line) {
                transcript(prefix + line);
            };
        return std::make_unique<qt::QtJobStation>(own, question);
    };
}

// Each row's printer, made on its own thread.
qt::ListenerMaker printers(const CliOptions& options, const std::vector<RunRow>& rows, bool answeredAhead,
                           Console& console)
{
    return [&options, rows, answeredAhead, &console](std::size_t row, fw::ProjectorJob& job) {
        std::vector<std::unique_ptr<fw::EventSink>> sinks;
        if (options.json)
            sinks.push_back(std::make_unique<JsonPrinter>(console, rows[row].port, rows[row].label));
        else
            sinks.push_back(std::make_unique<ConsolePrinter>(console, prefixFor(rows[row], rows.size()), job.clock(),
                                                             answeredAhead));
        return sinks;
    };
}

} // namespace

std::vector<fw::JobOutcome> runRows(const CliOptions& options, const std::vector<RunRow>& rows,
                                    const std::map<int, std::string>& pathOfPort, fw::UpgradeQuestion& question,
                                    bool answeredAhead, const RunOutput& output)
{
    std::vector<fw::JobRequest> requests;
    for (const RunRow& row : rows) requests.push_back({jobKindOf(options), row.port, options.listFile});
    qt::VenueRun run(std::move(requests), {options.oneFirst, options.atOnce},
                     stations(options, rows, pathOfPort, output), question,
                     printers(options, rows, answeredAhead, output.console));
    const std::string first = rows.empty() ? std::string() : fw::projectorName(rows[0].label, rows[0].port);
    const std::string notStarted = fw::notStartedMessage(jobKindOf(options), first);
    QEventLoop loop;
    QObject::connect(&run, &qt::VenueRun::finishedAll, &loop, &QEventLoop::quit);
    // JSON lines carry events only; the summary names these rows as well.
    if (!options.json)
        QObject::connect(&run, &qt::VenueRun::rowNotStarted, &loop, [&](int row) {
            output.console.line(prefixFor(rows[static_cast<std::size_t>(row)], rows.size()) + notStarted);
        });
    run.start();
    if (!run.finished()) loop.exec();

    std::vector<fw::JobOutcome> outcomes;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (run.turnOf(row) == fw::Turn::NotStarted) outcomes.push_back({false, fw::Reason::None, {}, notStarted});
        else outcomes.push_back(run.outcomeOf(row));
    }
    return outcomes;
}

} // namespace fw::cli
