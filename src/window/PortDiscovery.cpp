#include "window/PortDiscovery.h"

#include <algorithm>

#include "ground/NetworkAddress.h"
#include "ground/Text.h"
#include "ground/Texts.h"
#include "window/Tool.h"
#include "window/WindowOps.h"

namespace fw {

namespace {

void forgetPick(Tool& tool)
{
    tool.state.pickedPortNumber = 0;
    tool.state.pickedPortDevice.clear();
}

} // namespace

std::vector<DetectedPort> detectedPorts(Tool& tool, SerialDeviceSource& source)
{
    const std::vector<DetectedDevice> devices = source.devices();
    PortLines lines = tool.settings().portDevices();
    const bool pickPresent = std::any_of(devices.begin(), devices.end(), [&](const DetectedDevice& d) {
        return d.device == tool.state.pickedPortDevice;
    });
    if (!pickPresent || lines.count(tool.state.pickedPortNumber)) forgetPick(tool);
    const bool pending = tool.state.pickedPortNumber != 0;
    if (pending) lines.emplace(tool.state.pickedPortNumber, tool.state.pickedPortDevice);

    std::vector<DetectedPort> ports = numberDetectedDevices(devices, lines, source.mapsPorts());
    for (DetectedPort& port : ports)
        if (pending && port.number == tool.state.pickedPortNumber) port.newLine = true;
    return ports;
}

void pickDetectedPort(Tool& tool, const DetectedPort& port)
{
    if (port.number == 0) return;  // nothing reaches it: the list keeps its text
    tool.view.setPortListText(std::to_string(port.number));
    if (port.newLine) {
        tool.state.pickedPortNumber = port.number;
        tool.state.pickedPortDevice = port.device.device;
    } else {
        forgetPick(tool);
    }
}

bool takeTypedDevice(Tool& tool, int chosenNumber)
{
    const std::string typed = strip(tool.view.portDeviceText());
    if (typed.empty()) return true;
    if (isNetworkPortName(typed) && !parseNetworkAddress(typed)) {
        report(tool, typed + texts::NotANetworkPort, MessageStyle::Critical);
        return false;
    }
    tool.state.pickedPortNumber = chosenNumber;
    tool.state.pickedPortDevice = typed;
    tool.view.setPortDeviceText({});
    return true;
}

bool writePickedPortLine(Tool& tool, int chosenNumber)
{
    if (tool.state.pickedPortNumber == 0 || tool.state.pickedPortNumber != chosenNumber) return true;
    const bool written = tool.settings().storePortDevice(chosenNumber, tool.state.pickedPortDevice);
    if (written) forgetPick(tool);
    return written;
}

} // namespace fw
