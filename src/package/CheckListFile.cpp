#include "package/CheckListFile.h"

#include "package/ByteSum.h"
#include "package/PackageFiles.h"

namespace fw {

namespace {

constexpr uint64_t kUpImageSize = 262144;  // 0x40000, what the loader takes
constexpr uint64_t kScalerImageMinSize = 2500000;
constexpr uint64_t kScalerImageMaxSize = 4800000;

// A test of the package failed; the fault says which. Thrown from deep in
// the steps below and caught once, in CheckListFile.
struct Refusal {
    PackageFault fault;
};

void require(bool condition, PackageFault fault)
{
    if (!condition) throw Refusal{fault};
}

std::string imagePath(const std::string& workingDirectory, const TagValue& name)
{
    if (name.overlong) throw PackageFileError{FileFault::FileNotFound};
    return resolveName(workingDirectory, name.value);
}

void requireChecksum(const std::string& path, uint64_t size, const TagValue& listed)
{
    require(listed.seen, PackageFault::NotValid);
    const uint64_t sum = byteSumOfFile(path, size);
    require(sum >= kSmallestComparableSum, PackageFault::Unusable);
    require(!listed.overlong && checksumMatches(sum, listed.value), PackageFault::NotValid);
}

void checkImage(std::optional<CheckedImage>& image, const std::string& workingDirectory,
                const TagValue& name, const TagValue& checksum, bool (*sizeFits)(uint64_t), PackageFault wrongSize)
{
    const std::string path = imagePath(workingDirectory, name);
    const uint64_t size = measureFile(path);
    require(sizeFits(size), wrongSize);
    image = CheckedImage{name.value, size};
    requireChecksum(path, size, checksum);
}

bool upSizeFits(uint64_t size) { return size == kUpImageSize; }
bool scalerSizeFits(uint64_t size) { return size >= kScalerImageMinSize && size <= kScalerImageMaxSize; }

PackageFault faultOf(FileFault fault)
{
    switch (fault) {
    case FileFault::FileNotFound: return PackageFault::FileNotFound;
    case FileFault::PathNotFound: return PackageFault::PathNotFound;
    case FileFault::Other: break;
    }
    return PackageFault::Unusable;
}

} // namespace

PackageCheck CheckListFile(const std::string& listFilePath, const std::string& workingDirectory)
{
    PackageCheck check;
    try {
        const ListFileEntries entries = readListFileAt(resolveName(workingDirectory, listFilePath));
        require(entries.up.seen && entries.scaler.seen, PackageFault::NotValid);
        checkImage(check.up, workingDirectory, entries.up, entries.checksum1, upSizeFits,
                   PackageFault::UpSizeIncorrect);
        checkImage(check.scaler, workingDirectory, entries.scaler, entries.checksum2, scalerSizeFits,
                   PackageFault::ScalerSizeIncorrect);
    } catch (const Refusal& refusal) {
        check.fault = refusal.fault;
    } catch (const PackageFileError& error) {
        check.fault = faultOf(error.fault);
    }
    return check;
}

} // namespace fw
