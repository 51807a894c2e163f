#include "qt/RecordSetup.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSysInfo>
#include <cstdio>

#include "ground/PortNumbering.h"
#include "platform/UserName.h"
#include "qt/QtSerialDevices.h"
#include "qt/Text8.h"

namespace fw::qt {

namespace {

constexpr const char* kRecordName = "upgrades.jsonl";

// A device named through a link (/dev/serial/by-id/...) is the one it points to.
bool sameDevice(const std::string& a, const std::string& b)
{
    if (a == b) return true;
    const QString ca = QFileInfo(toQt(a)).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(toQt(b)).canonicalFilePath();
}

fw::PortFacts factsOf(int number, const PortDeviceOf& deviceOf)
{
    fw::PortFacts facts;
    facts.device = deviceOf ? deviceOf(number) : std::string();
    QtSerialDevices devices;
    for (const fw::DetectedDevice& d : devices.devices()) {
        if (!sameDevice(d.device, facts.device)) continue;
        facts.usbId = fw::usbId(d);
        facts.serialNumber = d.serialNumber;
        break;
    }
    return facts;
}

} // namespace

std::string defaultRecordPath(bool create)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (create) QDir().mkpath(folder);
    return fromQt(QDir::toNativeSeparators(folder + QLatin1Char('/') + QLatin1String(kRecordName)));
}

fw::RecordSetup recordSetup(std::string program, std::string path, PortDeviceOf deviceOf)
{
    fw::RecordSetup setup;
    setup.program = program;
    setup.path = std::move(path);
    setup.host = fromQt(QSysInfo::machineHostName());
    setup.user = platform::userName();
    setup.portFacts = [deviceOf = std::move(deviceOf)](int number) { return factsOf(number, deviceOf); };
    setup.warn = [program](const std::string& warning) {
        std::fprintf(stderr, "%s: warning: %s\n", program.c_str(), warning.c_str());
    };
    return setup;
}

} // namespace fw::qt
