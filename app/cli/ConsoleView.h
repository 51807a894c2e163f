#pragma once

#include <iosfwd>
#include <string>

#include "Console.h"
#include "ground/EventLoop.h"
#include "window/View.h"

namespace fw::cli {

// The window's reports as lines on a terminal, each with the projector's
// prefix. The confirmation is asked on the terminal unless answered ahead.
class ConsoleView : public View {
public:
    ConsoleView(Console& console, std::string prefix, const EventLoop& clock, bool assumeYes, std::istream& in,
                int32_t ispTimeLimitSeconds);

    Answer showMessage(const std::string& text, MessageStyle style) override;
    void setEnabled(Control, bool) override {}
    void setCaption(Caption caption, const std::string& text) override;
    void setProgressValue(double percent) override;
    void setProgressVisible(bool) override {}
    void setBusyPointer(bool) override {}
    void beep() override {}
    void setProcessingWindowVisible(bool visible) override;
    void setProcessingWindowTopmost(bool) override {}
    void showPortDialog() override {}
    void hidePortDialog() override {}
    std::string portListText() override { return portList_; }
    void setPortListText(const std::string& text) override { portList_ = text; }
    std::string openFileDialog(const std::string& startLocation) override { return startLocation; }

private:
    void say(const std::string& text);
    std::string progressText(double percent) const;

    Console& console_;
    std::string prefix_;
    const EventLoop& clock_;
    bool assumeYes_;
    std::istream& in_;
    std::string ispTimeLimit_;  // shown beside the ISP tool's elapsed time
    std::string portList_ = "1";
    bool processing_ = false;
    bool transferStarted_ = false;
    uint32_t transferStart_ = 0;
    int lastPlainStep_ = -1;
};

} // namespace fw::cli
