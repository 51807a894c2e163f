#include "qt/ToolProgram.h"

#include <QCoreApplication>
#include <QAction>
#include <QDir>

#include "qt/RelayingRunner.h"
#include "qt/PortDevice.h"
#include "qt/ProgramFolder.h"
#include "qt/VenueWiring.h"
#include "qt/RecordSetup.h"
#include "qt/Text8.h"
#include "window/Tool.h"

namespace fw::qt {

namespace {

std::string workingDirectory() { return fromQt(QDir::toNativeSeparators(QDir::currentPath())); }

} // namespace

ToolProgram::ToolProgram()
    : programFolder_(programFolder(true)), workingDirectory_(workingDirectory()),
      port_(settingsPortDevices(SettingsFile(programFolder_))),
      ispTool_(ispToolRunner(processes_, settingsPortDevices(SettingsFile(programFolder_)))),
      record_(recordSetup(kProgramId, defaultRecordPath(true), settingsPortDevices(SettingsFile(programFolder_)))),
      recordPath_(defaultRecordPath(false)), session_(port_, loop_, *ispTool_, programFolder_, workingDirectory_)
{
    session_.setDeviceSource(devices_);
    session_.setRecordPath(defaultRecordPath(true));
    session_.tool().events.add(record_);
    session_.setOtherWork([this] { return venue_ && venue_->running(); }, [this] { venue_->leave(); });
    QObject::connect(session_.form2().mnuVenue(), &QAction::triggered, [this] {
        VenueWindow& window = venueWindow();
        window.show();
        window.raise();
        window.activateWindow();
    });
}

VenueWindow& ToolProgram::venueWindow()
{
    if (venue_) return *venue_;
    // The main window's package, as it has it now; else the one it remembers.
    const std::string& chosen = session_.tool().state.listFilePath;
    const std::string listFile = chosen.empty() ? SettingsFile(programFolder_).listFile() : chosen;
    venue_ = std::make_unique<VenueWindow>(
        venueSetup(programFolder_, workingDirectory_, recordPath_, listFile, [this] { session_.endNow(); }));
    return *venue_;
}

void ToolProgram::startVenue(const std::string& venueFile)
{
    VenueWindow& window = venueWindow();
    window.openVenue(venueFile);
    window.show();
}

void ToolProgram::start()
{
    session_.start();
    session_.noteMissingIspTool();
}

} // namespace fw::qt
