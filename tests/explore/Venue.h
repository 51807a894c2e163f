#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Explorer.h"
#include "Scenario.h"
#include "job/JobSchedule.h"

namespace fw::explore {

// A venue drawn from a seed: several projectors, each with the faults a
// single run draws, upgraded from one program folder into one service
// record, each on a thread of its own with its own clock, taking the turns
// the options give.
struct VenueScenario {
    uint64_t seed = 0;
    std::vector<Scenario> rows;  // each row's projector, ISP tool and port
    ScheduleOptions options;
    std::optional<int> ispTimeLimitSeconds;
};

VenueScenario drawVenue(uint64_t seed);
std::string describe(const VenueScenario& venue);

// Runs every row's upgrade and checks, per row, what the technician relies
// on: "Download complete" only for a projector holding both images, an end
// told for every start, nothing left running, no byte for a row never
// started, never more rows at work than allowed, and the record's entry of
// each row as it ended.
Verdict runVenue(const VenueScenario& venue, const SharedPackage& package);

} // namespace fw::explore
