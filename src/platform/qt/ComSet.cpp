#include "qt/ComSet.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "qt/Fonts.h"
#include "qt/Twips.h"

namespace fw::qt {

namespace {

constexpr double kLabelPoints = 9.75;
constexpr int kComboHeightTwips = 315;
constexpr const char* kInitialListText = "1";

} // namespace

COM_Set::COM_Set(QWidget* parent) : QDialog(parent), standingText_(QString::fromLatin1(kInitialListText))
{
    setObjectName(QStringLiteral("COM_Set"));
    setWindowTitle(QStringLiteral("RS232 Com Port"));
    setFont(arialFont(kWindowFontPoints));
    setModal(false);
    setFixedSize(twipsSize(3210, 1620));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    RS232_ = new QPushButton(QStringLiteral("OK"), this);
    RS232_->setObjectName(QStringLiteral("RS232"));
    RS232_->setGeometry(twipsRect(1800, 840, 1215, 615));
    RS232_->setDefault(true);

    Combo_Com_ = new QComboBox(this);
    Combo_Com_->setObjectName(QStringLiteral("Combo_Com"));
    Combo_Com_->setGeometry(twipsRect(1560, 240, 1335, kComboHeightTwips));
    Combo_Com_->setEditable(true);
    Combo_Com_->setInsertPolicy(QComboBox::NoInsert);  // typed text is not added to the list
    for (int n = kFirstListedPort; n <= kLastListedPort; ++n) Combo_Com_->addItem(QString::number(n));
    Combo_Com_->setEditText(standingText_);

    auto* Label8 = new QLabel(QStringLiteral("COM:"), this);
    Label8->setObjectName(QStringLiteral("Label8"));
    Label8->setGeometry(twipsRect(240, 240, 1095, 255));
    Label8->setFont(arialFont(kLabelPoints, true));

    setTabOrder(RS232_, Combo_Com_);
    connect(RS232_, &QPushButton::clicked, this, [this] {
        if (accepted) accepted();
    });
    move(twipsPoint(4500, 4125));
}

QString COM_Set::listText() const { return Combo_Com_->currentText(); }

void COM_Set::setListText(const QString& text)
{
    standingText_ = text;
    Combo_Com_->setEditText(text);
}

void COM_Set::hideKeepingText()
{
    standingText_ = listText();
    hide();
}

void COM_Set::reject()
{
    Combo_Com_->setEditText(standingText_);
    QDialog::reject();
}

} // namespace fw::qt
