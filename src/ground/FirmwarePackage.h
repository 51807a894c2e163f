#pragma once

#include <string>

namespace fw {

// The package named by the last list file checked. Fields are written as the
// check gets far enough to set them, so they are trustworthy only while
// ListFileValid is true.
struct FirmwarePackage {
    std::string UpImagePath;
    double UpImageSize = 0;
    std::string ScalerImagePath;
    double ScalerImageSize = 0;
};

} // namespace fw
