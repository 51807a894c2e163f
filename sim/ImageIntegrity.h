#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace fw::sim {

// The simulated projector's firmware images carry their own integrity check,
// as real firmware does: the last four bytes hold the CRC-32 of everything
// before them, little endian. A loader that checks it notices a byte that was
// lost, changed or slipped in on the line, even when the length comes out right.
uint32_t crc32(std::string_view bytes);

// The image with its last four bytes set to the trailer.
std::string withIntegrityTrailer(std::string image);

bool hasValidIntegrityTrailer(std::string_view image);

} // namespace fw::sim
