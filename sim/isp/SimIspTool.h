#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "IspToolOptions.h"
#include "ProjectorModel.h"
#include "SimProcessRunner.h"
#include "SimSerialPort.h"
#include "VirtualEventLoop.h"

namespace fw::sim::isp {

// The stand-in ISP tool run in-process on the virtual clock: the same
// command line, files, log and ISP protocol as the executable, with its own
// end of the simulated line. It can open the projector's port only while
// the program has it closed, and holds it while it runs.
class SimIspTool {
public:
    SimIspTool(VirtualEventLoop& loop, ProjectorModel& projector, SimSerialPort& hostPort, IspSwitches switches = {},
               int16_t projectorPort = 1);
    SimIspTool(const SimIspTool&) = delete;
    SimIspTool& operator=(const SimIspTool&) = delete;

    // Installs the stand-in under the path the program starts it with.
    void installAs(SimProcessRunner& runner, const std::string& programPath);

    IspSwitches& switches() { return switches_; }
    int runs() const { return runs_; }
    // A run still going, or a child of one that would still write its log.
    bool leftSomethingRunning() const;
    // When the last run ended (its log written, the port let go).
    std::optional<Micros> lastEndedAt() const;

    struct Session;

private:
    SimRun launch(const ProcessLaunch& launch);

    VirtualEventLoop& loop_;
    ProjectorModel& projector_;
    SimSerialPort& hostPort_;
    IspSwitches switches_;
    int16_t projectorPort_;
    int runs_ = 0;
    std::shared_ptr<Session> last_;
    std::vector<std::weak_ptr<Session>> sessions_;
};

} // namespace fw::sim::isp
