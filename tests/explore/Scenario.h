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
    std::optional<int> ispTimeLimitSeconds;          // [ISP] TIMELIMIT in settings.ini
    bool oldLogStuck = false;                        // the old log cannot be deleted
    // Another copy of the program on the same folder runs its ISP tool from
    // this moment, for this long, and leaves a log of success or failure.
    std::optional<uint64_t> otherCopyFromMs;
    uint64_t otherCopyRunsMs = 0;
    bool otherCopySucceeds = false;
    std::optional<uint64_t> portDialogOkAtMs;        // OK of a dialog left open
    std::vector<Step> steps;
    std::vector<std::string> faults;                 // readable list, for the replay
};

Scenario drawScenario(uint64_t seed);
std::string describe(const Scenario& scenario);

} // namespace fw::explore
