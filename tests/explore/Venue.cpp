#include "Venue.h"

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <random>
#include <thread>

#include "PackageMaker.h"
#include "SimProcessRunner.h"
#include "SimSerialPort.h"
#include "TempFolder.h"
#include "VirtualEventLoop.h"
#include "isp/SimIspTool.h"
#include "ground/Texts.h"
#include "job/ProjectorJob.h"
#include "record/ServiceRecord.h"
#include "transfer/IspCommandLine.h"
#include "transfer/ToolLog.h"

namespace fw::explore {

namespace {

constexpr uint64_t kRowSeedStride = 64;  // each row's world comes from a seed of its own
constexpr std::size_t kMostRows = 5;

int16_t portOf(std::size_t row) { return static_cast<int16_t>(row + 1); }

// What one row's job told and left behind, kept once its world is gone.
struct RowResult {
    bool ran = false;
    JobOutcome outcome;
    ToldEndings told;
    bool upWhole = false;
    bool scalerWhole = false;
    bool leftSomethingRunning = false;
    std::string hang;
    double virtualSeconds = 0;
};

RecordSetup recordAt(const std::string& path)
{
    RecordSetup setup;
    setup.path = path;
    setup.program = "fwup-explore";
    setup.host = "venue";
    setup.user = "tech";
    setup.portFacts = [](int n) { return PortFacts{"/dev/ttySIM" + std::to_string(n), {}, {}}; };
    return setup;
}

// One row's projector, port, ISP tool and job on a clock of its own, with
// the faults its scenario drew, in the venue's shared folders and record.
struct RowWorld {
    RowWorld(const Scenario& s, int16_t number, const std::string& programFolder, const std::string& workFolder,
             const std::string& recordPath, RowResult& result)
        : projector(s.projector), port(loop, projector), processes(loop), isp(loop, projector, port, s.isp, number),
          job(port, loop, processes, programFolder, workFolder, yes), record(recordAt(recordPath))
    {
        port.setAvailability(number, s.portHeldAtStart ? sim::PortAvailability::HeldByOther
                                                        : sim::PortAvailability::Projector);
        port.setDriverBuffer(s.driverBufferBytes);
        port.setReceiveEventDelay(sim::ms(s.receiveEventLagMs));
        port.setNetworkDelay(sim::ms(s.networkDelayMs));
        if (s.deviceFailsAfterBytes) port.failDeviceAfterBytes(*s.deviceFailsAfterBytes);
        if (s.portHeldFromMs)
            loop.schedule(sim::ms(*s.portHeldFromMs),
                          [this, number] { port.setAvailability(number, sim::PortAvailability::HeldByOther); });
        isp.installAs(processes, job.tool().programFile(kIspToolName));
        job.events().add(result.told);
        job.events().add(record);
    }

    sim::VirtualEventLoop loop;
    sim::ProjectorModel projector;
    sim::SimSerialPort port;
    sim::SimProcessRunner processes;
    sim::isp::SimIspTool isp;
    AnsweredYes yes;
    ProjectorJob job;
    ServiceRecord record;
};

RowResult runRow(const Scenario& s, std::size_t row, const std::string& programFolder, const SharedPackage& package,
                 const std::string& recordPath)
{
    RowResult result;
    result.ran = true;
    if (s.oldLogStuck) {
        const std::string folder = programFolder + "/isp-COM" + std::to_string(portOf(row));
        std::filesystem::create_directories(ispLogPath(folder) + "/held");
    }
    RowWorld w(s, portOf(row), programFolder, package.folder, recordPath, result);
    try {
        result.outcome = w.job.run({JobKind::Upgrade, portOf(row), package.listFile});
    } catch (const sim::HangDetected& h) {
        result.hang = "no end after " + std::to_string(h.at / 1000000) + " s of virtual time";
    }
    result.upWhole = w.projector.flashedUpImage() == package.upBytes;
    result.scalerWhole = w.projector.flashedScalerImage() == package.scalerBytes;
    result.leftSomethingRunning = w.processes.running() > 0 || w.isp.leftSomethingRunning();
    result.virtualSeconds = static_cast<double>(w.loop.now()) / 1e6;
    return result;
}

// The rows' jobs on threads of their own, started as the schedule says;
// the most rows ever at work at once.
std::size_t runAll(const VenueScenario& v, const std::string& programFolder, const SharedPackage& package,
                   const std::string& recordPath, std::vector<RowResult>& results, JobSchedule& schedule)
{
    std::mutex mutex;
    std::condition_variable ended;
    std::vector<bool> done(v.rows.size(), false);
    std::vector<std::thread> threads(v.rows.size());
    std::size_t most = 0;
    auto launch = [&] {
        for (const std::size_t row : schedule.next())
            threads[row] = std::thread([&, row] {
                RowResult result = runRow(v.rows[row], row, programFolder, package, recordPath);
                std::lock_guard lock(mutex);
                results[row] = std::move(result);
                done[row] = true;
                ended.notify_all();
            });
        most = std::max(most, schedule.running());
    };
    launch();
    while (!schedule.finished()) {
        std::unique_lock lock(mutex);
        ended.wait(lock, [&] {
            for (std::size_t row = 0; row < done.size(); ++row)
                if (done[row] && schedule.turnOf(row) == Turn::Running) return true;
            return false;
        });
        for (std::size_t row = 0; row < done.size(); ++row)
            if (done[row] && schedule.turnOf(row) == Turn::Running) schedule.ended(row, results[row].outcome.succeeded);
        lock.unlock();
        launch();
    }
    for (std::thread& t : threads)
        if (t.joinable()) t.join();
    return most;
}

std::string settingsText(const VenueScenario& v)
{
    if (!v.ispTimeLimitSeconds) return {};
    return "[ISP]\r\nTIMELIMIT=" + std::to_string(*v.ispTimeLimitSeconds) + "\r\n";
}

// The record's end lines, one a started row, each on a line of its own.
void checkRecord(const std::string& path, const std::vector<RowResult>& results, Verdict& verdict)
{
    std::ifstream in(path);
    std::vector<std::string> endLines;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line.front() != '{' || line.back() != '}')
            verdict.violations.push_back("record: a line cut or mixed: " + line);
        if (line.find("\"state\":\"ended\"") != std::string::npos) endLines.push_back(line);
    }
    for (std::size_t row = 0; row < results.size(); ++row) {
        const std::string port = "\"number\":" + std::to_string(portOf(row)) + ",";
        const auto count = std::count_if(endLines.begin(), endLines.end(),
                                         [&](const std::string& l) { return l.find(port) != std::string::npos; });
        const RowResult& r = results[row];
        if (count != (r.ran && r.hang.empty() ? 1 : 0))
            verdict.violations.push_back("row " + std::to_string(row) + ": " + std::to_string(count) +
                                         " end lines in the record");
        for (const std::string& l : endLines) {
            if (l.find(port) == std::string::npos) continue;
            const bool toldSucceeded = l.find("\"outcome\":\"succeeded\"") != std::string::npos;
            if (toldSucceeded != r.outcome.succeeded)
                verdict.violations.push_back("row " + std::to_string(row) + ": the record's outcome is not the row's");
        }
    }
}

void checkRow(std::size_t row, const RowResult& r, Verdict& verdict)
{
    const std::string who = "row " + std::to_string(row) + ": ";
    auto violated = [&](const std::string& what) { verdict.violations.push_back(who + what); };
    if (!r.hang.empty()) violated(r.hang);
    const bool both = r.upWhole && r.scalerWhole;
    for (const std::string& box : r.told.boxes)
        if (startsWith(box, kDownloadComplete) && !both) violated("Download complete shown without both images");
    r.told.check(both, violated);
    if (r.outcome.succeeded && !both) violated("the job succeeded without both images");
    if (r.outcome.succeeded != (r.outcome.message == texts::DownloadComplete))
        violated("its result is not the message it was left with: " + r.outcome.message);
    if (r.leftSomethingRunning) violated("a started program left running");
    if (!r.outcome.succeeded && r.outcome.failure.empty()) violated("a failure without a reason");
    for (const std::string& box : r.told.boxes) verdict.messages.push_back(who + box);
}

void checkTurns(const VenueScenario& v, const JobSchedule& schedule, const std::vector<RowResult>& results,
                std::size_t most, Verdict& verdict)
{
    if (v.options.atOnce != 0 && most > v.options.atOnce)
        verdict.violations.push_back(std::to_string(most) + " rows at work at once, more than " +
                                     std::to_string(v.options.atOnce));
    if (!v.options.oneFirst) return;
    const bool firstSucceeded = results[0].outcome.succeeded;
    for (std::size_t row = 1; row < results.size(); ++row) {
        if (results[row].ran != firstSucceeded)
            verdict.violations.push_back("row " + std::to_string(row) + (firstSucceeded ? " never started" : " started") +
                                         " after the first " + (firstSucceeded ? "succeeded" : "failed"));
        if (!firstSucceeded && schedule.turnOf(row) != Turn::NotStarted)
            verdict.violations.push_back("row " + std::to_string(row) + " not told it was left alone");
    }
}

} // namespace

VenueScenario drawVenue(uint64_t seed)
{
    VenueScenario v;
    v.seed = seed;
    std::mt19937_64 rng(seed);
    const std::size_t rows = 2 + std::uniform_int_distribution<std::size_t>(0, kMostRows - 2)(rng);
    for (std::size_t row = 0; row < rows; ++row) {
        v.rows.push_back(drawScenario(seed * kRowSeedStride + row));
        if (!v.ispTimeLimitSeconds) v.ispTimeLimitSeconds = v.rows.back().ispTimeLimitSeconds;
    }
    v.options.oneFirst = std::bernoulli_distribution(0.3)(rng);
    if (std::bernoulli_distribution(0.4)(rng))
        v.options.atOnce = std::uniform_int_distribution<std::size_t>(1, rows)(rng);
    return v;
}

std::string describe(const VenueScenario& v)
{
    std::string text = "venue seed " + std::to_string(v.seed) + ": " + std::to_string(v.rows.size()) + " rows";
    if (v.options.oneFirst) text += ", one first";
    if (v.options.atOnce) text += ", at most " + std::to_string(v.options.atOnce) + " at once";
    if (v.ispTimeLimitSeconds) text += ", TIMELIMIT=" + std::to_string(*v.ispTimeLimitSeconds);
    for (std::size_t row = 0; row < v.rows.size(); ++row) {
        text += "\n  row " + std::to_string(row) + " (COM" + std::to_string(portOf(row)) + "):";
        if (v.rows[row].faults.empty()) text += " no faults";
        for (const std::string& f : v.rows[row].faults) text += " [" + f + "]";
    }
    return text;
}

Verdict runVenue(const VenueScenario& v, const SharedPackage& package)
{
    Verdict verdict;
    sim::TempFolder programFolder;
    testing::writeFile(programFolder.file(kIspDriverName), "driver");
    if (const std::string settings = settingsText(v); !settings.empty())
        testing::writeFile(programFolder.file("settings.ini"), settings);
    const std::string recordPath = programFolder.file("upgrades.jsonl");
    std::vector<RowResult> results(v.rows.size());
    JobSchedule schedule(v.rows.size(), v.options);
    const std::size_t most = runAll(v, programFolder.str(), package, recordPath, results, schedule);
    for (std::size_t row = 0; row < results.size(); ++row) {
        if (results[row].ran) checkRow(row, results[row], verdict);
        verdict.virtualSeconds += results[row].virtualSeconds;
    }
    checkTurns(v, schedule, results, most, verdict);
    checkRecord(recordPath, results, verdict);
    return verdict;
}

} // namespace fw::explore
