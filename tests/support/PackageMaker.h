#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "SimRig.h"
#include "ground/FilePath.h"
#include "ground/Texts.h"
#include "window/View.h"

// The one place tests make firmware packages: image contents, images of a
// given byte sum, list files, and the rig with a package in its folders.
namespace fw::testing {

inline constexpr std::size_t kUpImageSize = 262144;
inline constexpr std::size_t kSmallestScalerSize = 2500000;

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
    std::ofstream out(filePath(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string readFile(const std::string& path)
{
    std::ifstream in(filePath(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// An image of `size` bytes whose byte sum is `sum`: runs of 0xFF, one
// remainder byte, and a sparse tail of zeros, so even large ones cost little.
inline void writeImage(const std::string& path, uint64_t size, uint64_t sum)
{
    writeFile(path, std::string(sum / 255, '\xFF') + (sum % 255 ? std::string(1, char(sum % 255)) : ""));
    std::filesystem::resize_file(filePath(path), size);
}

inline std::string listText(const std::string& up, const std::string& scaler, const std::string& sum1,
                            const std::string& sum2)
{
    return "[uP]" + up + "\r\n[SCALER]" + scaler + "\r\n[CHECKSUM1]" + sum1 + "\r\n[CHECKSUM2]" + sum2 + "\r\n";
}

// A valid package in `folder`: two images of varied bytes and a list file
// naming them with absolute paths and correct checksums.
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
    Package p{folder + "/package.txt", folder + "/" + upName, folder + "/" + scalerName,
              imageBytes(kUpImageSize, 1), imageBytes(scalerSize, 2)};
    writeFile(p.upImage, p.upBytes);
    writeFile(p.scalerImage, p.scalerBytes);
    writeFile(p.listFile, listText(p.upImage, p.scalerImage, checksumText(p.upBytes), checksumText(p.scalerBytes)));
    return p;
}

// A rig whose working folder holds up.bin (sum 0x1234) and scaler.bin (sum
// 0xBEEF), made cheaply by sum, and list files in its program folder naming
// them relative to the working folder.
struct PackageFixture {
    sim::SimRig rig;
    std::string upName = "QT2416_up.bin";
    std::string scalerName = "scaler.bin";

    std::string work(const std::string& name) const { return rig.workFolder.file(name); }
    std::string list(const std::string& text, const std::string& name = "list.txt")
    {
        const std::string path = rig.programFolder.file(name);
        writeFile(path, text);
        return path;
    }
    std::string validListText() const { return listText(upName, scalerName, "1234", "BEEF"); }
    void writeImages(uint64_t upSize = kUpImageSize, uint64_t scalerSize = kSmallestScalerSize)
    {
        writeImage(work(upName), upSize, 0x1234);
        writeImage(work(scalerName), scalerSize, 0xBEEF);
    }
    std::string validPackage()
    {
        writeImages();
        return list(validListText());
    }

    bool upgradeEnabled() const { return rig.view.enabled(Control::cmdUpgradeSW); }
    std::vector<std::string> messages() const { return rig.view.messageTexts(); }
};

} // namespace fw::testing
