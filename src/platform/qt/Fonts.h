#pragma once

#include <QFont>

namespace fw::qt {

// The fonts the windows were drawn with. Where a family is missing, the
// system's font matching picks the closest one it has.
QFont arialFont(double points, bool bold = false);
QFont msSansSerifFont();

inline constexpr double kWindowFontPoints = 8.25;

} // namespace fw::qt
