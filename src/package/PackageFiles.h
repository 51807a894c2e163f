#pragma once

#include <cstdint>
#include <string>

#include "package/ListFileReader.h"

namespace fw {

// Why a file of the package could not be used. Only the two "not found"
// kinds are told to the technician.
enum class FileFault { FileNotFound, PathNotFound, Other };

struct PackageFileError {
    FileFault fault;
};

// Where a name from the list file (or the list file itself) points: absolute
// names as they are, relative ones under the folder the program was started
// in, never under the list file's folder.
std::string resolveName(const std::string& workingDirectory, const std::string& name);

// Size of an ordinary file; throws PackageFileError. Devices, pipes and
// folders are refused, so a check never hangs on one.
uint64_t measureFile(const std::string& path);

// Byte sum of a file that must still hold exactly `measuredSize` bytes;
// throws PackageFileError (Other when the file has changed size).
uint64_t byteSumOfFile(const std::string& path, uint64_t measuredSize);

// The tags of a list file; throws PackageFileError.
ListFileEntries readListFileAt(const std::string& path);

} // namespace fw
