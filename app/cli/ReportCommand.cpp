#include "ReportCommand.h"

#include <QGuiApplication>
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <vector>

#include "CliOptions.h"
#include "ground/FilePath.h"
#include "platform/Terminal.h"
#include "qt/ProgramArguments.h"
#include "qt/ProgramFolder.h"
#include "qt/RecordSetup.h"
#include "qt/ReportFiles.h"
#include "qt/ReportProgram.h"
#include "qt/Text8.h"
#include "record/HistoryReader.h"
#include "report/BuildReport.h"

namespace fw::cli {

namespace {

constexpr int kWritten = 0;
constexpr int kNothingWritten = 1;
constexpr int kExitUsage = 2;
constexpr std::size_t kBatch = 2000;

struct Chosen {
    std::vector<RecordEntry> entries;  // newest first
    std::size_t idMatches = 0;
};

// The newest `last` entries, or those whose id begins with `id` (read to
// the file's start, so an id matching two is told).
Chosen choose(HistoryReader& reader, const ReportRequest& request, std::ostream& err)
{
    Chosen chosen;
    const std::size_t wanted = request.id.empty() ? std::max<std::size_t>(request.last, 1) : kBatch;
    for (bool done = false; !done;) {
        HistoryReader::Batch batch = reader.next(request.id.empty() ? wanted - chosen.entries.size() : kBatch);
        for (const std::string& warning : batch.warnings) err << "fwupgrade: warning: " << warning << '\n';
        for (RecordEntry& e : batch.entries) {
            if (!request.id.empty() && e.id.rfind(request.id, 0) != 0) continue;
            ++chosen.idMatches;
            chosen.entries.push_back(std::move(e));
        }
        done = batch.done || (request.id.empty() && chosen.entries.size() >= wanted);
    }
    return chosen;
}

} // namespace

int writeReport(const ReportRequest& request, std::ostream& out, std::ostream& err)
{
    HistoryReader reader(request.recordPath);
    if (!reader.found()) {
        std::error_code ignored;
        const bool exists = std::filesystem::exists(filePath(request.recordPath), ignored);
        err << "fwupgrade: cannot read the service record " << request.recordPath << ": "
            << (exists ? "it cannot be opened" : "there is no such file") << '\n';
        return kNothingWritten;
    }
    Chosen chosen = choose(reader, request, err);
    if (chosen.entries.empty()) {
        err << "fwupgrade: no entry " << (request.id.empty() ? "in " : "with the id " + request.id + " in ")
            << request.recordPath << '\n';
        return kNothingWritten;
    }
    if (!request.id.empty() && chosen.idMatches > 1) {
        err << "fwupgrade: " << chosen.idMatches << " entries have ids beginning with " << request.id
            << "; give more of it\n";
        return kNothingWritten;
    }
    // The pages in the order the operations started.
    std::reverse(chosen.entries.begin(), chosen.entries.end());
    const reports::Report report = reports::buildReport(chosen.entries, qt::systemUtcOffset());
    const std::string& file = request.pdf.empty() ? request.html : request.pdf;
    const QString path = qt::toQt(file);
    const std::string failure = request.pdf.empty() ? qt::writeReportHtml(report, path) : qt::writeReportPdf(report, path);
    if (!failure.empty()) {
        err << "fwupgrade: " << failure << '\n';
        return kNothingWritten;
    }
    out << file << ": " << report.counts << '\n';
    return kWritten;
}

int reportMain(int argc, char* argv[])
{
    qt::drawWithoutDisplay();
    qt::keepFreedMemoryForReuse();
    QGuiApplication app(argc, argv);
    qt::setProgramName();
    platform::useUtf8Output();
    const auto parsed = parseCommandLine(qt::ownArguments(argc, argv));
    if (parsed.help) {
        std::cout << kUsage << '\n';
        return kWritten;
    }
    if (!parsed.options) {
        std::cerr << "fwupgrade: " << parsed.error << " (fwupgrade --help shows the usage)\n";
        return kExitUsage;
    }
    const CliOptions& o = *parsed.options;
    const ReportRequest request{o.record.empty() ? qt::defaultRecordPath(false) : o.record, o.last, o.id, o.pdf,
                                o.html};
    return writeReport(request, std::cout, std::cerr);
}

} // namespace fw::cli
