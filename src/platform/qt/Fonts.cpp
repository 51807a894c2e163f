#include "qt/Fonts.h"

namespace fw::qt {

namespace {

QFont font(const char* family, double points, bool bold)
{
    QFont f(QString::fromLatin1(family));
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

} // namespace

QFont arialFont(double points, bool bold) { return font("Arial", points, bold); }

QFont msSansSerifFont() { return font("MS Sans Serif", kWindowFontPoints, false); }

} // namespace fw::qt
