// Times the list-file check on the largest valid package (262144-byte uP
// image, 4800000-byte scaler image) against coreutils' "sum -s" on the same
// two files, and prints both times and their ratio. Not a test: it prints.
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "SimRig.h"
#include "package/ByteSum.h"
#include "window/ProjectorChecks.h"

extern char** environ;

namespace {

constexpr std::size_t kUpSize = 262144;
constexpr std::size_t kScalerSize = 4800000;
constexpr int kRounds = 31;
const char* const kSumProgram = "/usr/bin/sum";

using Clock = std::chrono::steady_clock;

std::string writeImage(const fw::sim::TempFolder& folder, const std::string& name, std::size_t size,
                       std::mt19937& random)
{
    std::vector<unsigned char> bytes(size);
    for (auto& b : bytes) b = static_cast<unsigned char>(random());
    std::ofstream(folder.file(name), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                              static_cast<std::streamsize>(size));
    char checksum[8];
    std::snprintf(checksum, sizeof checksum, "%04X", static_cast<unsigned>(fw::byteSum(bytes.data(), size) & 0xFFFF));
    return checksum;
}

template <typename F>
double medianMilliseconds(F&& run)
{
    std::vector<double> times;
    for (int i = 0; i < kRounds; ++i) {
        const auto start = Clock::now();
        run();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + kRounds / 2, times.end());
    return times[kRounds / 2];
}

bool runSum(const std::string& up, const std::string& scaler)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::string program = kSumProgram, option = "-s", a = up, b = scaler;
    char* argv[] = {program.data(), option.data(), a.data(), b.data(), nullptr};
    pid_t pid = 0;
    const int started = posix_spawn(&pid, kSumProgram, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return started == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

int main()
{
    fw::sim::SimRig rig;
    std::mt19937 random(2416);
    const std::string upSum = writeImage(rig.workFolder, "QT2416_up.bin", kUpSize, random);
    const std::string scalerSum = writeImage(rig.workFolder, "scaler.bin", kScalerSize, random);
    const std::string list = rig.workFolder.file("list.txt");
    std::ofstream(list, std::ios::binary) << "[uP]QT2416_up.bin\r\n[SCALER]scaler.bin\r\n[CHECKSUM1]" << upSum
                                          << "\r\n[CHECKSUM2]" << scalerSum << "\r\n";

    fw::checkPackage(rig.tool, list);  // warms the page cache
    if (!rig.tool.state.ListFileValid) {
        std::puts("package check failed: the benchmark package is not valid");
        return 1;
    }
    const std::string up = rig.workFolder.file("QT2416_up.bin");
    const std::string scaler = rig.workFolder.file("scaler.bin");
    if (!runSum(up, scaler)) {
        std::printf("cannot run %s -s\n", kSumProgram);
        return 1;
    }

    const double ours = medianMilliseconds([&] { fw::checkPackage(rig.tool, list); });
    const double sum = medianMilliseconds([&] { runSum(up, scaler); });
    const double megabytes = static_cast<double>(kUpSize + kScalerSize) / 1e6;
    std::printf("package check (%zu + %zu bytes): %.3f ms median of %d, %.0f MB/s\n", kUpSize, kScalerSize, ours,
                kRounds, megabytes / (ours / 1000));
    std::printf("sum -s on the same two files:      %.3f ms median of %d, %.0f MB/s\n", sum, kRounds,
                megabytes / (sum / 1000));
    std::printf("ratio ours / sum -s: %.2f (target at most 0.50)\n", ours / sum);
    return 0;
}
