// Runs the Qt tests inside one application object on the offscreen
// platform, so no display is needed.

#include <QApplication>
#include <gtest/gtest.h>

#include "TestPlatform.h"

namespace {

// The offscreen platform says so whenever a window asks for something only a
// window manager does; that is not news in a test.
void quietOffscreenNotes(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.startsWith(QLatin1String("This plugin does not support"))) return;
    qt_message_output(type, context, message);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    fw::testing::letOffscreenDrawingFindFonts();
    qInstallMessageHandler(quietOffscreenNotes);
    // Windows' own file dialog is no widget a test can answer.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
