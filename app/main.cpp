// The Firmware Upgrade Tool: the main window on the machine's serial port.
// settings.ini, the ISP tool and its log live in the program's own folder;
// relative image names in list files resolve against the folder the program
// was started in.

#include <QApplication>
#include <QDir>

#include "qt/PortDevice.h"
#include "qt/QtEventLoop.h"
#include "qt/QtProcessRunner.h"
#include "qt/QtSerialPort.h"
#include "qt/Text8.h"
#include "qt/WindowSession.h"
#include "shell/Tool.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Firmware Upgrade Tool"));

    const std::string programFolder = fw::qt::fromQt(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
    const std::string workingDirectory = fw::qt::fromQt(QDir::toNativeSeparators(QDir::currentPath()));
    const std::string settingsPath = programFolder + fw::kPathSeparator + "settings.ini";

    fw::qt::QtSerialPort port(fw::qt::settingsPortDevices(settingsPath));
    fw::qt::QtEventLoop loop;
    fw::qt::QtProcessRunner processes;
    fw::qt::WindowSession session(port, loop, processes, programFolder, workingDirectory);
    session.start();
    return QApplication::exec();
}
