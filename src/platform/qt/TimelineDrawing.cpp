#include "qt/TimelineDrawing.h"

#include <QPainter>
#include <algorithm>

#include "qt/ReportLook.h"
#include "qt/Text8.h"
#include "report/Wording.h"

namespace fw::qt {

namespace {

constexpr qreal kBarShareOfRow = 0.6;
constexpr qreal kHairlineShareOfRow = 0.06;  // the narrowest bar drawn, against the row's height

QString noteOf(const reports::TimelineBar& bar)
{
    return toQt(reports::durationText(bar.lengthMs)) + QStringLiteral(", ") + toQt(bar.outcome);
}

// A failed phase: a red dot before its name, beside the red bar and outcome.
void markFailed(QPainter& painter, const QRectF& name)
{
    const qreal d = name.height() / 3;
    painter.setPen(Qt::NoPen);
    painter.setBrush(kFailedColour);
    painter.drawEllipse(QRectF(name.left(), name.center().y() - d / 2, d, d));
    painter.setBrush(Qt::NoBrush);
}

} // namespace

TimelineLayout layoutTimeline(const reports::Timeline& timeline, QPointF topLeft, qreal width,
                              const TimelineMetrics& m)
{
    TimelineLayout layout;
    const qreal trackLeft = topLeft.x() + m.nameWidth;
    const qreal trackWidth = std::max<qreal>(width - m.nameWidth - m.noteWidth, 1);
    const qreal top = topLeft.y() + m.tickHeight;
    layout.track = QRectF(trackLeft, top, trackWidth, m.rowHeight * static_cast<qreal>(timeline.bars.size()));
    const qreal barHeight = m.rowHeight * kBarShareOfRow;
    const qreal hairline = m.rowHeight * kHairlineShareOfRow;
    for (std::size_t i = 0; i < timeline.bars.size(); ++i) {
        const reports::TimelineBar& bar = timeline.bars[i];
        const qreal rowTop = top + m.rowHeight * static_cast<qreal>(i);
        layout.names.emplace_back(topLeft.x(), rowTop, m.nameWidth, m.rowHeight);
        const qreal x = trackLeft + bar.start * trackWidth;
        const qreal w = std::min(std::max(bar.length * trackWidth, hairline), trackLeft + trackWidth - x);
        layout.bars.emplace_back(x, rowTop + (m.rowHeight - barHeight) / 2, std::max<qreal>(w, 0), barHeight);
        layout.notes.emplace_back(trackLeft + trackWidth, rowTop, m.noteWidth, m.rowHeight);
    }
    for (const reports::TimelineTick& tick : timeline.ticks) layout.ticks.push_back(trackLeft + tick.at * trackWidth);
    layout.height = m.tickHeight + layout.track.height();
    return layout;
}

void drawTimeline(QPainter& painter, const reports::Timeline& timeline, const TimelineLayout& layout)
{
    painter.save();
    const qreal pad = layout.track.height() > 0 && !layout.names.empty() ? layout.names.front().height() / 4 : 0;
    // The marks and their labels, faint lines down through the rows.
    painter.setPen(QPen(kRuleColour, 0));
    for (std::size_t i = 0; i < layout.ticks.size(); ++i) {
        const qreal x = layout.ticks[i];
        painter.drawLine(QPointF(x, layout.track.top()), QPointF(x, layout.track.bottom()));
        const QRectF label(x - layout.track.width(), layout.track.top() - (layout.height - layout.track.height()),
                           2 * layout.track.width(), layout.height - layout.track.height());
        painter.setPen(kFaintTextColour);
        painter.drawText(label, Qt::AlignHCenter | Qt::AlignBottom, toQt(timeline.ticks[i].label));
        painter.setPen(QPen(kRuleColour, 0));
    }
    painter.drawRect(layout.track);
    for (std::size_t i = 0; i < timeline.bars.size(); ++i) {
        const reports::TimelineBar& bar = timeline.bars[i];
        if (bar.failed) markFailed(painter, layout.names[i]);
        painter.setPen(kTextColour);
        painter.drawText(layout.names[i].adjusted(pad * 2, 0, -pad, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         toQt(bar.name));
        painter.fillRect(layout.bars[i], bar.failed ? kFailedColour : kSucceededColour);
        painter.setPen(bar.failed ? kFailedColour : kTextColour);
        painter.drawText(layout.notes[i].adjusted(pad, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, noteOf(bar));
    }
    painter.restore();
}

} // namespace fw::qt
