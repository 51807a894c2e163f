#include "qt/WindowSession.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QPushButton>
#include <QStatusBar>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "ground/PortError.h"
#include "ground/Texts.h"
#include "window/OpenFile.h"
#include "qt/Text8.h"
#include "window/MainWindow.h"
#include "window/PortDiscovery.h"
#include "window/ProjectorChecks.h"
#include "window/Telling.h"
#include "window/Settings.h"
#include "window/WindowOps.h"
#include "transfer/IspCommandLine.h"
#include "window/Upgrade.h"

namespace fw::qt {

WindowSession::WindowSession(fw::SerialPort& port, fw::EventLoop& loop, fw::ProcessRunner& processes,
                             std::string programFolder, std::string workingDirectory)
    : view_(form2_, form3_),
      tool_(port, loop, view_, processes, std::move(programFolder), std::move(workingDirectory))
{
    wire();
    timer1_.setObjectName(QStringLiteral("Timer1"));
    timer1_.setInterval(kTimer1IntervalMs);
    timer1_.start();  // runs from the window's creation to the end of the program
}

void WindowSession::wire()
{
    QObject::connect(form2_.cmdTest(), &QPushButton::clicked, [this] { run(fw::cmdTest_Click); });
    QObject::connect(form2_.cmdOpenFile1(), &QPushButton::clicked, [this] { run(&fw::cmdOpenFile1_Click); });
    QObject::connect(form2_.cmdUpgradeSW(), &QPushButton::clicked, [this] { run(fw::cmdUpgradeSW_Click); });
    QObject::connect(form2_.RS_232(), &QAction::triggered, [this] { run(&fw::RS_232_Click); });
    QObject::connect(form2_.pExit(), &QAction::triggered, [this] { exitItem(); });
    // Reading the record touches neither the port nor the window's state: no handler, open any time.
    QObject::connect(form2_.History(), &QAction::triggered, [this] { showHistory(); });
    QObject::connect(&timer1_, &QTimer::timeout, [this] { run(&fw::Timer1_Timer); });
    view_.setPortDialogOk([this] { run(&fw::RS232_Click); });

    form2_.closeGuard = [this] {
        // While a download runs here the window's own question covers the rest.
        if (!tool_.state.DownloadBusy && otherWorkRunning())
            return fw::showMessage(tool_, fw::texts::CloseWhileBusy, fw::MessageStyle::Question) != fw::Answer::Yes;
        return fw::Form_QueryUnload(tool_);
    };
    form2_.closed = [this] {
        fw::Form_Unload(tool_);
        endProgram();
    };
}

void WindowSession::setDeviceSource(fw::SerialDeviceSource& source)
{
    view_.setPortDialogDevices([this, &source] { return fw::detectedPorts(tool_, source); },
                               [this](const fw::DetectedPort& port) { fw::pickDetectedPort(tool_, port); });
}

void WindowSession::noteMissingIspTool()
{
    if (QFileInfo::exists(toQt(tool_.programFile(fw::kIspToolName)))) return;
    const std::string notice = fw::ispToolExpectedIn(tool_.programFolder);
    if (tool_.state.statusLine.empty()) tool_.state.statusLine = notice;
    form2_.statusBar()->showMessage(toQt(notice));
}

void WindowSession::start()
{
    run(&fw::Form_Load);
    form2_.show();
}

void WindowSession::run(const std::function<void(fw::Tool&)>& handler)
{
    ++depth_;
    // A fault of the program itself (every failure a step can meet is
    // handled by the step) must not unwind through Qt's event loop, nor pass
    // for a failed download: the technician is shown what failed.
    try {
        handler(tool_);
    } catch (const std::exception& e) {
        showInternalError(e.what());
    } catch (...) {
        showInternalError("an unknown exception");
    }
    --depth_;
}

void WindowSession::showInternalError(const std::string& what)
{
    std::fprintf(stderr, "firmware-upgrade-tool: internal error: %s\n", what.c_str());
    tool_.view.setBusyPointer(false);
    fw::report(tool_, fw::texts::InternalError + what + fw::texts::InternalErrorTail, fw::MessageStyle::Critical);
}

void WindowSession::showHistory()
{
    if (recordPath_.empty()) return;
    if (!history_) history_ = std::make_unique<HistoryWindow>(recordPath_);
    else if (!history_->isVisible()) history_->reload();
    history_->show();
    history_->raise();
    history_->activateWindow();
}

void WindowSession::exitItem()
{
    ++depth_;
    const bool end = fw::pExit_Click(tool_);
    --depth_;
    if (end) endProgram();
}

void WindowSession::endProgram()
{
    // The other work is stopped first, whoever ends the program.
    const bool otherWork = otherWorkRunning();
    if (otherWork) otherLeave_();
    if (programEnd_) {
        programEnd_();
        return;
    }
    // The Exit item or a confirmed close arrived while an operation waits
    // underneath, here or in another window: end now rather than let it run
    // on without its window.
    if (operationRunning() || otherWork) endNow();
    QCoreApplication::exit(0);
}

void WindowSession::endNow()
{
    if (otherWorkRunning()) otherLeave_();
    // The ISP tool is stopped and the port released first.
    tool_.processes.stopAll();
    try {
        tool_.port.setPortOpen(false);
    } catch (const fw::PortError&) {
    }
    // Ended without unwinding: nothing of the stopped operation runs on.
    std::fflush(nullptr);
    std::_Exit(0);
}

} // namespace fw::qt
