#pragma once

#include <QRectF>
#include <vector>

#include "report/Report.h"

class QPainter;

namespace fw::qt {

// Where a timeline's parts go in an area: one row per phase, its name at
// the left, its bar in the track at its share of the span, what it took
// and how it ended at the right; the marks along the track's top.
struct TimelineLayout {
    QRectF track;                 // the bars' span, from the operation's start to its end
    std::vector<QRectF> names;    // a row's name
    std::vector<QRectF> bars;     // at scale; a phase too short to see is drawn a hairline wide
    std::vector<QRectF> notes;    // a row's time taken and outcome
    std::vector<qreal> ticks;     // x of each mark
    qreal height = 0;             // all of it, marks included
};

struct TimelineMetrics {
    qreal nameWidth;
    qreal noteWidth;
    qreal rowHeight;
    qreal tickHeight;  // the marks' labels above the first row
};

TimelineLayout layoutTimeline(const reports::Timeline& timeline, QPointF topLeft, qreal width,
                              const TimelineMetrics& metrics);

// Draws it as laid out, the failed phases in red and marked.
void drawTimeline(QPainter& painter, const reports::Timeline& timeline, const TimelineLayout& layout);

} // namespace fw::qt
