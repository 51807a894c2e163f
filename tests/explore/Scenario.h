#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ProjectorModel.h"
#include "isp/IspToolOptions.h"

namespace fw::explore {

// What the technician does, in the order drawn.
enum class Step { CommunicationTest, OpenFile, Upgrade, PortDialog };

// One randomly drawn world: a projector with its misbehaviours, the ISP
// tool's faults, the port's fate and the technician's clicks.
struct Scenario {
    uint64_t seed = 0;
    sim::ProjectorOptions projector;
    sim::isp::IspSwitches isp;
    std::optional<uint64_t> deviceFailsAfterBytes;  // the port vanishes
    bool portHeldAtStart = false;                    // another program holds it
    std::optional<uint64_t> portHeldFromMs;          // another program takes it later
    std::size_t driverBufferBytes = 0;               // the adapter holds this much of what is written
    uint64_t receiveEventLagMs = 0;                  // the driver tells of received bytes this late
    uint64_t networkDelayMs = 0;                     // a serial server on the network, this far each way
    std::optional<int> ispTimeLimitSeconds;          // [ISP] TIMELIMIT in settings.ini
    bool oldLogStuck = false;                        // the old log cannot be deleted
    // A second projector, on port 2, has its scaler flashed from the same
    // program folder at this moment, by an ISP tool with faults of its own.
    std::optional<uint64_t> secondJobAtMs;
    sim::isp::IspSwitches secondJobIsp;
    std::optional<uint64_t> portDialogOkAtMs;        // OK of a dialog left open
    std::vector<Step> steps;
    std::vector<std::string> faults;                 // readable list, for the replay
};

Scenario drawScenario(uint64_t seed);
std::string describe(const Scenario& scenario);

} // namespace fw::explore
