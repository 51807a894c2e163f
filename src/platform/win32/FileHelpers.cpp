// The file helpers on the Windows API: wildcard search, 8.3 names and the
// shell's silent delete.
#include "ground/FileHelpers.h"

#include <windows.h>
#include <shellapi.h>

namespace fw {

extern const char kPathSeparator = '\\';

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

} // namespace fw
