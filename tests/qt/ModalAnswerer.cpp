#include "ModalAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QPushButton>
#include <QTest>

namespace {
constexpr int kPollMs = 5;
}

ModalAnswerer::ModalAnswerer()
{
    timer_.setInterval(kPollMs);
    connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
    timer_.start();
}

QStringList ModalAnswerer::texts() const
{
    QStringList list;
    for (const Box& b : boxes_) list << b.text;
    return list;
}

void ModalAnswerer::poll()
{
    if (answering_) return;  // an answer may itself open the next box
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || (keepBoxOpen && keepBoxOpen())) return;
    answering_ = true;
    if (auto* box = qobject_cast<QMessageBox*>(modal))
        answer(*box);
    else if (auto* dialog = qobject_cast<QFileDialog*>(modal))
        answer(*dialog);
    answering_ = false;
}

void ModalAnswerer::answer(QMessageBox& box)
{
    QMessageBox::StandardButton choice = kUnscripted;
    if (!answers_.empty()) {
        choice = answers_.front();
        answers_.pop_front();
    }
    const QMessageBox::StandardButtons buttons = box.standardButtons();
    if (choice == kUnscripted) choice = buttons.testFlag(QMessageBox::No) ? QMessageBox::No : QMessageBox::Ok;

    Box seen{box.windowTitle(), box.text(), box.textFormat(), box.icon(), buttons,
             box.defaultButton() ? box.standardButton(box.defaultButton()) : QMessageBox::NoButton};
    boxes_.push_back(seen);

    if (choice == kEscape)
        QTest::keyClick(&box, Qt::Key_Escape);
    else if (QAbstractButton* button = box.button(choice))
        button->click();
    else
        box.reject();
}

void ModalAnswerer::answer(QFileDialog& dialog)
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
