// Stand-in for the chip vendor's ISP tool "gf9450isp.exe": flashes a scaler
// image into the simulated projector's ISP mode over a serial port and
// leaves log.txt in its working directory, as the upgrade program expects.
//
//   gf9450isp.exe -c <port> -l GF9450_CFI_DRIVER.BIN -d 7 -b 115200 -p <image>
//
// Test switches (environment): FWSIM_ISP_FAIL=once|always, FWSIM_ISP_RUN_MS=n,
// FWSIM_ISP_CRASH=1, FWSIM_ISP_NO_LOG=1.

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "IspToolOptions.h"
#include "IspToolRun.h"
#include "SerialLink.h"

using namespace fw::sim::isp;

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kFailedOnceMarker = "gf9450isp.failed-once";
constexpr auto kPortSettle = std::chrono::milliseconds(100);

// "Fail once" must hold across processes: the first failing run leaves a mark.
bool failThisRun(const IspSwitches& switches, const std::string& folder)
{
    if (switches.fail == IspSwitches::Failing::Always) return true;
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

} // namespace

int main(int argc, char** argv)
{
    const auto startedAt = Clock::now();
    const std::string folder = std::filesystem::current_path().string();
    const IspSwitches switches = IspSwitches::fromEnvironment();
    IspToolRun run(std::vector<std::string>(argv + 1, argv + argc), folder, failThisRun(switches, folder),
                   switches.crash);

    SerialLink link;
    if (run.ready()) {
        const std::string device = deviceForPort(folder, run.portNumber());
        const std::string failure = link.open(device, run.baud());
        if (failure.empty()) {
            run.portOpened(device);
            talk(run, link);
        } else {
            run.portFailed(device, failure);
        }
    }

    std::this_thread::sleep_until(startedAt + std::chrono::milliseconds(switches.runAtLeastMs));
    if (!switches.writeNoLog) writeTextFile(folder + "/" + kLogFile, run.logText());
    if (run.dies()) endAsCrashed();
    return run.succeeded() ? 0 : 1;
}
