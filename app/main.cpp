// The Firmware Upgrade Tool: the main window on the machine's serial port.
// settings.ini, the ISP tool and its log live in the program folder (the
// executable's own for a portable copy, else the user's data folder);
// relative image names in list files resolve against the folder the program
// was started in. With --venue FILE the venue window opens alone with the
// file's projectors.

#include <QApplication>

#include "qt/ProcessTree.h"
#include "qt/ProgramArguments.h"
#include "qt/ProgramFolder.h"
#include "qt/ToolProgram.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    fw::qt::stopProcessTreesOnTermination();
    fw::qt::setProgramName();
    QGuiApplication::setDesktopFileName(QString::fromLatin1(fw::qt::kProgramId));
    fw::qt::ToolProgram program;
    // The one argument the program takes: --venue FILE opens the venue
    // window alone, with the file's projectors.
    const std::vector<std::string> arguments = fw::qt::ownArguments(argc, argv);
    if (arguments.size() == 2 && arguments[0] == "--venue") program.startVenue(arguments[1]);
    else program.start();
    return QApplication::exec();
}
