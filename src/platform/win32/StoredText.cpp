// Windows programs of old wrote settings.ini and list files in the ANSI code
// page. Text that is valid UTF-8 is taken as such (a real ANSI name is
// practically never valid UTF-8 once it holds a letter beyond ASCII); other
// text is read in the ANSI code page. Text is stored in the ANSI code page
// when every character has a place there, so older copies read it as before,
// and as UTF-8 otherwise, so that nothing is turned into "?".
#include "ground/FilePath.h"

#include <windows.h>

namespace fw {

namespace {

std::wstring wide(std::string_view text, UINT codePage, DWORD flags)
{
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring out(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, flags, text.data(), size, out.data(), length);
    return out;
}

// Empty when a character has no place in the code page.
std::string narrow(const std::wstring& text, UINT codePage)
{
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    BOOL lost = FALSE;
    BOOL* lostFlag = codePage == CP_UTF8 ? nullptr : &lost;
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int length = WideCharToMultiByte(codePage, flags, text.data(), size, nullptr, 0, nullptr, lostFlag);
    if (length <= 0 || lost) return {};
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, flags, text.data(), size, out.data(), length, nullptr, lostFlag);
    return lost ? std::string() : out;
}

bool isAscii(std::string_view text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

} // namespace

std::string fromStoredText(std::string_view stored)
{
    if (isAscii(stored) || !wide(stored, CP_UTF8, MB_ERR_INVALID_CHARS).empty()) return std::string(stored);
    return narrow(wide(stored, CP_ACP, 0), CP_UTF8);
}

std::string toStoredText(std::string_view text)
{
    if (isAscii(text)) return std::string(text);
    const std::string ansi = narrow(wide(text, CP_UTF8, MB_ERR_INVALID_CHARS), CP_ACP);
    return ansi.empty() ? std::string(text) : ansi;
}

} // namespace fw
