#include "platform/UserName.h"

#include <windows.h>

namespace fw::platform {

std::string userName()
{
    wchar_t name[257];
    DWORD size = sizeof name / sizeof name[0];
    if (!GetUserNameW(name, &size) || size == 0) return {};
    const int length = static_cast<int>(size - 1);  // the count includes the terminating null
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, name, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0) WideCharToMultiByte(CP_UTF8, 0, name, length, out.data(), bytes, nullptr, nullptr);
    return out;
}

} // namespace fw::platform
