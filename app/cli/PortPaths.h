#pragma once

#include <optional>
#include <string>

#include "CliOptions.h"
#include "qt/PortDevice.h"

namespace fw::cli {

// A --port value naming a device rather than a number: /dev/ttyUSB0,
// \\.\COM10, or a serial server (rfc2217://host:port, socket://host:port).
bool isDevicePath(const std::string& text);

// Gives each --port device path the number it runs under: the number
// settings.ini already maps to it, else the platform's own number for it,
// else the lowest number that reaches nothing and is not given as --port.
// settings.ini is not written. The reason when a path cannot be used.
std::optional<std::string> resolvePortPaths(CliOptions& options);

// Port numbers to devices for this run: the paths given, then settings.ini.
qt::PortDeviceOf cliPortDevices(const CliOptions& options);

} // namespace fw::cli
