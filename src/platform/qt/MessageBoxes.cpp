#include "qt/MessageBoxes.h"

#include <QMessageBox>

#include "ground/Texts.h"
#include "qt/Text8.h"

namespace fw::qt {

namespace {

QMessageBox::Icon iconOf(fw::MessageStyle style)
{
    switch (style) {
    case fw::MessageStyle::Critical: return QMessageBox::Critical;
    case fw::MessageStyle::Information: return QMessageBox::Information;
    case fw::MessageStyle::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

fw::Answer showMessageBox(QWidget* parent, const std::string& text, fw::MessageStyle style)
{
    QMessageBox box(parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setWindowTitle(QString::fromLatin1(fw::texts::MessageBoxTitle));
    box.setTextFormat(Qt::PlainText);  // paths and projector text are shown as they are
    box.setText(toQt(text));
    box.setIcon(iconOf(style));
    if (style != fw::MessageStyle::Question) {
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return fw::Answer::Ok;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    box.exec();
    return box.clickedButton() == box.button(QMessageBox::Yes) ? fw::Answer::Yes : fw::Answer::No;
}

} // namespace fw::qt
