#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace fw {

// An image as the service record names it: what any shop can recompute
// (wc -c, the package's byte sum, sha256sum) to tell which firmware went in.
struct ImageDigest {
    uint64_t size = 0;
    uint64_t byteSum = 0;
    std::string sha256;  // lower-case hexadecimal
};

// Reads the file once; nothing when it cannot be read.
std::optional<ImageDigest> digestImage(const std::string& path);

} // namespace fw
