#include "SerialLink.h"

#include <windows.h>

#include "ground/SettingsFile.h"

namespace fw::sim::isp {

namespace {

constexpr const char* kDevicePrefix = "\\\\.\\";
// A write that the port has not taken within this time counts as a device failure.
constexpr DWORD kWriteTimeoutMs = 5000;
// How Windows reports a process that died of an access violation.
constexpr UINT kCrashExitCode = 0xC0000005;
constexpr DWORD kPollMs = 1;
constexpr std::size_t kReadChunk = 4096;

HANDLE handleOf(std::intptr_t native) { return reinterpret_cast<HANDLE>(native); }

std::string lastErrorText(const char* what)
{
    const DWORD code = GetLastError();
    char text[256] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        text, sizeof text, nullptr);
    std::string reason = std::string(what) + ": error " + std::to_string(code);
    if (length > 0) reason += " " + std::string(text, length);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' '))
        reason.pop_back();
    return reason;
}

bool setRaw8N1(HANDLE port, uint32_t baud)
{
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(port, &dcb)) return false;
    dcb.BaudRate = baud;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    return SetCommState(port, &dcb) != 0;
}

// ReadFile hands over what has arrived and returns at once; read() waits for
// the first byte itself, as "wait for the first byte" time-outs are not kept
// alike by every serial driver (wine's wait out the whole time). A write the
// port does not take in time fails.
bool setTimeouts(HANDLE port)
{
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.WriteTotalTimeoutConstant = kWriteTimeoutMs;
    return SetCommTimeouts(port, &timeouts) != 0;
}

} // namespace

SerialLink::~SerialLink()
{
    if (handleOf(native_) != INVALID_HANDLE_VALUE) CloseHandle(handleOf(native_));
}

std::string SerialLink::open(const std::string& device, uint32_t baud)
{
    const HANDLE port =
        CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE) return lastErrorText("CreateFile");
    native_ = reinterpret_cast<std::intptr_t>(port);
    if (!setRaw8N1(port, baud)) return lastErrorText("SetCommState");
    if (!setTimeouts(port)) return lastErrorText("SetCommTimeouts");
    PurgeComm(port, PURGE_RXCLEAR | PURGE_TXCLEAR);
    return {};
}

bool SerialLink::writeAll(const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(bytes.size() - done);
        if (!WriteFile(handleOf(native_), bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

std::optional<std::string> SerialLink::read(uint32_t timeoutMs)
{
    const HANDLE port = handleOf(native_);
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        DWORD errors = 0;
        COMSTAT status{};
        if (!ClearCommError(port, &errors, &status)) return std::nullopt;
        if (status.cbInQue > 0) break;
        if (GetTickCount64() >= deadline) return std::string{};
        Sleep(kPollMs);
    }
    char buffer[kReadChunk];
    DWORD n = 0;
    if (!ReadFile(port, buffer, sizeof buffer, &n, nullptr)) return std::nullopt;
    return std::string(buffer, n);
}

std::string deviceForPort(const std::string&, int portNumber) { return kDevicePrefix + fw::portName(portNumber); }

void endAsCrashed()
{
    TerminateProcess(GetCurrentProcess(), kCrashExitCode);
    ExitProcess(kCrashExitCode);
}

} // namespace fw::sim::isp
