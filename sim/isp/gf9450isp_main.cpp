// Stand-in for the chip vendor's ISP tool "gf9450isp.exe": flashes a scaler
// image into the simulated projector's ISP mode over a serial port and
// leaves log.txt in its working directory, as the upgrade program expects.
//
//   gf9450isp.exe -c <port> -l GF9450_CFI_DRIVER.BIN -d 7 -b 115200 -p <image>
//
// Test switches (environment): FWSIM_ISP_FAIL=once|always, FWSIM_ISP_FAIL_PORT=n
// (fail whenever given port n), FWSIM_ISP_RUN_MS=n,
// FWSIM_ISP_CRASH=1, FWSIM_ISP_NO_LOG=1, FWSIM_ISP_HANG=1 (never ends, nor
// the child it starts), FWSIM_ISP_LOG_LATE_MS=n (ends at once, a child writes
// the log n ms later).
//
// COMn is the device settings.ini's [Ports] map names, in the working
// folder or else beside this program.

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "IspToolOptions.h"
#include "IspToolRun.h"
#include "SerialLink.h"
#include "ToolProcess.h"
#include "ground/SettingsFile.h"

using namespace fw::sim::isp;

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kFailedOnceMarker = "gf9450isp.failed-once";
constexpr auto kPortSettle = std::chrono::milliseconds(100);

// "Fail once" must hold across processes: the first failing run leaves a mark.
bool failThisRun(const IspSwitches& switches, const std::string& folder, int port)
{
    if (switches.fail == IspSwitches::Failing::Always || switches.failOnPort == port) return true;
    if (switches.fail != IspSwitches::Failing::Once) return false;
    const std::string marker = folder + "/" + kFailedOnceMarker;
    if (std::filesystem::exists(marker)) return false;
    writeTextFile(marker, "");
    return true;
}

void talk(IspToolRun& run, SerialLink& link)
{
    IspClient& client = run.client();
    std::this_thread::sleep_for(kPortSettle);
    if (!link.writeAll(client.start())) return;
    while (!client.finished()) {
        const auto input = link.read(client.replyTimeoutMs());
        if (!input) return;  // the device went away; the run ends without a result
        std::string next = input->empty() ? client.timedOut() : std::string{};
        for (char byte : *input) next += client.received(byte);
        if (!next.empty() && !link.writeAll(next)) return;
    }
}

std::string portMapFolder(const std::string& workingFolder, const char* argv0)
{
    namespace fs = std::filesystem;
    if (fs::exists(fs::path(workingFolder) / fw::kSettingsFileName)) return workingFolder;
    std::error_code ec;
    const fs::path self = fs::weakly_canonical(fs::absolute(argv0, ec), ec);
    return ec ? workingFolder : self.parent_path().string();
}

} // namespace

int main(int argc, char** argv)
{
    const auto startedAt = Clock::now();
    if (argc == 2 && std::string_view(argv[1]) == kLeftBehindChild) {
        for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
    }
    // The working folder by its relative name: on Windows a narrow copy of
    // a folder name that is not ASCII does not name that folder.
    const std::string folder = ".";
    const IspSwitches switches = IspSwitches::fromEnvironment();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    IspToolRun run(arguments, folder, failThisRun(switches, folder, parseIspCommandLine(arguments).port),
                   switches.crash);

    SerialLink link;
    if (run.ready()) {
        const std::string device = deviceForPort(portMapFolder(folder, argv[0]), run.portNumber());
        const std::string failure = link.open(device, run.baud());
        if (failure.empty()) {
            run.portOpened(device);
            talk(run, link);
        } else {
            run.portFailed(device, failure);
        }
    }

    if (switches.hang) hangForEver();
    std::this_thread::sleep_until(startedAt + std::chrono::milliseconds(switches.runAtLeastMs));
    const std::string log = folder + "/" + kLogFile;
    if (switches.logLateMs > 0 && !switches.writeNoLog) writeLogLate(log, run.logText(), switches.logLateMs);
    else if (!switches.writeNoLog) writeTextFile(log, run.logText());
    if (run.dies()) endAsCrashed();
    return run.succeeded() ? 0 : 1;
}
