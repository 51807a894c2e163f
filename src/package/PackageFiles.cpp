#include "package/PackageFiles.h"

#include <filesystem>
#include <fstream>
#include <ios>
#include <system_error>
#include <vector>

#include "ground/FilePath.h"
#include "package/ByteSum.h"

namespace fw {

namespace fs = std::filesystem;

namespace {

// Small enough to stay in cache while it is summed, large enough that the
// reads cost little.
constexpr std::size_t kSumPiece = 64 * 1024;

bool folderExists(const fs::path& folder)
{
    std::error_code ec;
    return fs::is_directory(folder.empty() ? fs::path(".") : folder, ec);
}

FileFault faultOf(const fs::path& path, const std::error_code& error)
{
    if (error == std::errc::no_such_file_or_directory)
        return folderExists(path.parent_path()) ? FileFault::FileNotFound : FileFault::PathNotFound;
    if (error == std::errc::not_a_directory) return FileFault::PathNotFound;
    if (error == std::errc::filename_too_long) return FileFault::FileNotFound;
    return FileFault::Other;
}

bool holdsNul(const std::string& name) { return name.find('\0') != std::string::npos; }

// Fails unless the path names an ordinary file (links followed).
void requireOrdinaryFile(const std::string& path)
{
    if (path.empty() || holdsNul(path)) throw PackageFileError{FileFault::FileNotFound};
    std::error_code ec;
    const fs::path file = filePath(path);
    const fs::file_status status = fs::status(file, ec);
    if (ec) throw PackageFileError{faultOf(file, ec)};
    if (!fs::is_regular_file(status)) throw PackageFileError{FileFault::Other};
}

std::ifstream openForReading(const std::string& path)
{
    requireOrdinaryFile(path);
    std::ifstream in(filePath(path), std::ios::binary);
    if (!in) throw PackageFileError{FileFault::Other};
    return in;
}

} // namespace

std::string resolveName(const std::string& workingDirectory, const std::string& name)
{
    if (name.empty() || holdsNul(name)) return name;  // names nothing; kept so the check says so
    const fs::path image = filePath(name);
    if (image.is_absolute() || workingDirectory.empty()) return name;
    return pathText(filePath(workingDirectory) / image);
}

uint64_t measureFile(const std::string& path)
{
    requireOrdinaryFile(path);
    std::error_code ec;
    const uintmax_t size = fs::file_size(filePath(path), ec);
    if (ec) throw PackageFileError{faultOf(filePath(path), ec)};
    return size;
}

uint64_t byteSumOfFile(const std::string& path, uint64_t measuredSize)
{
    std::ifstream in = openForReading(path);
    std::vector<unsigned char> piece(kSumPiece);
    uint64_t sum = 0;
    uint64_t left = measuredSize;
    while (left > 0) {
        const auto want = static_cast<std::streamsize>(std::min<uint64_t>(left, piece.size()));
        in.read(reinterpret_cast<char*>(piece.data()), want);
        if (in.gcount() != want) throw PackageFileError{FileFault::Other};  // shrank since it was measured
        sum += byteSum(piece.data(), static_cast<std::size_t>(want));
        left -= static_cast<uint64_t>(want);
    }
    if (in.peek() != std::ifstream::traits_type::eof()) throw PackageFileError{FileFault::Other};  // grew
    return sum;
}

ListFileEntries readListFileAt(const std::string& path)
{
    if (path.empty()) throw PackageFileError{FileFault::Other};  // no list file chosen: nothing to say
    std::ifstream in = openForReading(path);
    try {
        ListFileEntries entries = readListFile(in);
        if (in.bad()) throw PackageFileError{FileFault::Other};
        // The names were written by whoever made the package, on whichever system.
        entries.up.value = fromStoredText(entries.up.value);
        entries.scaler.value = fromStoredText(entries.scaler.value);
        return entries;
    } catch (const std::ios_base::failure&) {
        throw PackageFileError{FileFault::Other};
    }
}

} // namespace fw
