#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace fw::sim::isp {

// A serial device opened raw (8 data bits, no parity, 1 stop bit, no flow
// control) at a given speed: through POSIX termios in PosixSerialLink.cpp,
// through the Win32 communications API in Win32SerialLink.cpp.
class SerialLink {
public:
    SerialLink() = default;
    ~SerialLink();
    SerialLink(const SerialLink&) = delete;
    SerialLink& operator=(const SerialLink&) = delete;

    // Empty text on success, the reason otherwise.
    std::string open(const std::string& device, uint32_t baud);

    bool writeAll(const std::string& bytes);
    // What arrives within timeoutMs: empty text when nothing did, nothing
    // at all when the device failed.
    std::optional<std::string> read(uint32_t timeoutMs);

private:
    // The file descriptor or the Windows handle; -1 (INVALID_HANDLE_VALUE
    // on Windows) while closed.
    std::intptr_t native_ = -1;
};

// The device behind port number n. On Windows \\.\COMn. Elsewhere the
// device the program names in FWUP_PORT_DEVICE, else settings.ini in
// `folder` may map it in section [Ports], key COMn; otherwise /dev/ttyS(n-1).
std::string deviceForPort(const std::string& folder, int portNumber);

// Ends the process at once, as a crash would: no log, no clean-up.
[[noreturn]] void endAsCrashed();

} // namespace fw::sim::isp
