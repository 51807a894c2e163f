#include "package/ImageDigest.h"

#include <fstream>
#include <vector>

#include "ground/FilePath.h"
#include "package/ByteSum.h"
#include "package/Sha256.h"

namespace fw {

namespace {
constexpr std::size_t kPiece = 1 << 16;
} // namespace

std::optional<ImageDigest> digestImage(const std::string& path)
{
    std::ifstream in(filePath(path), std::ios::binary);
    if (!in) return std::nullopt;
    ImageDigest digest;
    Sha256 sha;
    std::vector<unsigned char> piece(kPiece);
    while (in) {
        in.read(reinterpret_cast<char*>(piece.data()), static_cast<std::streamsize>(piece.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        digest.size += got;
        digest.byteSum += byteSum(piece.data(), got);
        sha.add(piece.data(), got);
    }
    if (in.bad()) return std::nullopt;
    digest.sha256 = sha.hex();
    return digest;
}

} // namespace fw
