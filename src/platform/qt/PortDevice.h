#pragma once

#include <functional>
#include <string>

namespace fw::qt {

// Turns a port number into the name of the serial device to open; empty
// text when the number names no device.
using PortDeviceOf = std::function<std::string(int number)>;

// The platform's own name for port n: COMn on Windows, /dev/ttyS(n-1) on
// Linux and macOS. Numbers below 1 name no device.
std::string defaultPortDevice(int number);

// Port n as settings.ini maps it in section "Ports", key "COM" followed by n
// (COM1=/dev/ttyUSB0), else the platform's own name. The file is read at
// every open, so an edit takes effect at the next open. Windows has no
// mapping: COMn is the device.
PortDeviceOf settingsPortDevices(std::string settingsPath);

// True where settings.ini may map numbers to devices: Linux and macOS.
bool portsMappedBySettings();

inline constexpr const char* kPortsSection = "Ports";

} // namespace fw::qt
