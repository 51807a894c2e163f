#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace fw {

// Why a list file cannot be used.
enum class PackageFault {
    None,
    NotValid,            // a tag or checksum is missing or wrong, or the list is unreadable as text
    UpSizeIncorrect,
    ScalerSizeIncorrect,
    FileNotFound,        // the list file or an image is not there
    PathNotFound,        // a folder on the way is not there
    Unusable,            // a folder, a device, unreadable, or a byte sum too small to compare: no message
};

// One image as far as the check got with it: the name as the list file
// writes it and its size.
struct CheckedImage {
    std::string name;
    uint64_t size = 0;
};

struct PackageCheck {
    PackageFault fault = PackageFault::None;
    // Filled in as the check gets far enough to measure each image, so the
    // uP image's size may be known even when a later test failed.
    std::optional<CheckedImage> up;
    std::optional<CheckedImage> scaler;
    bool valid() const { return fault == PackageFault::None; }
};

// Reads the list file, measures both images and recomputes their byte
// sums. Relative names resolve against the folder the program was started in.
PackageCheck CheckListFile(const std::string& listFilePath, const std::string& workingDirectory);

} // namespace fw
