#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace fw {

// The package checksum: the sum of all bytes of an image, each 0 to 255.
uint64_t byteSum(const unsigned char* data, std::size_t size);

// A sum below this has fewer than four hexadecimal digits to compare.
inline constexpr uint64_t kSmallestComparableSum = 0x1000;

// The sum in upper-case hexadecimal, its last four characters against the
// listed value, ignoring letter case: only a four-character value can match.
bool checksumMatches(uint64_t sum, std::string_view listed);

} // namespace fw
