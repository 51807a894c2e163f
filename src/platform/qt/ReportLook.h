#pragma once

#include <QColor>

#include "report/Report.h"

namespace fw::qt {

// The report's colours and type, the same in the PDF and the HTML file.
inline const QColor kTextColour{0x1f, 0x1f, 0x1f};
inline const QColor kFaintTextColour{0x6b, 0x6b, 0x6b};
inline const QColor kRuleColour{0xc8, 0xc8, 0xc8};
inline const QColor kSucceededColour{0x1b, 0x7f, 0x3b};
inline const QColor kFailedColour{0xb3, 0x26, 0x1e};
inline const QColor kOtherColour{0x8a, 0x5a, 0x00};  // not started, unfinished

inline QColor colourOf(reports::Verdict verdict)
{
    switch (verdict) {
    case reports::Verdict::Succeeded: return kSucceededColour;
    case reports::Verdict::Failed: return kFailedColour;
    case reports::Verdict::Declined:
    case reports::Verdict::Unfinished: break;
    }
    return kOtherColour;
}

// Point sizes.
inline constexpr qreal kBodyPoints = 9.5;
inline constexpr qreal kSmallPoints = 7.5;
inline constexpr qreal kHeadingPoints = 15;
inline constexpr qreal kSectionPoints = 11;
inline constexpr qreal kOutcomePoints = 24;

} // namespace fw::qt
