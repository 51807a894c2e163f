#pragma once

#include <chrono>
#include <string>

namespace fw {

using WallClock = std::chrono::system_clock;

// "2024-05-01T14:03:22.125Z": UTC, ISO 8601, to the millisecond.
std::string isoUtc(WallClock::time_point when);

} // namespace fw
