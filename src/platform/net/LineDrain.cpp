#include "net/LineDrain.h"

#include <algorithm>

#include "ground/LineTiming.h"

namespace fw::platform {

namespace {

constexpr uint64_t kMicrosPerSecond = 1000000;

} // namespace

uint64_t LineDrain::lineUs(std::size_t bytes) const { return fw::lineTimeUs(bytes, bitsPerSecond_); }

void LineDrain::add(std::size_t bytes, uint64_t nowUs)
{
    freeAtUs_ = std::max(freeAtUs_, nowUs) + lineUs(bytes);
    if (capacity_ != SIZE_MAX) freeAtUs_ = std::min(freeAtUs_, nowUs + lineUs(capacity_));
}

std::size_t LineDrain::pending(uint64_t nowUs) const
{
    if (freeAtUs_ <= nowUs) return 0;
    const uint64_t bitsLeft = (freeAtUs_ - nowUs) * bitsPerSecond_;
    const uint64_t perByte = fw::kBitsPerByte * kMicrosPerSecond;
    return static_cast<std::size_t>((bitsLeft + perByte - 1) / perByte);
}

} // namespace fw::platform
