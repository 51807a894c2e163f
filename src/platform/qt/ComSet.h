#pragma once

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;

namespace fw::qt {

// The port dialog "RS232 Com Port": an editable list of the ports 1 to 255
// and OK. Modeless; hidden rather than destroyed.
class COM_Set final : public QDialog {
    Q_OBJECT

public:
    explicit COM_Set(QWidget* parent = nullptr);

    // Runs on OK; the logic decides whether the dialog hides.
    std::function<void()> accepted;

    QString listText() const;
    // Text put by the program; a close without OK comes back to it.
    void setListText(const QString& text);
    // The program is done with the dialog: what it shows now stands.
    void hideKeepingText();

    QComboBox* Combo_Com() const { return Combo_Com_; }
    QPushButton* RS232() const { return RS232_; }

protected:
    // Closing by the title bar or Escape discards what was typed, applying
    // and saving nothing.
    void reject() override;

private:
    QPushButton* RS232_ = nullptr;
    QComboBox* Combo_Com_ = nullptr;
    QString standingText_;
};

inline constexpr int kFirstListedPort = 1;
inline constexpr int kLastListedPort = 255;

} // namespace fw::qt
