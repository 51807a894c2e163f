#pragma once

#include <QMainWindow>
#include <functional>

class QAction;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace fw::qt {

// The main window: the test button, the frame "Upgrade Projector Software"
// with the path box, the image size, the progress bar, "Open File" and
// "Upgrade SW", and the menu items "&RS232" and "&Exit" (then "&History",
// the service record, and "&Venue", several projectors at once, after them).
// Laid out for its one
// size in twips, as drawn. Every widget carries its control name as its
// objectName.
class Form2 final : public QMainWindow {
    Q_OBJECT

public:
    explicit Form2(QWidget* parent = nullptr);

    // Asked on every close request except the Exit item: true keeps the window.
    std::function<bool()> closeGuard;
    // Runs once the window has agreed to close.
    std::function<void()> closed;

    QPushButton* cmdTest() const { return cmdTest_; }
    QLineEdit* txtTxtSourceFilePath() const { return txtTxtSourceFilePath_; }
    QLabel* lblSize() const { return lblSize_; }
    QProgressBar* ProgressBar1() const { return ProgressBar1_; }
    QPushButton* cmdOpenFile1() const { return cmdOpenFile1_; }
    QPushButton* cmdUpgradeSW() const { return cmdUpgradeSW_; }
    QLabel* lblFileCount() const { return lblFileCount_; }
    QAction* RS_232() const { return RS_232_; }
    QAction* pExit() const { return pExit_; }
    // Opens the service record's history window.
    QAction* History() const { return History_; }
    // "&Venue", after the two: opens the venue window.
    QAction* mnuVenue() const { return mnuVenue_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();
    void buildFrame(QWidget* client);

    QPushButton* cmdTest_ = nullptr;
    QLineEdit* txtTxtSourceFilePath_ = nullptr;
    QLabel* lblSize_ = nullptr;
    QProgressBar* ProgressBar1_ = nullptr;
    QPushButton* cmdOpenFile1_ = nullptr;
    QPushButton* cmdUpgradeSW_ = nullptr;
    QLabel* lblFileCount_ = nullptr;
    QAction* RS_232_ = nullptr;
    QAction* pExit_ = nullptr;
    QAction* History_ = nullptr;
    QAction* mnuVenue_ = nullptr;
};

} // namespace fw::qt
