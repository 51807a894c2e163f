#pragma once

#include <cstdint>
#include <string>

namespace fw {

// The package named by the last list file checked. Fields are written as the
// check gets far enough to set them, so they are trustworthy only while
// ListFileValid is true.
struct FirmwarePackage {
    std::string UpImagePath;
    uint64_t UpImageSize = 0;  // bytes
    std::string ScalerImagePath;
    uint64_t ScalerImageSize = 0;
};

} // namespace fw
