#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace fw::qt {

// The windows are laid out in twips: 15 twips make one pixel at 96 dots per
// inch. Qt scales device-independent pixels on high-density screens.
inline constexpr int kTwipsPerPixel = 15;

constexpr int px(int twips) { return twips / kTwipsPerPixel; }

inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

inline QSize twipsSize(int width, int height) { return QSize(px(width), px(height)); }
inline QPoint twipsPoint(int left, int top) { return QPoint(px(left), px(top)); }

} // namespace fw::qt
