#include "PortsCommand.h"

#include "ground/Json.h"
#include "ground/PortNumbering.h"
#include "ground/Texts.h"

namespace fw::cli {

namespace {

constexpr int kLatencyThatSuitsMs = 1;

// A number the device is reached by now; a number the dialog would give it
// is not one yet.
int currentNumber(const DetectedPort& port) { return port.newLine ? 0 : port.number; }

void textLine(const DetectedPort& port, std::ostream& out)
{
    const DetectedDevice& d = port.device;
    const int number = currentNumber(port);
    out << (number ? portName(number) : std::string("-")) << '\t' << d.device << '\t'
        << d.description << '\t' << d.manufacturer << '\t' << d.serialNumber << '\t' << usbId(d) << '\t'
        << d.kernelDevice << '\t' << (d.latencyTimerMs ? std::to_string(*d.latencyTimerMs) + " ms" : "") << '\n';
}

void jsonPortLine(const DetectedPort& port, std::ostream& out)
{
    const DetectedDevice& d = port.device;
    const int number = currentNumber(port);
    const Json line = {{"port", number ? Json(number) : Json(nullptr)},
                       {"device", d.device},
                       {"description", d.description},
                       {"manufacturer", d.manufacturer},
                       {"serial_number", d.serialNumber},
                       {"usb_id", usbId(d)},
                       {"kernel_device", d.kernelDevice.empty() ? Json(nullptr) : Json(d.kernelDevice)},
                       {"latency_timer_ms", d.latencyTimerMs ? Json(*d.latencyTimerMs) : Json(nullptr)}};
    out << jsonLine(line) << '\n';
}

void noteLatency(const DetectedDevice& d, std::ostream& notes)
{
    if (!d.latencyTimerMs || *d.latencyTimerMs <= kLatencyThatSuitsMs) return;
    const std::string kernelName = d.kernelDevice.empty() ? d.device : d.kernelDevice;
    notes << "fwupgrade: " << d.device << texts::LatencyTimerIs << std::to_string(*d.latencyTimerMs) << texts::LatencyTimerTail
          << kernelName.substr(kernelName.rfind('/') + 1) << texts::LatencyTimerFile << '\n';
}

} // namespace

void listPorts(SerialDeviceSource& source, const SettingsFile& settings, bool json, std::ostream& out,
               const PortGrabbers& grabbers, std::ostream* notes)
{
    const auto ports = numberDetectedDevices(source.devices(), settings.portDevices(), source.mapsPorts());
    for (const DetectedPort& port : ports) json ? jsonPortLine(port, out) : textLine(port, out);
    if (!notes) return;
    for (const DetectedPort& port : ports) noteLatency(port.device, *notes);
    for (const std::string& grabber : grabbers)
        *notes << "fwupgrade: " << grabber << texts::GrabberRuns << grabber << texts::GrabberRunsTail << '\n';
}

} // namespace fw::cli
