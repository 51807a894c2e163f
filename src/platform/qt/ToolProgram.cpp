#include "qt/ToolProgram.h"

#include <QCoreApplication>
#include <QDir>

#include "qt/RelayingRunner.h"
#include "qt/PortDevice.h"
#include "qt/ProgramFolder.h"
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
      session_(port_, loop_, *ispTool_, programFolder_, workingDirectory_)
{
    session_.setDeviceSource(devices_);
    session_.setRecordPath(defaultRecordPath(true));
    session_.tool().events.add(record_);
}

void ToolProgram::start()
{
    session_.start();
    session_.noteMissingIspTool();
}

} // namespace fw::qt
