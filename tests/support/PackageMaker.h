#pragma once

#include <cstdint>
#include <fstream>
#include <string>

namespace fw::testing {

// Deterministic image contents, different per seed.
inline std::string imageBytes(std::size_t size, uint32_t seed)
{
    std::string bytes(size, '\0');
    uint32_t x = seed * 2654435761u + 1;
    for (auto& b : bytes) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b = static_cast<char>(x & 0xFF);
    }
    return bytes;
}

// The byte sum as a list file writes it: its last four hexadecimal digits.
inline std::string checksumText(const std::string& bytes)
{
    uint64_t sum = 0;
    for (unsigned char b : bytes) sum += b;
    char text[8];
    std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(sum & 0xFFFF));
    return text;
}

inline void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline constexpr std::size_t kUpImageSize = 262144;
inline constexpr std::size_t kSmallestScalerSize = 2500000;

// A valid package in `folder`: two images and a list file naming them with
// absolute paths and correct checksums. Returns the list file's path.
struct Package {
    std::string listFile;
    std::string upImage;
    std::string scalerImage;
    std::string upBytes;
    std::string scalerBytes;
};

inline Package makePackage(const std::string& folder, const std::string& upName = "QT2416_uP.bin",
                           const std::string& scalerName = "QT2416_scaler.bin",
                           std::size_t scalerSize = kSmallestScalerSize)
{
    Package p;
    p.upImage = folder + "/" + upName;
    p.scalerImage = folder + "/" + scalerName;
    p.upBytes = imageBytes(kUpImageSize, 1);
    p.scalerBytes = imageBytes(scalerSize, 2);
    writeFile(p.upImage, p.upBytes);
    writeFile(p.scalerImage, p.scalerBytes);
    p.listFile = folder + "/package.txt";
    writeFile(p.listFile, "[uP]" + p.upImage + "\r\n[SCALER]" + p.scalerImage + "\r\n[CHECKSUM1]" +
                              checksumText(p.upBytes) + "\r\n[CHECKSUM2]" + checksumText(p.scalerBytes) + "\r\n");
    return p;
}

} // namespace fw::testing
