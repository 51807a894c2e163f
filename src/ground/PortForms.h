#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace fw {

// How a technician writes a projector's port, on the command line (--port)
// and in a venue file alike.
enum class PortForm {
    Number,      // 3 or COM3: a port number from 1 to 255
    DevicePath,  // /dev/ttyUSB0, \\.\COM10
    Network,     // rfc2217://HOST:PORT, socket://HOST:PORT
    Unknown,
};

PortForm portFormOf(std::string_view text);

// The number of a port written as a number: "3" or "COM3" (any letter
// case), 1 to 255; none for anything else.
std::optional<int> portNumberOf(std::string_view text);

// A port written as a device rather than a number: a device path or a
// serial server, valid or not (portFormOf tells).
bool isDevicePath(std::string_view text);

} // namespace fw
