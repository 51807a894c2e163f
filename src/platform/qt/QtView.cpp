#include "qt/QtView.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "qt/MessageBoxes.h"
#include "qt/OpenFileDialog.h"
#include "qt/Text8.h"

namespace fw::qt {

QtView::QtView(Form2& form2, Form3& form3) : form2_(form2), form3_(form3) {}

fw::Answer QtView::showMessage(const std::string& text, fw::MessageStyle style)
{
    return showMessageBox(&form2_, text, style);
}

void QtView::setEnabled(fw::Control control, bool enabled)
{
    switch (control) {
    case fw::Control::cmdUpgradeSW: form2_.cmdUpgradeSW()->setEnabled(enabled); return;
    case fw::Control::cmdOpenFile1: form2_.cmdOpenFile1()->setEnabled(enabled); return;
    case fw::Control::cmdTest: form2_.cmdTest()->setEnabled(enabled); return;
    case fw::Control::RS_232: form2_.RS_232()->setEnabled(enabled); return;
    case fw::Control::pExit: form2_.pExit()->setEnabled(enabled); return;
    case fw::Control::Text2:
    case fw::Control::cmdFlashSW2: hiddenEnabled_[control] = enabled; return;
    }
}

bool QtView::isEnabled(fw::Control control) const
{
    switch (control) {
    case fw::Control::cmdUpgradeSW: return form2_.cmdUpgradeSW()->isEnabled();
    case fw::Control::cmdOpenFile1: return form2_.cmdOpenFile1()->isEnabled();
    case fw::Control::cmdTest: return form2_.cmdTest()->isEnabled();
    case fw::Control::RS_232: return form2_.RS_232()->isEnabled();
    case fw::Control::pExit: return form2_.pExit()->isEnabled();
    case fw::Control::Text2:
    case fw::Control::cmdFlashSW2: break;
    }
    const auto it = hiddenEnabled_.find(control);
    return it == hiddenEnabled_.end() || it->second;  // every control starts enabled
}

void QtView::setCaption(fw::Caption caption, const std::string& text)
{
    const QString qtext = toQt(text);
    switch (caption) {
    case fw::Caption::WindowTitle: form2_.setWindowTitle(qtext); return;
    case fw::Caption::txtTxtSourceFilePath:
        form2_.txtTxtSourceFilePath()->setText(qtext);
        form2_.txtTxtSourceFilePath()->setCursorPosition(0);
        return;
    case fw::Caption::lblSize: form2_.lblSize()->setText(qtext); return;
    case fw::Caption::lblFileCount: form2_.lblFileCount()->setText(qtext); return;
    case fw::Caption::Label5: label5_ = text; return;
    case fw::Caption::Form3Label1: form3_.Label1()->setText(qtext); return;
    case fw::Caption::Form3Label2: form3_.Label2()->setText(qtext); return;
    }
}

void QtView::setProgressValue(double percent)
{
    // The logic may hand fractions; the bar shows whole percent.
    const double shown = std::isfinite(percent) ? std::clamp(percent, 0.0, 100.0) : 0.0;
    form2_.ProgressBar1()->setValue(static_cast<int>(std::lround(shown)));
}

void QtView::setProgressVisible(bool visible) { form2_.ProgressBar1()->setVisible(visible); }

void QtView::setBusyPointer(bool busy)
{
    for (QWidget* window : {static_cast<QWidget*>(&form2_), static_cast<QWidget*>(&form3_)}) {
        if (busy)
            window->setCursor(Qt::WaitCursor);
        else
            window->unsetCursor();
    }
}

void QtView::beep() { QApplication::beep(); }

void QtView::setProcessingWindowVisible(bool visible) { form3_.setVisible(visible); }

void QtView::setProcessingWindowTopmost(bool topmost) { form3_.setTopmost(topmost); }

COM_Set& QtView::portDialogCreated()
{
    if (!comSet_) {
        comSet_ = new COM_Set(&form2_);  // owned by the main window, lives on hidden
        comSet_->accepted = [this] {
            if (portDialogOk_) portDialogOk_();
        };
        comSet_->listDevices = [this] {
            return listDevices_ ? listDevices_() : std::vector<fw::DetectedPort>{};
        };
        comSet_->devicePicked = [this](const fw::DetectedPort& port) {
            if (devicePicked_) devicePicked_(port);
        };
    }
    return *comSet_;
}

void QtView::setPortDialogDevices(std::function<std::vector<fw::DetectedPort>()> list,
                                  std::function<void(const fw::DetectedPort&)> pick)
{
    listDevices_ = std::move(list);
    devicePicked_ = std::move(pick);
}

void QtView::showPortDialog()
{
    COM_Set& dialog = portDialogCreated();
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
}

void QtView::hidePortDialog()
{
    if (comSet_) comSet_->hideKeepingText();
}

std::string QtView::portListText() { return fromQt(portDialogCreated().listText()); }

void QtView::setPortListText(const std::string& text) { portDialogCreated().setListText(toQt(text)); }

std::string QtView::portDeviceText() { return fromQt(portDialogCreated().deviceText()); }

void QtView::setPortDeviceText(const std::string& text) { portDialogCreated().setDeviceText(toQt(text)); }

std::string QtView::openFileDialog(const std::string& startLocation)
{
    return runOpenFileDialog(&form2_, startLocation);
}

} // namespace fw::qt
