#include "qt/QtSerialDevices.h"

#include <QSerialPortInfo>

#include "qt/AdapterFacts.h"
#include "qt/PortDevice.h"
#include "qt/Text8.h"
#include "ground/PortNumbering.h"

namespace fw::qt {

namespace {

// The number whose platform name is this device, 0 when none is.
int ownNumberOf(const std::string& device)
{
    for (int n = fw::kLowestPortNumber; n <= fw::kHighestPortNumber; ++n)
        if (defaultPortDevice(n) == device) return n;
    return 0;
}

fw::DetectedDevice detected(const QSerialPortInfo& info)
{
    fw::DetectedDevice d;
    // A device path where the system has one (/dev/ttyUSB0); the port name
    // (COM3) where the location is only the driver's (\\.\COM3).
    const QString location = info.systemLocation();
    d.device = fromQt(location.startsWith(QLatin1Char('/')) ? location : info.portName());
    d.description = fromQt(info.description());
    d.manufacturer = fromQt(info.manufacturer());
    d.serialNumber = fromQt(info.serialNumber());
    if (info.hasVendorIdentifier()) d.vendorId = info.vendorIdentifier();
    if (info.hasProductIdentifier()) d.productId = info.productIdentifier();
    d.ownNumber = ownNumberOf(d.device);
    d.latencyTimerMs = latencyTimerMs(d.device);
    // A [Ports] line with the adapter's lasting name survives a re-plug.
    if (const std::string stable = stableDeviceName(d.device); !stable.empty()) {
        d.kernelDevice = d.device;
        d.device = stable;
    }
    return d;
}

} // namespace

std::vector<fw::DetectedDevice> QtSerialDevices::devices()
{
    std::vector<fw::DetectedDevice> list;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) list.push_back(detected(info));
    return list;
}

bool QtSerialDevices::mapsPorts() const { return portsMappedBySettings(); }

} // namespace fw::qt
