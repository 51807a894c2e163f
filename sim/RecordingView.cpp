#include "RecordingView.h"

namespace fw::sim {

RecordingView::RecordingView(VirtualEventLoop& loop) : loop_(loop) {}

const char* controlName(fw::Control control)
{
    switch (control) {
    case fw::Control::cmdUpgradeSW: return "cmdUpgradeSW";
    case fw::Control::cmdOpenFile1: return "cmdOpenFile1";
    case fw::Control::cmdTest: return "cmdTest";
    case fw::Control::RS_232: return "RS_232";
    case fw::Control::Text2: return "Text2";
    case fw::Control::pExit: return "pExit";
    case fw::Control::cmdFlashSW2: return "cmdFlashSW2";
    }
    return "?";
}

void RecordingView::setEnabled(fw::Control control, bool enabled)
{
    enabled_[control] = enabled;
    if (!enableHistory_.empty()) enableHistory_ += ' ';
    enableHistory_ += std::string(controlName(control)) + (enabled ? '+' : '-');
}

const char* captionName(fw::Caption caption)
{
    switch (caption) {
    case fw::Caption::WindowTitle: return "WindowTitle";
    case fw::Caption::txtTxtSourceFilePath: return "txtTxtSourceFilePath";
    case fw::Caption::lblSize: return "lblSize";
    case fw::Caption::lblFileCount: return "lblFileCount";
    case fw::Caption::Label5: return "Label5";
    case fw::Caption::Form3Label1: return "Form3Label1";
    case fw::Caption::Form3Label2: return "Form3Label2";
    }
    return "?";
}

fw::Answer RecordingView::showMessage(const std::string& text, fw::MessageStyle style)
{
    fw::Answer answer = fw::Answer::Ok;
    if (style == fw::MessageStyle::Question) {
        if (answers_.empty()) {
            unexpected_.push_back("unanswered question: " + text);
            answer = fw::Answer::No;
        } else {
            answer = answers_.front();
            answers_.pop_front();
        }
    }
    messages_.push_back({text, style, loop_.now(), answer});
    if (whileMessageShown) whileMessageShown(messages_.back());
    // Events keep running while a modal box is open.
    loop_.processPendingEvents();
    return answer;
}

std::vector<std::string> RecordingView::messageTexts() const
{
    std::vector<std::string> texts;
    for (const auto& m : messages_) texts.push_back(m.text);
    return texts;
}

bool RecordingView::enabled(fw::Control control) const
{
    const auto it = enabled_.find(control);
    return it == enabled_.end() ? true : it->second;  // every control starts enabled
}

std::string RecordingView::caption(fw::Caption caption) const
{
    const auto it = captions_.find(caption);
    return it == captions_.end() ? std::string{} : it->second;
}

void RecordingView::setCaption(fw::Caption caption, const std::string& text)
{
    captions_[caption] = text;
    if (caption != fw::Caption::Form3Label1 && caption != fw::Caption::Form3Label2)
        captionHistory_.push_back(std::string(captionName(caption)) + "=" + text);
    if (afterCaptionSet) afterCaptionSet(caption, text);
}

void RecordingView::setProgressValue(double percent)
{
    progress_ = percent;
    progressHistory_.push_back(percent);
}

std::string RecordingView::openFileDialog(const std::string& startLocation)
{
    fileDialogStarts_.push_back(startLocation);
    if (files_.empty()) return startLocation;  // cancelled: the name it started with
    std::string chosen = files_.front();
    files_.pop_front();
    return chosen;
}

} // namespace fw::sim
