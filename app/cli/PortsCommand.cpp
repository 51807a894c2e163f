#include "PortsCommand.h"

#include "ground/Json.h"
#include "ground/PortNumbering.h"

namespace fw::cli {

namespace {

// A number the device is reached by now; a number the dialog would give it
// is not one yet.
int currentNumber(const DetectedPort& port) { return port.newLine ? 0 : port.number; }

void textLine(const DetectedPort& port, std::ostream& out)
{
    const DetectedDevice& d = port.device;
    const int number = currentNumber(port);
    out << (number ? portName(number) : std::string("-")) << '\t' << d.device << '\t'
        << d.description << '\t' << d.manufacturer << '\t' << d.serialNumber << '\t' << usbId(d) << '\n';
}

void jsonLine(const DetectedPort& port, std::ostream& out)
{
    const DetectedDevice& d = port.device;
    const int number = currentNumber(port);
    out << "{\"port\":" << (number ? std::to_string(number) : std::string("null"))
        << ",\"device\":" << jsonString(d.device) << ",\"description\":" << jsonString(d.description)
        << ",\"manufacturer\":" << jsonString(d.manufacturer) << ",\"serial_number\":" << jsonString(d.serialNumber)
        << ",\"usb_id\":" << jsonString(usbId(d)) << "}\n";
}

} // namespace

void listPorts(SerialDeviceSource& source, const SettingsFile& settings, bool json, std::ostream& out)
{
    const auto ports = numberDetectedDevices(source.devices(), settings.portDevices(), source.mapsPorts());
    for (const DetectedPort& port : ports) json ? jsonLine(port, out) : textLine(port, out);
}

} // namespace fw::cli
