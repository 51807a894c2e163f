#pragma once

#include <functional>
#include <string>

#include "ground/SettingsFile.h"

namespace fw::qt {

// Turns a port number into the name of the serial device to open; empty
// text when the number names no device.
using PortDeviceOf = std::function<std::string(int number)>;

// The platform's own name for port n: COMn on Windows, /dev/ttyS(n-1) on
// Linux and macOS. Numbers below 1 name no device.
std::string defaultPortDevice(int number);

// Port n as the settings' [Ports] lines map it (COM1=/dev/ttyUSB0,
// COM2=rfc2217://host:port), else the platform's own name. The file is read
// at every open, so an edit takes effect at the next open. Windows maps only
// serial servers: COMn is the device.
PortDeviceOf settingsPortDevices(SettingsFile settings);

// True where settings.ini may map numbers to devices: Linux and macOS.
bool portsMappedBySettings();

} // namespace fw::qt
