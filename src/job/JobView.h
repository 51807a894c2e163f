#pragma once

#include <string>

#include "job/Question.h"
#include "window/View.h"

namespace fw {

// The main window's view for a job that has no main window: the widgets
// are nowhere to be seen (what happens is told as events), and the one
// question an upgrade asks goes to whoever runs the job.
class JobView final : public View {
public:
    explicit JobView(UpgradeQuestion& question) : question_(question) {}

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
    // The port's number as the messages about it name it (8002).
    std::string portListText() override { return portList_; }
    void setPortListText(const std::string& text) override { portList_ = text; }
    std::string portDeviceText() override { return {}; }
    void setPortDeviceText(const std::string&) override {}
    std::string openFileDialog(const std::string& startLocation) override { return startLocation; }

private:
    UpgradeQuestion& question_;
    std::string portList_ = "1";
};

} // namespace fw
