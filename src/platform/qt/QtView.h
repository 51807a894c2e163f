#pragma once

#include <QPointer>
#include <functional>
#include <map>

#include "qt/ComSet.h"
#include "qt/Form2.h"
#include "qt/Form3.h"
#include "window/View.h"

namespace fw::qt {

// fw::View on the real widgets. Controls the window keeps hidden (the
// receive pane Text2, "Flash SW", Label5) are state here and are never shown.
class QtView final : public fw::View {
public:
    QtView(Form2& form2, Form3& form3);

    // What the port dialog's OK button runs.
    void setPortDialogOk(std::function<void()> ok) { portDialogOk_ = std::move(ok); }
    // Where the port dialog's device list comes from and what a pick runs.
    void setPortDialogDevices(std::function<std::vector<fw::DetectedPort>()> list,
                              std::function<void(const fw::DetectedPort&)> pick);

    // The port dialog, or null before its first use.
    COM_Set* portDialog() const { return comSet_; }
    bool isEnabled(fw::Control control) const;
    const std::string& label5() const { return label5_; }

    fw::Answer showMessage(const std::string& text, fw::MessageStyle style) override;
    void setEnabled(fw::Control control, bool enabled) override;
    void setCaption(fw::Caption caption, const std::string& text) override;
    void setProgressValue(double percent) override;
    void setProgressVisible(bool visible) override;
    void setBusyPointer(bool busy) override;
    void beep() override;
    void setProcessingWindowVisible(bool visible) override;
    void setProcessingWindowTopmost(bool topmost) override;
    void showPortDialog() override;
    void hidePortDialog() override;
    std::string portListText() override;
    void setPortListText(const std::string& text) override;
    std::string portDeviceText() override;
    void setPortDeviceText(const std::string& text) override;
    std::string openFileDialog(const std::string& startLocation) override;

private:
    COM_Set& portDialogCreated();

    Form2& form2_;
    Form3& form3_;
    QPointer<COM_Set> comSet_;
    std::function<void()> portDialogOk_;
    std::function<std::vector<fw::DetectedPort>()> listDevices_;
    std::function<void(const fw::DetectedPort&)> devicePicked_;
    std::map<fw::Control, bool> hiddenEnabled_;  // Text2, cmdFlashSW2
    std::string label5_;
};

} // namespace fw::qt
