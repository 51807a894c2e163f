#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "SimRig.h"
#include "shell/View.h"

namespace fw::test {

inline constexpr uint64_t kUpSize = 262144;
inline constexpr uint64_t kScalerSize = 2500000;
inline const std::string kNotValid = "Selected text file is not valid. Please select a valid file.";
inline const std::string kUpSizeIncorrect = "ERROR: uP file size incorrect.";
inline const std::string kScalerSizeIncorrect = "ERROR: Scaler file size incorrect.";
inline const std::string kFindTheImages =
    ". Please find the (.bin) binary file(s) listed in the selected text file.";

// An image of `size` bytes whose byte sum is `sum`: runs of 0xFF, one
// remainder byte, and a sparse tail of zeros, so even large ones cost little.
inline void writeImage(const std::string& path, uint64_t size, uint64_t sum)
{
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << std::string(sum / 255, '\xFF');
        if (sum % 255) out << static_cast<char>(sum % 255);
    }
    std::filesystem::resize_file(path, size);
}

inline void writeText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// A package in the rig's working folder: up.bin (sum 0x1234), scaler.bin
// (sum 0xBEEF) and the list file naming them relative to that folder.
struct PackageFixture {
    sim::SimRig rig;
    std::string upName = "QT2416_up.bin";
    std::string scalerName = "scaler.bin";

    std::string work(const std::string& name) const { return rig.workFolder.file(name); }
    std::string list(const std::string& text, const std::string& name = "list.txt")
    {
        const std::string path = rig.programFolder.file(name);
        writeText(path, text);
        return path;
    }
    std::string validListText() const
    {
        return "[uP]" + upName + "\r\n[SCALER]" + scalerName + "\r\n[CHECKSUM1]1234\r\n[CHECKSUM2]BEEF\r\n";
    }
    void writeImages(uint64_t upSize = kUpSize, uint64_t scalerSize = kScalerSize)
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

} // namespace fw::test
