#include "shell/FileHelpers.h"

#include "shell/Tool.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#else
#include <filesystem>
#include <system_error>
#endif

namespace fw {

std::string GetTextBefore(std::string_view text, std::string_view separator)
{
    const auto at = text.find(separator);
    return std::string(at == std::string_view::npos ? text : text.substr(0, at));
}

// Converts one component at a time, each looked up in its already converted
// parent folder. The part up to the first separator (a drive such as C:\, or
// the root "/") is copied as written. A root alone therefore gives the text
// before its separator: "C:" for C:\, empty text for "/", which callers that
// append a separator and a name turn back into a path under the root.
std::string GetShortNameFromLongName(const std::string& strLFN)
{
    const std::string separator(1, kPathSeparator);
    const auto first = strLFN.find(kPathSeparator);
    if (first == std::string::npos) return {};
    std::string shortPrefix = strLFN.substr(0, first + 1);
    std::size_t i = first + 1;
    while (i < strLFN.size()) {
        const std::string component = GetTextBefore(std::string_view(strLFN).substr(i), separator);
        if (component.empty()) return {};
        const std::string shortName = GetShortNameOfEntry(shortPrefix + component);
        if (shortName.empty()) return {};
        shortPrefix += shortName + separator;
        i += component.size() + 1;
    }
    shortPrefix.pop_back();
    return shortPrefix;
}

#ifdef _WIN32

namespace {
constexpr DWORD kNeverMatches = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
}

bool FileExists(const std::string& FileName)
{
    WIN32_FIND_DATAA entry{};
    const HANDLE search = FindFirstFileA(FileName.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool found = false;
    do {
        found = (entry.dwFileAttributes & kNeverMatches) == 0 && entry.cFileName[0] != '\0';
    } while (!found && FindNextFileA(search, &entry));
    FindClose(search);
    return found;
}

std::string GetShortNameOfEntry(const std::string& path)
{
    WIN32_FIND_DATAA entry{};
    const HANDLE search = FindFirstFileA(path.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return {};
    FindClose(search);
    return entry.cAlternateFileName[0] != '\0' ? std::string(entry.cAlternateFileName) : std::string(entry.cFileName);
}

// Never a folder: the shell would delete it with everything in it.
void DelFile(const std::string& FileName)
{
    const DWORD attributes = GetFileAttributesA(FileName.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return;
    std::string from = FileName;
    from.append(2, '\0');  // the shell takes a list of names ended by an empty one
    SHFILEOPSTRUCTA operation{};
    operation.hwnd = nullptr;
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.pTo = nullptr;
    // The outcome is not reported, so no error window may wait for a click either.
    operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationA(&operation);
}

#else

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

#endif

} // namespace fw
