#pragma once

#include <algorithm>
#include <cstdint>

// The projector's serial line as time sees it: 38400 bit/s, 8 data bits, no
// parity, one stop bit, so every byte takes ten bit times (start bit, 8 data
// bits, stop bit).

namespace fw {

inline constexpr uint32_t kLineBitsPerSecond = 38400;
inline constexpr uint32_t kBitsPerByte = 10;
inline constexpr uint32_t kLineBytesPerSecond = kLineBitsPerSecond / kBitsPerByte;

// How long a line at `bitsPerSecond` takes to carry `bytes`, rounded up to
// the microsecond.
constexpr uint64_t lineTimeUs(uint64_t bytes, uint32_t bitsPerSecond = kLineBitsPerSecond)
{
    return (bytes * kBitsPerByte * 1'000'000 + bitsPerSecond - 1) / bitsPerSecond;
}

// The same in whole milliseconds, rounded down.
constexpr uint64_t lineTimeMs(uint64_t bytes) { return bytes * kBitsPerByte * 1000 / kLineBitsPerSecond; }

// A write the port has not taken within twice its line time plus this
// margin counts as a failed device (a cable with nobody reading, a stalled
// driver or server); no write waits longer than ten minutes.
inline constexpr int kWriteMarginMs = 2000;
inline constexpr int kLongestWriteWaitMs = 600000;

constexpr int writeTimeoutMs(uint64_t bytes)
{
    return static_cast<int>(std::min<uint64_t>(2 * lineTimeMs(bytes) + kWriteMarginMs, kLongestWriteWaitMs));
}

} // namespace fw
