#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>
#include <vector>

// Plays the technician in front of the real widgets: answers every message
// box and file dialog that opens, from a script, and keeps what it saw.
class ModalAnswerer : public QObject {
public:
    struct Box {
        QString title;
        QString text;
        Qt::TextFormat format;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
    };
    struct FileDialog {
        QStringList nameFilters;
        QString selectedNameFilter;
        QString directory;
        QStringList preselected;
    };
    // What a box is answered with when nothing is scripted: OK, or No to a question.
    static constexpr QMessageBox::StandardButton kUnscripted = QMessageBox::NoButton;
    // Stands for the Escape key.
    static constexpr QMessageBox::StandardButton kEscape = QMessageBox::Escape;

    ModalAnswerer();

    void answerNext(QMessageBox::StandardButton button) { answers_.push_back(button); }
    // An empty path cancels the dialog.
    void chooseFileNext(QString path) { files_.push_back(std::move(path)); }
    // While this holds, an open box is left open (its own event loop runs).
    std::function<bool()> keepBoxOpen;

    const std::vector<Box>& boxes() const { return boxes_; }
    QStringList texts() const;
    const std::vector<FileDialog>& fileDialogs() const { return fileDialogs_; }

private:
    void poll();
    void answer(QMessageBox& box);
    void answer(class QFileDialog& dialog);

    QTimer timer_;
    std::deque<QMessageBox::StandardButton> answers_;
    std::deque<QString> files_;
    std::vector<Box> boxes_;
    std::vector<FileDialog> fileDialogs_;
    bool answering_ = false;
};
