#pragma once

#include <QDialog>
#include <QTimer>
#include <functional>
#include <vector>

#include "ground/PortNumbering.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace fw::qt {

// The port dialog "RS232 Com Port": an editable list of the ports 1 to 255
// and OK, and below them the serial devices the system reports, each with
// the number that reaches it. Modeless; hidden rather than destroyed.
class COM_Set final : public QDialog {
    Q_OBJECT

public:
    explicit COM_Set(QWidget* parent = nullptr);

    // Runs on OK; the logic decides whether the dialog hides.
    std::function<void()> accepted;
    // The devices present now, numbered; asked for when the dialog shows,
    // every second while it is shown, and by Refresh.
    std::function<std::vector<fw::DetectedPort>()> listDevices;
    // The technician picked a listed device.
    std::function<void(const fw::DetectedPort&)> devicePicked;

    // Asks for the device list again and shows it; the row picked stays
    // picked while its device is there.
    void refreshDevices();

    QString listText() const;
    QString deviceText() const;
    void setDeviceText(const QString& text);
    // Text put by the program; a close without OK comes back to it.
    void setListText(const QString& text);
    // The program is done with the dialog: what it shows now stands.
    void hideKeepingText();

    QComboBox* Combo_Com() const { return Combo_Com_; }
    QLineEdit* txtDevice() const { return txtDevice_; }
    QPushButton* RS232() const { return RS232_; }
    QTreeWidget* lstDevices() const { return lstDevices_; }
    QPushButton* cmdRefresh() const { return cmdRefresh_; }

protected:
    // Closing by the title bar or Escape discards what was typed, applying
    // and saving nothing.
    void reject() override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildDeviceField();
    void buildDeviceList();
    void pickRow();

    QPushButton* RS232_ = nullptr;
    QComboBox* Combo_Com_ = nullptr;
    QLineEdit* txtDevice_ = nullptr;
    QTreeWidget* lstDevices_ = nullptr;
    QPushButton* cmdRefresh_ = nullptr;
    QTimer refreshTimer_;
    std::vector<fw::DetectedPort> shown_;
    QString standingText_;
};

inline constexpr int kFirstListedPort = 1;
inline constexpr int kLastListedPort = 255;
inline constexpr int kDeviceRefreshMs = 1000;

} // namespace fw::qt
