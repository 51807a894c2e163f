// bench_run: starts a program and, once it has ended, writes what it cost:
// when it was started on the machine's monotonic clock (so a program can
// stamp a moment of its own against it), its wall time, the CPU time of the
// program itself apart from the programs it started and waited for, theirs,
// and the peak resident memory of it or of the largest of those programs.
//
//   bench_run --out FILE [--limit SECONDS] [--] PROGRAM [ARGUMENTS...]
//
// A program still running after the limit is ended (SIGTERM, then SIGKILL)
// and its exit is written as 124. The program's own CPU time is read from
// /proc while it is still a zombie, because the figures wait4 returns fold
// in its children.
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr int kUsage = 2;
constexpr int kTimedOut = 124;
constexpr long long kGraceNs = 2'000'000'000;  // after SIGTERM, before SIGKILL
// Fields 14 to 17 of /proc/PID/stat: the process's own user and system
// time, then those of the children it waited for, in clock ticks.
constexpr int kFirstTimeField = 14;

struct CpuTicks {
    long long own = 0;
    long long children = 0;
    bool known = false;
};

struct Arguments {
    std::string out;
    long long limitNs = 0;  // 0: no limit
    std::vector<char*> program;
};

long long monotonicNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

bool parse(int argc, char* argv[], Arguments& a)
{
    int i = 1;
    for (; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--out") {
            a.out = argv[i + 1];
        } else if (option == "--limit") {
            long long seconds = 0;
            const std::string value = argv[i + 1];
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seconds);
            if (error != std::errc() || end != value.data() + value.size() || seconds <= 0) return false;
            a.limitNs = seconds * 1000000000LL;
        } else {
            break;
        }
    }
    if (i < argc && std::string(argv[i]) == "--") ++i;
    for (; i < argc; ++i) a.program.push_back(argv[i]);
    a.program.push_back(nullptr);
    return !a.out.empty() && a.program.size() > 1;
}

bool hasEnded(pid_t pid)
{
    siginfo_t info{};
    info.si_pid = 0;
    return waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT | WNOHANG) == 0 && info.si_pid == pid;
}

// Waits, without reaping it, until the program has ended; ends it when it
// outlives the limit. SIGCHLD is blocked, so its arrival wakes sigtimedwait.
bool waitForEnd(pid_t pid, long long startNs, long long limitNs, const sigset_t& childSignal)
{
    bool timedOut = false;
    long long deadline = limitNs ? startNs + limitNs : 0;
    while (!hasEnded(pid)) {
        const long long now = monotonicNs();
        if (deadline && now >= deadline) {
            kill(pid, timedOut ? SIGKILL : SIGTERM);
            timedOut = true;
            deadline = now + kGraceNs;
        }
        const long long wait = deadline ? deadline - monotonicNs() : 1000000000LL;
        timespec ts{static_cast<time_t>(wait / 1000000000LL), static_cast<long>(wait % 1000000000LL)};
        if (wait > 0) sigtimedwait(&childSignal, nullptr, &ts);
    }
    return !timedOut;
}

CpuTicks readCpuTicks(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    std::getline(stat, text);
    // The command name in parentheses may hold blanks; fields count from after it.
    const auto close = text.rfind(')');
    if (close == std::string::npos) return {};
    std::istringstream rest(text.substr(close + 2));
    std::string field;
    long long t[4] = {};
    for (int n = 3; n < kFirstTimeField + 4 && rest >> field; ++n)
        if (n >= kFirstTimeField) t[n - kFirstTimeField] = std::stoll(field);
    if (!rest) return {};
    return {t[0] + t[1], t[2] + t[3], true};
}

double ticksToMs(long long ticks)
{
    return static_cast<double>(ticks) * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

} // namespace

int main(int argc, char* argv[])
{
    Arguments a;
    if (!parse(argc, argv, a)) {
        std::cerr << "usage: bench_run --out FILE [--limit SECONDS] [--] PROGRAM [ARGUMENTS...]\n";
        return kUsage;
    }
    sigset_t childSignal, previous;
    sigemptyset(&childSignal);
    sigaddset(&childSignal, SIGCHLD);
    sigprocmask(SIG_BLOCK, &childSignal, &previous);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setsigmask(&attributes, &previous);  // the program gets the mask we were given
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);

    const long long startNs = monotonicNs();
    pid_t pid = 0;
    const int started = posix_spawnp(&pid, a.program[0], nullptr, &attributes, a.program.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (started != 0) {
        std::cerr << "bench_run: cannot start " << a.program[0] << '\n';
        return kUsage;
    }
    const bool inTime = waitForEnd(pid, startNs, a.limitNs, childSignal);
    const long long endNs = monotonicNs();
    const CpuTicks cpu = readCpuTicks(pid);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);

    std::ofstream file(a.out, std::ios::trunc);
    char line[160];
    std::snprintf(line, sizeof line, "start_ns=%lld\nwall_ms=%.3f\n", startNs,
                  static_cast<double>(endNs - startNs) / 1e6);
    file << line;
    if (cpu.known) {
        std::snprintf(line, sizeof line, "cpu_ms=%.0f\nchildren_cpu_ms=%.0f\n", ticksToMs(cpu.own),
                      ticksToMs(cpu.children));
        file << line;
    }
    file << "max_rss_kb=" << usage.ru_maxrss << '\n';
    const int exitCode = !inTime ? kTimedOut : WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    file << "exit=" << exitCode << '\n';
    return 0;
}
