// The file helpers where the file system keeps no short names and hides
// dot-files: Linux and macOS.
#include "ground/FileHelpers.h"

#include <filesystem>
#include <system_error>

namespace fw {

extern const char kPathSeparator = '/';

namespace fs = std::filesystem;

namespace {

constexpr char kAnyRun = '*';
constexpr char kAnyOne = '?';

// Wildcard match of a whole name: "*" any run of characters, "?" exactly one.
bool matchesPattern(std::string_view name, std::string_view pattern)
{
    std::size_t n = 0, p = 0;
    std::size_t starAt = std::string_view::npos, resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == kAnyOne || pattern[p] == name[n])) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == kAnyRun) {
            starAt = p++;
            resumeAt = n;
        } else if (starAt != std::string_view::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == kAnyRun) ++p;
    return p == pattern.size();
}

// Dot-files are what a Linux or macOS listing hides.
bool isHidden(const std::string& name) { return !name.empty() && name.front() == '.'; }

bool isOrdinaryFile(const fs::path& path)
{
    std::error_code ec;
    return fs::is_regular_file(path, ec) && !isHidden(path.filename().string());
}

bool anyOrdinaryFileMatches(const fs::path& folder, const std::string& pattern)
{
    std::error_code ec;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (matchesPattern(name, pattern) && isOrdinaryFile(it->path())) return true;
    }
    return false;
}

} // namespace

bool FileExists(const std::string& FileName)
{
    if (FileName.empty()) return false;
    const fs::path path(FileName);
    const std::string last = path.filename().string();
    if (last.find_first_of("*?") == std::string::npos) return isOrdinaryFile(path);
    return anyOrdinaryFileMatches(path.parent_path(), last);
}

// No short names here: an existing entry's short name is its own name.
std::string GetShortNameOfEntry(const std::string& path)
{
    std::error_code ec;
    const fs::path entry(path);
    if (!fs::exists(fs::symlink_status(entry, ec)) || ec) return {};
    return entry.filename().string();
}

// Deletes a file or a link, never a folder.
void DelFile(const std::string& FileName)
{
    std::error_code ec;
    if (fs::is_directory(fs::symlink_status(FileName, ec))) return;
    fs::remove(FileName, ec);
}

} // namespace fw
