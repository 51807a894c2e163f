#include "qt/ToolProgram.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStatusBar>

#include "qt/PortDevice.h"
#include "qt/ProgramFolder.h"
#include "qt/Text8.h"
#include "shell/Tool.h"
#include "transfer/IspCommandLine.h"

namespace fw::qt {

namespace {

std::string workingDirectory() { return fromQt(QDir::toNativeSeparators(QDir::currentPath())); }

} // namespace

ToolProgram::ToolProgram()
    : programFolder_(programFolder(true)), workingDirectory_(workingDirectory()),
      port_(settingsPortDevices(programFolder_ + fw::kPathSeparator + "settings.ini")),
      session_(port_, loop_, processes_, programFolder_, workingDirectory_)
{
    session_.setDeviceSource(devices_);
}

void ToolProgram::start()
{
    session_.start();
    fw::Tool& tool = session_.tool();
    if (QFileInfo::exists(toQt(tool.programFile(fw::kIspToolName)))) return;
    const std::string notice = fw::ispToolExpectedIn(programFolder_);
    if (tool.state.statusLine.empty()) tool.state.statusLine = notice;  // a start-up failure keeps its message
    session_.form2().statusBar()->showMessage(toQt(notice));
}

} // namespace fw::qt
