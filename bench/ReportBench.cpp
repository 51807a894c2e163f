// Times "fwupgrade report --last 1000" as PDF and as HTML on a service record
// of 1,000 upgrades (each its start and end line, as the record writes
// them), and prints the median wall time of each and the CPU time the
// program took (on a busy machine the wall time waits for a core). Not a
// test: it prints.
//
//   bench_report FWUPGRADE
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <vector>

#include "SampleRecord.h"

extern char** environ;

namespace {

constexpr int kUpgrades = 1000;
constexpr int kRounds = 5;

using Clock = std::chrono::steady_clock;

struct Took {
    double wallMs = -1;  // negative when it failed
    double cpuMs = 0;
};

double msOf(const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3; }

// One "fwupgrade report".
Took runReport(const std::string& fwupgrade, const std::string& record, const std::string& option,
               const std::string& file)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::string program = fwupgrade, command = "report", last = "--last", count = std::to_string(kUpgrades),
                recordOption = "--record", recordFile = record, fileOption = option, output = file;
    char* argv[] = {program.data(),      command.data(),    last.data(),   count.data(),
                    recordOption.data(), recordFile.data(), fileOption.data(), output.data(), nullptr};
    const auto start = Clock::now();
    pid_t pid = 0;
    const int started = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage used{};
    const bool ok = started == 0 && wait4(pid, &status, 0, &used) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    return {ok ? ms : -1, msOf(used.ru_utime) + msOf(used.ru_stime)};
}

double median(std::vector<double> times)
{
    std::nth_element(times.begin(), times.begin() + kRounds / 2, times.end());
    return times[kRounds / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::puts("usage: bench_report FWUPGRADE");
        return 2;
    }
    fw::sim::TempFolder folder;
    const std::string record = folder.file("upgrades.jsonl");
    fw::bench::writeUpgrades(record, fw::bench::sampleUpgrade(folder), kUpgrades);
    for (const auto& [option, name] : {std::pair<std::string, std::string>{"--pdf", "report.pdf"}, {"--html", "report.html"}}) {
        const std::string file = folder.file(name);
        std::vector<double> wall, cpu;
        for (int i = 0; i < kRounds; ++i) {
            const Took took = runReport(argv[1], record, option, file);
            if (took.wallMs < 0) {
                std::printf("report %s of %d upgrades failed\n", option.c_str(), kUpgrades);
                return 1;
            }
            wall.push_back(took.wallMs);
            cpu.push_back(took.cpuMs);
        }
        std::printf("report %s of %d upgrades (%.1f MB): %.0f ms median of %d, CPU %.0f ms\n", option.c_str() + 2,
                    kUpgrades, static_cast<double>(std::filesystem::file_size(file)) / 1e6, median(wall), kRounds,
                    median(cpu));
    }
    return 0;
}
