#pragma once

#include <iosfwd>
#include <string>

#include "Console.h"
#include "window/View.h"

namespace fw::cli {

// The window's view on a terminal: what happens reaches the terminal as
// events (ConsolePrinter.h); only the confirmation needs the view, and is
// asked on the terminal unless it was answered ahead.
class ConsoleView : public View {
public:
    ConsoleView(Console& console, std::string prefix, bool assumeYes, std::istream& in);

    Answer showMessage(const std::string& text, MessageStyle style) override;
    void setEnabled(Control, bool) override {}
    void setCaption(Caption, const std::string&) override {}
    void setProgressValue(double) override {}
    void setProgressVisible(bool) override {}
    void setBusyPointer(bool) override {}
    void beep() override {}
    void setProcessingWindowVisible(bool) override {}
    void setProcessingWindowTopmost(bool) override {}
    void showPortDialog() override {}
    void hidePortDialog() override {}
    std::string portListText() override { return portList_; }
    void setPortListText(const std::string& text) override { portList_ = text; }
    std::string portDeviceText() override { return {}; }
    void setPortDeviceText(const std::string&) override {}
    std::string openFileDialog(const std::string& startLocation) override { return startLocation; }

private:
    Console& console_;
    std::string prefix_;
    bool assumeYes_;
    std::istream& in_;
    std::string portList_ = "1";
};

} // namespace fw::cli
