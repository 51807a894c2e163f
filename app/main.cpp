// The Firmware Upgrade Tool: the main window on the machine's serial port.
// settings.ini, the ISP tool and its log live in the program's own folder;
// relative image names in list files resolve against the folder the program
// was started in.

#include <QApplication>

#include "qt/ProcessTree.h"
#include "qt/ToolProgram.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    fw::qt::stopProcessTreesOnTermination();
    QApplication::setApplicationName(QStringLiteral("Firmware Upgrade Tool"));
    fw::qt::ToolProgram program;
    program.start();
    return QApplication::exec();
}
