#include "ToolProcess.h"

#include <string>
#include <windows.h>

#include "IspToolRun.h"

namespace fw::sim::isp {

namespace {

void startLeftBehindChild()
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    // Named by its whole path, so a test can tell whose child it is.
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" ";
    commandLine += std::wstring(kLeftBehindChild, kLeftBehindChild + std::char_traits<char>::length(kLeftBehindChild));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(self, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return;
    writeTextFile(kLeftBehindChildFile, std::to_string(started.dwProcessId));
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
}

} // namespace

void hangForEver()
{
    startLeftBehindChild();
    for (;;) Sleep(INFINITE);
}

void writeLogLate(const std::string& path, const std::string& text, uint32_t lateMs)
{
    Sleep(lateMs);
    writeTextFile(path, text);
}

} // namespace fw::sim::isp
