#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "ground/UtcTime.h"
#include "record/RecordEntry.h"

namespace fw::reports {

// Seconds east of UTC that this computer's clock reads at a UTC instant
// (given in seconds since 1970): the system's time zone, asked by the front end.
using UtcOffset = std::function<int(int64_t utcSeconds)>;

// "Link test", "ISP tool run 2"; a phase this program does not know by its own name.
std::string phaseName(const RecordedPhase& phase);

// An outcome or a reason as the record names it, for people: "no-answer"
// reads "no answer".
std::string inWords(std::string_view name);

// "2024-05-01 14:03:22 UTC".
std::string utcText(WallClock::time_point when);
// "2024-05-01 16:03:22 local time (UTC+02:00)".
std::string localText(WallClock::time_point when, const UtcOffset& offset);
// "2024-05-01 16:03:22", the local time alone.
std::string localShortText(WallClock::time_point when, const UtcOffset& offset);

// "0.25 s", "12.4 s", "3 min 12 s", "1 h 02 min".
std::string durationText(int64_t ms);

} // namespace fw::reports
