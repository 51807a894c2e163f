// The file helpers on the Windows API: 8.3 names.
#include "ground/FileHelpers.h"

#include <windows.h>

#include "ground/FilePath.h"

namespace fw {

extern const char kPathSeparator = '\\';

std::string GetShortNameOfEntry(const std::string& path)
{
    const std::filesystem::path name = filePath(path);
    if (name.empty()) return {};
    WIN32_FIND_DATAW entry{};
    const HANDLE search = FindFirstFileW(name.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return {};
    FindClose(search);
    const wchar_t* found = entry.cAlternateFileName[0] != L'\0' ? entry.cAlternateFileName : entry.cFileName;
    return pathText(std::filesystem::path(found));
}

} // namespace fw
