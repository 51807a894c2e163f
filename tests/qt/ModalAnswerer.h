#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <variant>
#include <vector>

// Plays the technician in front of the real widgets: answers every message
// box and file dialog that opens, from a script, and keeps what it saw.
class ModalAnswerer : public QObject {
public:
    struct Box {
        QString title, text;
        Qt::TextFormat format;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
    };
    struct FileDialog {
        QStringList nameFilters;
        QString selectedNameFilter, directory;
        QStringList preselected;
    };
    // What a box is answered with when nothing is scripted: OK, or No to a question.
    static constexpr QMessageBox::StandardButton kUnscripted = QMessageBox::NoButton;
    // Stands for the Escape key.
    static constexpr QMessageBox::StandardButton kEscape = QMessageBox::Escape;

    ModalAnswerer()
    {
        connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
        timer_.start(5);
    }

    void answerNext(QMessageBox::StandardButton button) { answers_.push_back(button); }
    // Keys pressed on the next box instead, as a technician answers from the keyboard.
    void pressNext(Qt::Key key, Qt::KeyboardModifiers modifiers) { answers_.push_back(Keys{key, modifiers}); }
    // Called with each box before it is answered, as a technician (or a
    // shutdown) would act while it shows.
    std::function<void(QMessageBox&)> whileOpen;
    // An empty path cancels the dialog.
    void chooseFileNext(QString path) { files_.push_back(std::move(path)); }

    const std::vector<Box>& boxes() const { return boxes_; }
    QStringList texts() const
    {
        QStringList list;
        for (const Box& b : boxes_) list << b.text;
        return list;
    }
    const std::vector<FileDialog>& fileDialogs() const { return fileDialogs_; }

private:
    struct Keys {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    };

    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (answering_ || !modal || !modal->isVisible()) return;  // an answer may itself open the next box
        answering_ = true;
        if (auto* box = qobject_cast<QMessageBox*>(modal); box && box != pressed_) answer(*box);  // keys click later
        else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) answer(*dialog);
        answering_ = false;
    }

    void answer(QMessageBox& box)
    {
        if (whileOpen) whileOpen(box);
        std::variant<QMessageBox::StandardButton, Keys> choice = kUnscripted;
        if (!answers_.empty()) {
            choice = answers_.front();
            answers_.pop_front();
        }
        const QMessageBox::StandardButtons buttons = box.standardButtons();
        boxes_.push_back({box.windowTitle(), box.text(), box.textFormat(), box.icon(), buttons,
                          box.defaultButton() ? box.standardButton(box.defaultButton()) : QMessageBox::NoButton});
        if (const Keys* keys = std::get_if<Keys>(&choice)) {
            // Keys reach the box the technician has in front (the offscreen
            // platform does not make a new box the active window by itself).
            pressed_ = &box;
            QApplication::setActiveWindow(&box);
            QWidget* focus = QApplication::focusWidget();
            QTest::keyClick(focus && focus->window() == &box ? focus : static_cast<QWidget*>(&box), keys->key,
                            keys->modifiers);
            return;
        }
        QMessageBox::StandardButton button = std::get<QMessageBox::StandardButton>(choice);
        if (button == kUnscripted) button = buttons.testFlag(QMessageBox::No) ? QMessageBox::No : QMessageBox::Ok;
        if (button == kEscape) QTest::keyClick(&box, Qt::Key_Escape);
        else if (QAbstractButton* b = box.button(button)) b->click();
        else box.reject();
    }

    void answer(QFileDialog& dialog)
    {
        const QString choice = files_.empty() ? QString() : files_.front();
        if (!files_.empty()) files_.pop_front();
        fileDialogs_.push_back({dialog.nameFilters(), dialog.selectedNameFilter(), dialog.directory().absolutePath(),
                                dialog.selectedFiles()});
        if (choice.isEmpty()) return dialog.reject();
        dialog.selectFile(choice);
        static_cast<QDialog&>(dialog).accept();  // checks the choice as a click on Open would
    }

    QTimer timer_;
    std::deque<std::variant<QMessageBox::StandardButton, Keys>> answers_;
    std::deque<QString> files_;
    std::vector<Box> boxes_;
    std::vector<FileDialog> fileDialogs_;
    bool answering_ = false;
    QPointer<QMessageBox> pressed_;  // the box last answered by keys
};
