// fwupgrade runs in terminals and over ssh where no display is: the report
// needs fonts, not a screen.
#include "qt/HeadlessGui.h"

#include <QByteArray>
#include <QtGlobal>

namespace fw::qt {

void drawWithoutDisplay()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace fw::qt
