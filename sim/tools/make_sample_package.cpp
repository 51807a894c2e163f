// Writes a sample firmware package: a uP image, a scaler image and the list
// file naming them with their byte sums, for demonstrations and tests.
//
//   make-sample-package FOLDER [MODEL] [SCALER_BYTES]
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>

#include "ImageIntegrity.h"
#include "ground/Numbers.h"

namespace {

constexpr std::size_t kUpImageSize = 262144;
constexpr std::size_t kDefaultScalerSize = 2600000;

std::string pseudoRandomBytes(std::size_t size, uint32_t seed)
{
    std::string bytes(size, '\0');
    uint32_t x = seed;
    for (auto& b : bytes) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b = static_cast<char>(x >> 24);
    }
    return bytes;
}

std::string checksum(const std::string& bytes)
{
    uint64_t sum = 0;
    for (unsigned char b : bytes) sum += b;
    char text[8];
    std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(sum & 0xFFFF));
    return text;
}

bool write(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 4) {
        std::cerr << "usage: make-sample-package FOLDER [MODEL] [SCALER_BYTES]\n";
        return 2;
    }
    const std::filesystem::path folder = std::filesystem::absolute(argv[1]);
    const std::string model = argc > 2 ? argv[2] : "2416";
    const std::optional<uint64_t> scalerBytes =
        argc > 3 ? fw::numberFromDigits(argv[3], 0, SIZE_MAX) : std::optional<uint64_t>(kDefaultScalerSize);
    if (!scalerBytes) {
        std::cerr << "make-sample-package: SCALER_BYTES is a number of bytes, not '" << argv[3] << "'\n";
        return 2;
    }
    const auto scalerSize = static_cast<std::size_t>(*scalerBytes);
    std::filesystem::create_directories(folder);

    // The uP image ends in its integrity trailer, as the projector's loader expects.
    const std::string up = fw::sim::withIntegrityTrailer(pseudoRandomBytes(kUpImageSize, 0x2416u));
    const std::string scaler = pseudoRandomBytes(scalerSize, 0x9450u);
    const auto upPath = folder / ("QT" + model + "_uP.bin");
    const auto scalerPath = folder / ("QT" + model + "_scaler.bin");
    const auto listPath = folder / ("QT" + model + "_package.txt");
    const std::string list = "; sample firmware package\r\n[uP]" + upPath.string() + "\r\n[SCALER]" +
                             scalerPath.string() + "\r\n[CHECKSUM1]" + checksum(up) + "\r\n[CHECKSUM2]" +
                             checksum(scaler) + "\r\n";
    if (!write(upPath, up) || !write(scalerPath, scaler) || !write(listPath, list)) {
        std::cerr << "make-sample-package: cannot write into " << folder << '\n';
        return 1;
    }
    std::cout << listPath.string() << '\n';
    return 0;
}
