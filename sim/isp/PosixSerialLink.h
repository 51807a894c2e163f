#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace fw::sim::isp {

// A serial device opened raw (8 data bits, no parity, 1 stop bit, no flow
// control) at a given speed, through POSIX termios.
class PosixSerialLink {
public:
    PosixSerialLink() = default;
    ~PosixSerialLink();
    PosixSerialLink(const PosixSerialLink&) = delete;
    PosixSerialLink& operator=(const PosixSerialLink&) = delete;

    // Empty text on success, the reason otherwise.
    std::string open(const std::string& device, uint32_t baud);

    bool writeAll(const std::string& bytes);
    // What arrives within timeoutMs: empty text when nothing did, nothing
    // at all when the device failed.
    std::optional<std::string> read(uint32_t timeoutMs);

private:
    int fd_ = -1;
};

// The device behind port number n: settings.ini in `folder` may map it in
// section [Ports], key COMn; otherwise /dev/ttyS(n-1).
std::string deviceForPort(const std::string& folder, int portNumber);

} // namespace fw::sim::isp
