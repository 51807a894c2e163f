#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "VirtualEventLoop.h"
#include "window/View.h"

namespace fw::sim {

struct MessageBoxShown {
    std::string text;
    fw::MessageStyle style;
    Micros at;
    fw::Answer answer;
};

// A view that keeps what the technician would have seen, in order, and
// answers questions and file dialogs from a script.
class RecordingView : public fw::View {
public:
    explicit RecordingView(VirtualEventLoop& loop);

    // Scripted answers, taken in order. A question without a scripted answer
    // is answered No and noted in unexpected().
    void answerNext(fw::Answer answer) { answers_.push_back(answer); }
    void chooseFileNext(std::string path) { files_.push_back(std::move(path)); }
    // Called while a box is open, as a technician would act while it shows.
    std::function<void(const MessageBoxShown&)> whileMessageShown;
    // Called after every caption change, so a test can look at the window
    // as each change happens.
    std::function<void(fw::Caption, const std::string&)> afterCaptionSet;

    // What was seen.
    const std::vector<MessageBoxShown>& messages() const { return messages_; }
    std::vector<std::string> messageTexts() const;
    bool enabled(fw::Control control) const;
    std::string caption(fw::Caption caption) const;
    double progress() const { return progress_; }
    bool progressVisible() const { return progressVisible_; }
    bool busyPointer() const { return busy_; }
    int beeps() const { return beeps_; }
    bool processingWindowVisible() const { return processingVisible_; }
    bool processingWindowTopmost() const { return processingTopmost_; }
    bool portDialogVisible() const { return portDialogVisible_; }
    const std::vector<double>& progressHistory() const { return progressHistory_; }
    const std::vector<std::string>& fileDialogStarts() const { return fileDialogStarts_; }
    const std::vector<std::string>& unexpected() const { return unexpected_; }
    // Every caption written, in order, as "name=text".
    const std::vector<std::string>& captionHistory() const { return captionHistory_; }
    // Every enable ("name+") and disable ("name-") in order, space-separated.
    const std::string& enableHistory() const { return enableHistory_; }

    // The technician edits the port list.
    std::string portList = "1";
    std::string portDevice;  // the dialog's device field

    fw::Answer showMessage(const std::string& text, fw::MessageStyle style) override;
    void setEnabled(fw::Control control, bool enabled) override;
    void setCaption(fw::Caption caption, const std::string& text) override;
    void setProgressValue(double percent) override;
    void setProgressVisible(bool visible) override { progressVisible_ = visible; }
    void setBusyPointer(bool busy) override { busy_ = busy; }
    void beep() override { ++beeps_; }
    void setProcessingWindowVisible(bool visible) override { processingVisible_ = visible; }
    void setProcessingWindowTopmost(bool topmost) override { processingTopmost_ = topmost; }
    void showPortDialog() override { portDialogVisible_ = true; }
    void hidePortDialog() override { portDialogVisible_ = false; }
    std::string portListText() override { return portList; }
    void setPortListText(const std::string& text) override { portList = text; }
    std::string portDeviceText() override { return portDevice; }
    void setPortDeviceText(const std::string& text) override { portDevice = text; }
    std::string openFileDialog(const std::string& startLocation) override;

private:
    VirtualEventLoop& loop_;
    std::deque<fw::Answer> answers_;
    std::deque<std::string> files_;
    std::vector<MessageBoxShown> messages_;
    std::map<fw::Control, bool> enabled_;
    std::map<fw::Caption, std::string> captions_;
    std::vector<std::string> captionHistory_;
    std::string enableHistory_;
    std::vector<double> progressHistory_;
    std::vector<std::string> fileDialogStarts_;
    std::vector<std::string> unexpected_;
    double progress_ = 0;
    bool progressVisible_ = true;
    bool busy_ = false;
    int beeps_ = 0;
    bool processingVisible_ = false;
    bool processingTopmost_ = false;
    bool portDialogVisible_ = false;
};

const char* controlName(fw::Control control);
const char* captionName(fw::Caption caption);

} // namespace fw::sim
