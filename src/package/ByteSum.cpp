#include "package/ByteSum.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "shell/Text.h"

namespace fw {

namespace {

// Eight bytes at a time: the even and the odd bytes of each word are added
// into four 16-bit lanes each. A lane takes 257 bytes of 255 before it
// overflows, so the lanes are emptied into the total every 256 words.
constexpr uint64_t kEvenBytes = 0x00FF00FF00FF00FFull;
constexpr std::size_t kWordsPerRound = 256;
constexpr std::size_t kWordSize = sizeof(uint64_t);
constexpr std::size_t kComparedDigits = 4;

uint64_t sumOfLanes(uint64_t lanes)
{
    return (lanes & 0xFFFF) + ((lanes >> 16) & 0xFFFF) + ((lanes >> 32) & 0xFFFF) + (lanes >> 48);
}

uint64_t sumOfWords(const unsigned char* data, std::size_t words)
{
    uint64_t evenLanes = 0;
    uint64_t oddLanes = 0;
    for (std::size_t i = 0; i < words; ++i) {
        uint64_t word;
        std::memcpy(&word, data + i * kWordSize, kWordSize);
        evenLanes += word & kEvenBytes;
        oddLanes += (word >> 8) & kEvenBytes;
    }
    return sumOfLanes(evenLanes) + sumOfLanes(oddLanes);
}

std::string upperHex(uint64_t value)
{
    char text[17];
    std::snprintf(text, sizeof text, "%llX", static_cast<unsigned long long>(value));
    return text;
}

} // namespace

uint64_t byteSum(const unsigned char* data, std::size_t size)
{
    uint64_t total = 0;
    while (size >= kWordSize) {
        const std::size_t words = std::min(size / kWordSize, kWordsPerRound);
        total += sumOfWords(data, words);
        data += words * kWordSize;
        size -= words * kWordSize;
    }
    for (std::size_t i = 0; i < size; ++i) total += data[i];
    return total;
}

bool checksumMatches(uint64_t sum, std::string_view listed)
{
    const std::string hex = upperHex(sum);
    if (hex.size() < kComparedDigits || listed.size() != kComparedDigits) return false;
    return hex.substr(hex.size() - kComparedDigits) == toUpperAscii(listed);
}

} // namespace fw
