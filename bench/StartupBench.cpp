// bench_startup: the GUI program's start-up exactly as app/main.cpp does it,
// ending as soon as the main window has been drawn for the first time. It
// prints that moment on the machine's monotonic clock (shown_ns=...), so
// bench_run, which started it, can tell the time from process start to the
// window on screen. A message box the start-up raises (a port that cannot be
// opened) is answered at once and named on stderr, so the run never hangs.
#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QTimer>
#include <chrono>
#include <cstdio>

#include "qt/ProgramFolder.h"
#include "qt/ToolProgram.h"

namespace {

// The machine's monotonic clock (CLOCK_MONOTONIC on Linux, as bench_run reads it).
long long monotonicNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Watches every object for the main window's first paint and for message boxes.
class FirstPaintWatch final : public QObject {
public:
    explicit FirstPaintWatch(QWidget& mainWindow) : mainWindow_(mainWindow) {}

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            if (auto* box = qobject_cast<QMessageBox*>(object)) answer(*box);
        if (event->type() == QEvent::Paint && object == &mainWindow_ && !seen_) {
            seen_ = true;
            std::printf("shown_ns=%lld\n", monotonicNs());
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }

private:
    static void answer(QMessageBox& box)
    {
        std::fprintf(stderr, "start-up message box: %s\n", box.text().toLocal8Bit().constData());
        QTimer::singleShot(0, &box, &QDialog::accept);
    }

    QWidget& mainWindow_;
    bool seen_ = false;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    fw::qt::setProgramName();

    fw::qt::ToolProgram program;
    FirstPaintWatch watch(program.session().form2());
    app.installEventFilter(&watch);
    program.start();
    return QApplication::exec();
}
