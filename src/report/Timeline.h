#pragma once

#include <cstdint>
#include <vector>

#include "record/RecordEntry.h"
#include "report/Report.h"

namespace fw::reports {

// The entry's phases to scale: from the operation's start to its end (to
// the last phase's end when the entry has no end), each phase where it
// began and as long as it took, in the order the phases began. Empty when
// the entry holds no phase with a time.
Timeline timelineOf(const RecordEntry& entry);

// Marks along a span of that many milliseconds, at a round step (1, 2 or 5
// of a power of ten, in seconds or minutes), at most kMostTicks of them
// after the first at 0.
std::vector<TimelineTick> ticksFor(int64_t spanMs);

inline constexpr int kMostTicks = 8;

} // namespace fw::reports
