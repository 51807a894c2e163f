#include "qt/Form3.h"

#include <QLabel>

#include "qt/Fonts.h"
#include "qt/Twips.h"

namespace fw::qt {

namespace {

constexpr double kLabelPoints = 18;

QLabel* label(QWidget* parent, const char* name, const QString& text, QRect where)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(where);
    l->setFont(arialFont(kLabelPoints));
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setWordWrap(true);
    return l;
}

} // namespace

Form3::Form3(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Kavora Firmware Upgrade Tool"));
    setFont(arialFont(kWindowFontPoints));
    setFixedSize(twipsSize(5685, 2325));

    Label1_ = label(this, "Label1", QString(), twipsRect(240, 480, 5295, 975));
    label(this, "Label3", QStringLiteral("Elapsed time:"), twipsRect(120, 1680, 2535, 495));
    Label2_ = label(this, "Label2", QString(), twipsRect(2880, 1680, 2175, 495));
}

void Form3::setTopmost(bool topmost)
{
    if (isTopmost() == topmost) return;
    // Changing window flags hides a shown window; it comes back at once.
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
    if (shown) show();
}

bool Form3::isTopmost() const { return windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

} // namespace fw::qt
