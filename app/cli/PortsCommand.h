#pragma once

#include <ostream>
#include <string>

#include "ground/DetectedDevices.h"
#include "ground/SettingsFile.h"

namespace fw::cli {

// fwupgrade ports: each detected device on a line of its own, with the
// port number that reaches it now ("-" when none does yet: use its path
// with --port, or pick it in the window's port dialog). Tab-separated:
// port, device, description, manufacturer, serial number, USB id, the
// kernel's name where the device is a lasting /dev/serial/by-id name, and an
// FTDI adapter's latency timer; or one JSON object a line. Nothing at all
// when no device is found. Below, on `notes`: a latency timer above 1 ms,
// and the programs running that grab adapters, each with what to do.
void listPorts(SerialDeviceSource& source, const SettingsFile& settings, bool json, std::ostream& out,
               const PortGrabbers& grabbers = {}, std::ostream* notes = nullptr);

} // namespace fw::cli
