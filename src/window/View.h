#pragma once

#include <string>

namespace fw {

// Controls whose enabled state the logic switches.
enum class Control {
    cmdUpgradeSW,
    cmdOpenFile1,
    cmdTest,
    RS_232,   // the "&RS232" menu item
    Text2,    // the hidden receive pane
    pExit,    // the "&Exit" menu item
    cmdFlashSW2,
};

// Texts the technician sees (or that hidden controls hold).
enum class Caption {
    WindowTitle,
    txtTxtSourceFilePath,
    lblSize,
    lblFileCount,
    Label5,        // hidden: last line read from the ISP tool's log
    Form3Label1,   // processing window: animated message line
    Form3Label2,   // processing window: elapsed minutes and seconds
};

// Message box styles by their classic values.
enum class MessageStyle : int {
    Critical = 16,     // stop icon, OK
    Information = 64,  // information icon, OK
    Question = 292,    // question icon, Yes and No, No the default
};

enum class Answer { Ok, Yes, No };

// Everything the logic shows goes through here. Under Qt it is the real
// widgets; in tests a recording double that keeps what the technician saw,
// in order.
class View {
public:
    virtual ~View() = default;

    // Modal box titled texts::MessageBoxTitle; events keep running while it
    // is open. Returns Ok for the OK-only styles.
    virtual Answer showMessage(const std::string& text, MessageStyle style) = 0;

    virtual void setEnabled(Control control, bool enabled) = 0;
    virtual void setCaption(Caption caption, const std::string& text) = 0;

    virtual void setProgressValue(double percent) = 0;
    virtual void setProgressVisible(bool visible) = 0;

    virtual void setBusyPointer(bool busy) = 0;
    virtual void beep() = 0;

    // The processing window Form3.
    virtual void setProcessingWindowVisible(bool visible) = 0;
    virtual void setProcessingWindowTopmost(bool topmost) = 0;

    // The port dialog COM_Set: created on first use with list text "1",
    // modeless, hidden rather than destroyed.
    virtual void showPortDialog() = 0;
    virtual void hidePortDialog() = 0;
    virtual std::string portListText() = 0;
    virtual void setPortListText(const std::string& text) = 0;
    // Its device field: a device or a serial server (rfc2217://host:port,
    // socket://host:port) typed for the chosen number; empty for none.
    virtual std::string portDeviceText() = 0;
    virtual void setPortDeviceText(const std::string& text) = 0;

    // The open-file dialog: returns the chosen full path. A cancelled dialog
    // returns the name it was started with, so a cancel loses nothing.
    virtual std::string openFileDialog(const std::string& startLocation) = 0;
};

} // namespace fw
