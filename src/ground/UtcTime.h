#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace fw {

using WallClock = std::chrono::system_clock;

// "2024-05-01T14:03:22.125Z": UTC, ISO 8601, to the millisecond.
std::string isoUtc(WallClock::time_point when);

// The time such a text names: "2024-05-01T14:03:22.125Z", the fraction
// (any number of digits) optional; nothing for any other text.
std::optional<WallClock::time_point> parseIsoUtc(std::string_view text);

} // namespace fw
