// The file helpers where the file system keeps no short names: Linux and
// macOS.
#include "ground/FileHelpers.h"

#include <filesystem>
#include <system_error>

#include "ground/FilePath.h"

namespace fw {

extern const char kPathSeparator = '/';

namespace fs = std::filesystem;

// No short names here: an existing entry's short name is its own name.
std::string GetShortNameOfEntry(const std::string& path)
{
    std::error_code ec;
    const fs::path entry = filePath(path);
    if (!fs::exists(fs::symlink_status(entry, ec)) || ec) return {};
    return pathText(entry.filename());
}

} // namespace fw
