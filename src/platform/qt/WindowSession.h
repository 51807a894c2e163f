#pragma once

#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "qt/Form2.h"
#include "qt/Form3.h"
#include "qt/HistoryWindow.h"
#include "qt/QtView.h"
#include "ground/DetectedDevices.h"
#include "window/Tool.h"

namespace fw::qt {

// One main window at work: Form2, Form3 and the port dialog behind the view,
// the Tool they serve, the one-second clock, and every button, menu item and
// close request wired to its handler. The port, clock and process runner
// come from outside, so tests can run the real widgets on the simulator.
class WindowSession {
public:
    WindowSession(fw::SerialPort& port, fw::EventLoop& loop, fw::ProcessRunner& processes, std::string programFolder,
                  std::string workingDirectory);
    WindowSession(const WindowSession&) = delete;
    WindowSession& operator=(const WindowSession&) = delete;

    // The window's start-up sequence, then the window is shown.
    void start();

    // Without the ISP tool in the program folder, the status line says where
    // it belongs (a start-up failure keeps its own message there).
    void noteMissingIspTool();

    // The devices the port dialog lists (none until one is given).
    void setDeviceSource(fw::SerialDeviceSource& source);

    // How the program ends after Exit or a close the guard let through.
    // By default Qt's event loop is left; while an operation is still
    // running underneath, the program ends at once instead.
    void setProgramEnd(std::function<void()> end) { programEnd_ = std::move(end); }

    // Work elsewhere in the program (a venue's rows) that a close of this
    // window must ask about as it asks about a download, and that is
    // stopped (its ISP tools and ports) before the program ends.
    void setOtherWork(std::function<bool()> running, std::function<void()> leave)
    {
        otherRunning_ = std::move(running);
        otherLeave_ = std::move(leave);
    }

    // Ends the program at once: the other work left, this window's ISP
    // tool stopped and its port closed, nothing of a running operation
    // going on.
    [[noreturn]] void endNow();

    // The service record the History menu shows; without one it shows nothing.
    void setRecordPath(std::string path) { recordPath_ = std::move(path); }
    // The history window, opened (or raised, read again) from the menu; none before.
    HistoryWindow* historyWindow() { return history_.get(); }

    // True while a handler runs (a click, the menu, the clock).
    bool operationRunning() const { return depth_ > 0; }

    Form2& form2() { return form2_; }
    Form3& form3() { return form3_; }
    QtView& view() { return view_; }
    fw::Tool& tool() { return tool_; }
    QTimer& timer1() { return timer1_; }

private:
    void wire();
    // Runs a handler; what it returns is for front ends without a window.
    void run(const std::function<void(fw::Tool&)>& handler);
    void showInternalError(const std::string& what);
    void exitItem();
    void endProgram();
    bool otherWorkRunning() const { return otherRunning_ && otherRunning_(); }
    void showHistory();

    Form2 form2_;
    Form3 form3_;
    QtView view_;
    fw::Tool tool_;
    QTimer timer1_;
    std::function<void()> programEnd_;
    std::function<bool()> otherRunning_;
    std::function<void()> otherLeave_;
    int depth_ = 0;
    std::string recordPath_;
    std::unique_ptr<HistoryWindow> history_;
};

inline constexpr int kTimer1IntervalMs = 1000;

} // namespace fw::qt
