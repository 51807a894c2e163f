#include "TestPlatform.h"

#include <cstdlib>
#include <windows.h>

#include <string>

namespace fw::testing {

bool hasFifos() { return false; }

bool makeFifo(const std::string&) { return false; }

// Taking the permissions away only sets the read-only attribute.
bool filesCanBeMadeUnreadable() { return false; }

struct ReadPermissionEnforced::Saved {};
ReadPermissionEnforced::ReadPermissionEnforced() = default;
ReadPermissionEnforced::~ReadPermissionEnforced() = default;

bool namesMayHoldAnyByte() { return false; }

// Symbolic links need a privilege that ordinary accounts lack.
bool canMakeLinks() { return false; }

namespace {

// Wine's own functions are found in its kernel32; Windows has none of them.
bool underWine()
{
    return GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name") != nullptr;
}

} // namespace

// Poppler's Windows build in the search path, where there is one.
bool pdfReaderRuns() { return !underWine(); }

void letOffscreenDrawingFindFonts()
{
    // Qt reads the C runtime's copy of the environment.
    if (_wgetenv(L"QT_QPA_FONTDIR")) return;
    if (underWine()) {
        // The prefix's own font folder is empty; Debian's fonts-liberation is at hand.
        _wputenv_s(L"QT_QPA_FONTDIR", L"Z:/usr/share/fonts/truetype/liberation");
        return;
    }
    wchar_t windows[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
    if (length > 0 && length < MAX_PATH) _wputenv_s(L"QT_QPA_FONTDIR", (std::wstring(windows) + L"\\Fonts").c_str());
}

} // namespace fw::testing
