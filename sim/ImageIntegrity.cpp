#include "ImageIntegrity.h"

#include <array>

namespace fw::sim {

namespace {

constexpr std::size_t kTrailerBytes = 4;

std::array<uint32_t, 256> makeTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}

uint32_t storedTrailer(std::string_view image)
{
    uint32_t value = 0;
    for (std::size_t i = 0; i < kTrailerBytes; ++i)
        value |= static_cast<uint32_t>(static_cast<unsigned char>(image[image.size() - kTrailerBytes + i])) << (8 * i);
    return value;
}

} // namespace

uint32_t crc32(std::string_view bytes)
{
    static const auto table = makeTable();
    uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : bytes) c = table[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::string withIntegrityTrailer(std::string image)
{
    if (image.size() < kTrailerBytes) return image;
    const uint32_t crc = crc32(std::string_view(image).substr(0, image.size() - kTrailerBytes));
    for (std::size_t i = 0; i < kTrailerBytes; ++i)
        image[image.size() - kTrailerBytes + i] = static_cast<char>((crc >> (8 * i)) & 0xFF);
    return image;
}

bool hasValidIntegrityTrailer(std::string_view image)
{
    if (image.size() < kTrailerBytes) return false;
    return crc32(image.substr(0, image.size() - kTrailerBytes)) == storedTrailer(image);
}

} // namespace fw::sim
