#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace fw {

// How long one run of the ISP tool may take before it is stopped and counts
// as failed: [ISP] TIMELIMIT in settings.ini, whole seconds.
inline constexpr int32_t kDefaultIspTimeLimitSeconds = 1200;
// A week: anything longer is surely a slip of the keyboard.
inline constexpr int32_t kLongestIspTimeLimitSeconds = 7 * 24 * 3600;

// The limit a TIMELIMIT text gives: the default for a missing value, 0, or
// anything that is not a whole number of seconds.
int32_t ispTimeLimitFrom(std::string_view text);

// The limit settings.ini sets.
int32_t ispTimeLimitSeconds(const std::string& settingsPath);

} // namespace fw
