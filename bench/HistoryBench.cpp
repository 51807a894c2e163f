// Times "fwupgrade history --last 20" on a service record of 100,000
// entries (a start and an end line each, as the record writes them) with a
// damaged line among the newest and a last line cut short, and prints the
// median time. Not a test: it prints.
//
//   bench_history FWUPGRADE
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "ground/Texts.h"
#include "record/ServiceRecord.h"

extern char** environ;

namespace {

constexpr int kEntries = 100000;
constexpr int kDamagedBeforeEnd = 10;  // entries after the damaged line
constexpr int kRounds = 11;
constexpr int kLast = 20;

using Clock = std::chrono::steady_clock;

// One whole upgrade as the record writes it: its start line and end line.
std::vector<std::string> sampleEntry(const fw::sim::TempFolder& folder)
{
    const std::string sample = folder.file("sample.jsonl");
    fw::RecordSetup setup;
    setup.path = sample;
    setup.program = "fwupgrade";
    setup.host = "bench-pc";
    setup.user = "tech";
    setup.portFacts = [](int) { return fw::PortFacts{"/dev/ttyUSB0", "0403:6001", "A5XK3RJT"}; };
    fw::ServiceRecord record(setup);
    using namespace fw;
    const Phase phases[] = {Phase::LinkTest,  Phase::ModelCheck, Phase::LinkTest, Phase::DownloadMode,
                            Phase::ImageTransfer, Phase::Verdict, Phase::Restart, Phase::IspMode};
    record.tell(PackageChecked{"/home/tech/firmware/QT2416_package.txt", true,
                               ImageFile{"QT2416_uP.bin", "/home/tech/firmware/QT2416_uP.bin", 262144},
                               ImageFile{"QT2416_scaler.bin", "/home/tech/firmware/QT2416_scaler.bin", 2500000}});
    record.tell(OperationStarted{Operation::Upgrade, 1});
    record.tell(ModelReplied{"op model.name ?\r\r\nQT2416\r\n", "QT2416", "2416"});
    for (const Phase p : phases) {
        record.tell(PhaseStarted{p});
        record.tell(PhaseEnded{p, PhaseOutcome::Ok});
    }
    record.tell(PhaseStarted{Phase::IspToolRun, 1});
    record.tell(IspToolEnded{1, false, 0, "Command: 0503 0000 fafd"});
    record.tell(PhaseEnded{Phase::IspToolRun, PhaseOutcome::Ok, 1});
    record.tell(MessageShown{MessageKind::Information, texts::DownloadComplete, {}});
    record.tell(OperationEnded{Operation::Upgrade, Reason::None});
    std::ifstream in(sample);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string withId(std::string line, int n)
{
    char id[20];
    std::snprintf(id, sizeof id, "%016x", static_cast<unsigned>(n));
    const auto at = line.find("\"id\":\"") + 6;
    return line.replace(at, 16, id);
}

void writeRecord(const std::string& path, const std::vector<std::string>& entry)
{
    std::ofstream out(path, std::ios::binary);
    for (int n = 0; n < kEntries; ++n) {
        if (n == kEntries - kDamagedBeforeEnd) out << "{\"record\":1,\"id\":\"not json\n";
        for (const std::string& line : entry) out << withId(line, n) << '\n';
    }
    out << withId(entry.front(), kEntries).substr(0, 100);  // a start line cut short
}

// Wall milliseconds of one run, its standard output left in `output`.
double runHistory(const std::string& fwupgrade, const std::string& record, const std::string& output, bool& ok)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::string program = fwupgrade, command = "history", last = "--last", count = std::to_string(kLast),
                option = "--record", file = record;
    char* argv[] = {program.data(), command.data(), last.data(), count.data(), option.data(), file.data(), nullptr};
    const auto start = Clock::now();
    pid_t pid = 0;
    const int started = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    ok = started == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::puts("usage: bench_history FWUPGRADE");
        return 2;
    }
    fw::sim::TempFolder folder;
    const std::string record = folder.file("upgrades.jsonl");
    writeRecord(record, sampleEntry(folder));
    const std::string output = folder.file("history.txt");
    std::vector<double> times;
    for (int i = 0; i < kRounds; ++i) {
        bool ok = false;
        times.push_back(runHistory(argv[1], record, output, ok));
        std::ifstream shown(output);
        const auto lines = std::count(std::istreambuf_iterator<char>(shown), std::istreambuf_iterator<char>(), '\n');
        if (!ok || lines != kLast) {
            std::printf("history --last %d failed or printed %ld lines\n", kLast, static_cast<long>(lines));
            return 1;
        }
    }
    std::nth_element(times.begin(), times.begin() + kRounds / 2, times.end());
    std::ifstream size(record, std::ios::binary | std::ios::ate);
    std::printf("history --last %d over %d entries (%.0f MB): %.1f ms median of %d\n", kLast, kEntries,
                static_cast<double>(size.tellg()) / 1e6, times[kRounds / 2], kRounds);
    return 0;
}
