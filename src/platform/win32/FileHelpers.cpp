// The file helpers on the Windows API: 8.3 names.
#include "ground/FileHelpers.h"

#include <windows.h>

namespace fw {

extern const char kPathSeparator = '\\';

std::string GetShortNameOfEntry(const std::string& path)
{
    WIN32_FIND_DATAA entry{};
    const HANDLE search = FindFirstFileA(path.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return {};
    FindClose(search);
    return entry.cAlternateFileName[0] != '\0' ? std::string(entry.cAlternateFileName) : std::string(entry.cFileName);
}

} // namespace fw
