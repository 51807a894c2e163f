#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fw {

// SHA-256 (FIPS 180-4), fed in pieces: the service record names each image
// by its digest, which any shop can recompute with sha256sum.
class Sha256 {
public:
    Sha256();
    void add(const unsigned char* data, std::size_t size);
    void add(std::string_view bytes) { add(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()); }
    // The digest as 64 lower-case hexadecimal characters. Ends the sum.
    std::string hex();

private:
    void compressBlock(const unsigned char* block);

    std::array<uint32_t, 8> state_;
    std::array<unsigned char, 64> pending_{};
    std::size_t pendingSize_ = 0;
    uint64_t totalBytes_ = 0;
};

} // namespace fw
