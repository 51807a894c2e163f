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
#include <optional>
#include <variant>
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
    static constexpr int kPollMs = 5;

    ModalAnswerer()
    {
        timer_.setInterval(kPollMs);
        connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
        timer_.start();
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
    void poll()
    {
        if (answering_) return;  // an answer may itself open the next box
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        answering_ = true;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            // A key's button clicks a moment later: the box is answered once.
            if (box != pressed_) answer(*box);
        }
        else if (auto* dialog = qobject_cast<QFileDialog*>(modal))
            answer(*dialog);
        answering_ = false;
    }

    void answer(QMessageBox& box)
    {
        if (whileOpen) whileOpen(box);
        QMessageBox::StandardButton choice = kUnscripted;
        std::optional<Keys> keys;
        if (!answers_.empty()) {
            if (const auto* button = std::get_if<QMessageBox::StandardButton>(&answers_.front())) choice = *button;
            else keys = std::get<Keys>(answers_.front());
            answers_.pop_front();
        }
        const QMessageBox::StandardButtons buttons = box.standardButtons();
        if (choice == kUnscripted) choice = buttons.testFlag(QMessageBox::No) ? QMessageBox::No : QMessageBox::Ok;

        boxes_.push_back({box.windowTitle(), box.text(), box.textFormat(), box.icon(), buttons,
                          box.defaultButton() ? box.standardButton(box.defaultButton()) : QMessageBox::NoButton});
        if (keys) {
            // Keys reach the box the technician has in front (the offscreen
            // platform does not make a new box the active window by itself).
            pressed_ = &box;
            QApplication::setActiveWindow(&box);
            QWidget* focus = QApplication::focusWidget();
            QTest::keyClick(focus && focus->window() == &box ? focus : static_cast<QWidget*>(&box), keys->key,
                            keys->modifiers);
        }
        else if (choice == kEscape)
            QTest::keyClick(&box, Qt::Key_Escape);
        else if (QAbstractButton* button = box.button(choice))
            button->click();
        else
            box.reject();
    }

    void answer(QFileDialog& dialog)
    {
        QString choice;
        if (!files_.empty()) {
            choice = files_.front();
            files_.pop_front();
        }
        fileDialogs_.push_back({dialog.nameFilters(), dialog.selectedNameFilter(), dialog.directory().absolutePath(),
                                dialog.selectedFiles()});
        if (choice.isEmpty()) {
            dialog.reject();
            return;
        }
        dialog.selectFile(choice);
        static_cast<QDialog&>(dialog).accept();  // checks the choice as a click on Open would
    }

    struct Keys {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    };

    QTimer timer_;
    std::deque<std::variant<QMessageBox::StandardButton, Keys>> answers_;
    std::deque<QString> files_;
    std::vector<Box> boxes_;
    std::vector<FileDialog> fileDialogs_;
    bool answering_ = false;
    QPointer<QMessageBox> pressed_;  // the box last answered by keys
};
