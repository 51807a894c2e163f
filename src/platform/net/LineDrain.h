#pragma once

#include <cstddef>
#include <cstdint>

namespace fw::platform {

// What a serial line still has to carry of the bytes handed to it, as time
// tells: ten bit times a byte (start bit, 8 data bits, stop bit) at its rate.
// Where whatever feeds the line holds at most `capacity` bytes, the line can
// never be further behind than that.
class LineDrain {
public:
    explicit LineDrain(uint32_t bitsPerSecond, std::size_t capacity = SIZE_MAX)
        : bitsPerSecond_(bitsPerSecond), capacity_(capacity)
    {
    }

    void add(std::size_t bytes, uint64_t nowUs);
    std::size_t pending(uint64_t nowUs) const;
    void clear() { freeAtUs_ = 0; }

private:
    uint64_t lineUs(std::size_t bytes) const;

    uint32_t bitsPerSecond_;
    std::size_t capacity_;
    uint64_t freeAtUs_ = 0;  // when the line has carried everything added
};

} // namespace fw::platform
