#include "package/ByteSum.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#if defined(__SSE2__) && !defined(FWUP_PORTABLE_BYTE_SUM)
#define FWUP_SSE2_BYTE_SUM
#include <emmintrin.h>
#endif

#include "ground/Text.h"

namespace fw {

namespace {

constexpr std::size_t kComparedDigits = 4;

#if defined(FWUP_SSE2_BYTE_SUM)

// The processor's sum-of-absolute-differences against zero adds sixteen
// bytes into two 64-bit lanes in one step; two accumulators keep it busy.
constexpr std::size_t kStep = 32;

uint64_t sumOfSteps(const unsigned char* data, std::size_t steps)
{
    const __m128i zero = _mm_setzero_si128();
    __m128i first = zero;
    __m128i second = zero;
    for (std::size_t i = 0; i < steps; ++i) {
        const auto* at = reinterpret_cast<const __m128i*>(data + i * kStep);
        first = _mm_add_epi64(first, _mm_sad_epu8(_mm_loadu_si128(at), zero));
        second = _mm_add_epi64(second, _mm_sad_epu8(_mm_loadu_si128(at + 1), zero));
    }
    uint64_t lanes[2];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes), _mm_add_epi64(first, second));
    return lanes[0] + lanes[1];
}

#else

// Eight bytes at a time: the even and the odd bytes of each word are added
// into four 16-bit lanes each. A lane takes 257 bytes of 255 before it
// overflows, so the lanes are emptied every 256 words.
constexpr std::size_t kStep = sizeof(uint64_t);
constexpr std::size_t kWordsPerRound = 256;
constexpr uint64_t kEvenBytes = 0x00FF00FF00FF00FFull;

uint64_t sumOfLanes(uint64_t lanes)
{
    return (lanes & 0xFFFF) + ((lanes >> 16) & 0xFFFF) + ((lanes >> 32) & 0xFFFF) + (lanes >> 48);
}

uint64_t sumOfRound(const unsigned char* data, std::size_t words)
{
    uint64_t evenLanes = 0;
    uint64_t oddLanes = 0;
    for (std::size_t i = 0; i < words; ++i) {
        uint64_t word;
        std::memcpy(&word, data + i * kStep, kStep);
        evenLanes += word & kEvenBytes;
        oddLanes += (word >> 8) & kEvenBytes;
    }
    return sumOfLanes(evenLanes) + sumOfLanes(oddLanes);
}

uint64_t sumOfSteps(const unsigned char* data, std::size_t steps)
{
    uint64_t total = 0;
    for (std::size_t done = 0; done < steps;) {
        const std::size_t words = std::min(steps - done, kWordsPerRound);
        total += sumOfRound(data + done * kStep, words);
        done += words;
    }
    return total;
}

#endif

std::string upperHex(uint64_t value)
{
    char text[17];
    std::snprintf(text, sizeof text, "%llX", static_cast<unsigned long long>(value));
    return text;
}

} // namespace

uint64_t byteSum(const unsigned char* data, std::size_t size)
{
    const std::size_t steps = size / kStep;
    uint64_t total = sumOfSteps(data, steps);
    for (std::size_t i = steps * kStep; i < size; ++i) total += data[i];
    return total;
}

bool checksumMatches(uint64_t sum, std::string_view listed)
{
    const std::string hex = upperHex(sum);
    if (hex.size() < kComparedDigits || listed.size() != kComparedDigits) return false;
    return hex.substr(hex.size() - kComparedDigits) == toUpperAscii(listed);
}

} // namespace fw
