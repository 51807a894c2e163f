#include "package/CheckListFile.h"

#include <string>

#include "package/ByteSum.h"
#include "package/PackageFiles.h"
#include "shell/WindowOps.h"

namespace fw {

namespace {

constexpr uint64_t kUpImageSize = 262144;  // 0x40000, what the loader takes
constexpr uint64_t kScalerImageMinSize = 2500000;
constexpr uint64_t kScalerImageMaxSize = 4800000;

constexpr const char* kUpSizeIncorrect = "ERROR: uP file size incorrect.";
constexpr const char* kScalerSizeIncorrect = "ERROR: Scaler file size incorrect.";
constexpr const char* kFileNotFound = "File not found";
constexpr const char* kPathNotFound = "Path not found";
constexpr const char* kFindTheImages = ". Please find the (.bin) binary file(s) listed in the selected text file.";

// A test of the list file's content failed; the message says which.
struct ContentFailure {
    const char* message;
};

// A byte sum too small to hold four hexadecimal digits: refused without a message.
struct UncomparableSum {};

void require(bool condition, const char* message)
{
    if (!condition) throw ContentFailure{message};
}

std::string imagePath(const Tool& tool, const TagValue& name)
{
    if (name.overlong) throw PackageFileError{FileFault::FileNotFound};
    return resolveName(tool.workingDirectory, name.value);
}

void requireChecksum(const std::string& path, uint64_t size, const TagValue& listed)
{
    require(listed.seen, kListFileNotValid);
    const uint64_t sum = byteSumOfFile(path, size);
    if (sum < kSmallestComparableSum) throw UncomparableSum{};
    require(!listed.overlong && checksumMatches(sum, listed.value), kListFileNotValid);
}

void checkUpImage(Tool& tool, const ListFileEntries& entries)
{
    const std::string path = imagePath(tool, entries.up);
    const uint64_t size = measureFile(path);
    require(size == kUpImageSize, kUpSizeIncorrect);
    tool.state.package.UpImagePath = entries.up.value;
    tool.state.package.UpImageSize = static_cast<double>(size);
    setCaption(tool, Caption::lblSize, std::to_string(size));
    requireChecksum(path, size, entries.checksum1);
}

void checkScalerImage(Tool& tool, const ListFileEntries& entries)
{
    const std::string path = imagePath(tool, entries.scaler);
    const uint64_t size = measureFile(path);
    require(size >= kScalerImageMinSize && size <= kScalerImageMaxSize, kScalerSizeIncorrect);
    tool.state.package.ScalerImagePath = entries.scaler.value;
    tool.state.package.ScalerImageSize = static_cast<double>(size);
    requireChecksum(path, size, entries.checksum2);
}

void checkPackage(Tool& tool, const std::string& listFilePath)
{
    const ListFileEntries entries = readListFileAt(resolveName(tool.workingDirectory, listFilePath));
    require(entries.up.seen && entries.scaler.seen, kListFileNotValid);
    checkUpImage(tool, entries);
    checkScalerImage(tool, entries);
}

void refuse(Tool& tool)
{
    tool.view.setEnabled(Control::cmdUpgradeSW, false);
    tool.state.ListFileValid = false;
}

void refuseContent(Tool& tool, const char* message)
{
    tool.view.setEnabled(Control::cmdUpgradeSW, false);
    report(tool, message, MessageStyle::Critical);
    tool.state.ListFileValid = false;
}

void refuseFile(Tool& tool, FileFault fault)
{
    if (fault != FileFault::Other) {
        const char* description = fault == FileFault::FileNotFound ? kFileNotFound : kPathNotFound;
        report(tool, std::string(description) + kFindTheImages, MessageStyle::Critical);
    }
    refuse(tool);
}

} // namespace

void CheckListFile(Tool& tool, const std::string& listFilePath)
{
    tool.state.ListFileValid = true;
    try {
        checkPackage(tool, listFilePath);
    } catch (const ContentFailure& failure) {
        refuseContent(tool, failure.message);
    } catch (const PackageFileError& error) {
        refuseFile(tool, error.fault);
    } catch (const UncomparableSum&) {
        refuse(tool);
    }
}

} // namespace fw
