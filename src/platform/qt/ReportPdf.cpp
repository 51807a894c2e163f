#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include "ground/Texts.h"
#include "qt/ReportFiles.h"
#include "qt/ReportLook.h"
#include "qt/Text8.h"
#include "qt/TimelineDrawing.h"

namespace fw::qt {

namespace {

namespace t = texts::report;

constexpr int kDotsPerInch = 300;
constexpr qreal kPointsPerInch = 72;
constexpr qreal kMarginMm = 15;
constexpr qreal kLabelShare = 0.26;       // of the width, for a fact's label
constexpr qreal kTimelineNameShare = 0.2;
constexpr qreal kTimelineNoteShare = 0.26;

qreal dots(qreal points) { return points * kDotsPerInch / kPointsPerInch; }

// Without ligatures: a reader who copies "unfinished" or a file name out
// of the PDF gets the letters, not a sign for "fi".
QFont plain(QFont font, qreal points)
{
    font.setPointSizeF(points);
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

QFont bodyFont(qreal points, bool bold = false)
{
    QFont font = plain(QFont(), points);
    font.setBold(bold);
    return font;
}

QFont monoFont(qreal points) { return plain(QFontDatabase::systemFont(QFontDatabase::FixedFont), points); }

// Text laid down the page from the top, a new page when the next piece
// does not fit, each page numbered at its foot.
class PdfFlow {
public:
    PdfFlow(QPdfWriter& writer, QPainter& painter) : writer_(writer), painter_(painter) {}

    qreal width() const { return writer_.width(); }
    qreal y() const { return y_; }

    void newPage()
    {
        if (pages_ > 0) writer_.newPage();
        ++pages_;
        y_ = 0;
        footer();
    }
    // Room for that much more on this page, else a new page.
    void ensure(qreal height)
    {
        if (y_ + height > bottom() && y_ > 0) newPage();
    }
    void gap(qreal points) { y_ += dots(points); }

    qreal measure(const QString& text, const QFont& font, qreal width, int flags) const
    {
        const QFontMetricsF metrics(font, &writer_);
        return metrics.boundingRect(QRectF(0, 0, width, 1e9), flags, text).height();
    }
    void paragraph(const QString& text, const QFont& font, const QColor& colour, int flags = Qt::TextWordWrap)
    {
        const qreal height = measure(text, font, width(), flags);
        ensure(height);
        draw(QRectF(0, y_, width(), height), text, font, colour, flags);
        y_ += height;
    }
    // Label and value side by side; a value that is a path or a digest may break anywhere.
    void fact(const QString& label, const QString& value, const QFont& valueFont, int valueFlags = Qt::TextWordWrap)
    {
        const QFont labelFont = bodyFont(kBodyPoints);
        const qreal labelWidth = width() * kLabelShare;
        const qreal height = std::max(measure(label, labelFont, labelWidth, Qt::TextWordWrap),
                                      measure(value, valueFont, width() - labelWidth, valueFlags));
        ensure(height);
        draw(QRectF(0, y_, labelWidth, height), label, labelFont, kFaintTextColour, Qt::TextWordWrap);
        draw(QRectF(labelWidth, y_, width() - labelWidth, height), value, valueFont, kTextColour, valueFlags);
        y_ += height + dots(1.5);
    }
    void rule()
    {
        painter_.setPen(QPen(kRuleColour, dots(0.5)));
        painter_.drawLine(QPointF(0, y_), QPointF(width(), y_));
        y_ += dots(3);
    }
    void draw(const QRectF& where, const QString& text, const QFont& font, const QColor& colour, int flags)
    {
        painter_.setFont(font);
        painter_.setPen(colour);
        painter_.drawText(where, flags, text);
    }
    QPainter& painter() { return painter_; }
    void advance(qreal height) { y_ += height; }

private:
    qreal footerHeight() const { return dots(kSmallPoints * 2); }
    qreal bottom() const { return writer_.height() - footerHeight(); }
    void footer()
    {
        draw(QRectF(0, writer_.height() - footerHeight(), width(), footerHeight()),
             toQt(t::Title) + QStringLiteral(" · ") + QString::number(pages_), bodyFont(kSmallPoints),
             kFaintTextColour, Qt::AlignRight | Qt::AlignBottom);
    }

    QPdfWriter& writer_;
    QPainter& painter_;
    qreal y_ = 0;
    int pages_ = 0;
};

void section(PdfFlow& flow, const char* title)
{
    const QFont font = bodyFont(kSectionPoints, true);
    // A section's title never stands alone at the foot of a page.
    flow.ensure(flow.measure(toQt(title), font, flow.width(), 0) * 4);
    flow.gap(6);
    flow.paragraph(toQt(title), font, kTextColour);
    flow.gap(2);
}

void facts(PdfFlow& flow, const std::vector<reports::Fact>& facts)
{
    for (const reports::Fact& f : facts) flow.fact(toQt(f.label), toQt(f.value), bodyFont(kBodyPoints));
}

void images(PdfFlow& flow, const reports::ProjectorPage& page)
{
    if (page.listFile.empty() && page.images.empty()) return;
    section(flow, t::Package);
    if (!page.listFile.empty())
        flow.fact(toQt(t::ListFile), toQt(page.listFile), bodyFont(kBodyPoints), Qt::TextWrapAnywhere);
    for (const reports::ImageLine& image : page.images) {
        flow.gap(3);
        flow.fact(toQt(image.role), toQt(image.name), bodyFont(kBodyPoints, true), Qt::TextWrapAnywhere);
        if (!image.path.empty()) flow.fact(toQt(t::ImagePath), toQt(image.path), bodyFont(kSmallPoints), Qt::TextWrapAnywhere);
        if (!image.size.empty()) flow.fact(toQt(t::ImageSize), toQt(image.size), bodyFont(kBodyPoints));
        if (!image.byteSum.empty()) flow.fact(toQt(t::ImageByteSum), toQt(image.byteSum), monoFont(kBodyPoints));
        if (!image.sha256.empty())
            flow.fact(toQt(t::ImageSha256), toQt(image.sha256), monoFont(kSmallPoints), Qt::TextWrapAnywhere);
    }
}

void timeline(PdfFlow& flow, const reports::Timeline& timeline)
{
    if (timeline.bars.empty()) return;
    section(flow, t::Timeline);
    const QFont font = bodyFont(kSmallPoints + 0.5);
    const QFontMetricsF metrics(font, flow.painter().device());
    const TimelineMetrics m{flow.width() * kTimelineNameShare, flow.width() * kTimelineNoteShare,
                            metrics.height() * 1.6, metrics.height() * 1.4};
    TimelineLayout layout = layoutTimeline(timeline, QPointF(0, flow.y()), flow.width(), m);
    flow.ensure(layout.height);
    layout = layoutTimeline(timeline, QPointF(0, flow.y()), flow.width(), m);
    flow.painter().setFont(font);
    drawTimeline(flow.painter(), timeline, layout);
    flow.advance(layout.height);
}

void projectorPage(PdfFlow& flow, const reports::ProjectorPage& page)
{
    flow.newPage();
    flow.paragraph(toQt(t::Title), bodyFont(kBodyPoints), kFaintTextColour);
    flow.paragraph(toQt(page.heading) + (page.subject.empty() ? QString() : QStringLiteral(": ") + toQt(page.subject)),
                   bodyFont(kHeadingPoints, true), kTextColour);
    flow.gap(8);
    flow.paragraph(toQt(page.outcome), bodyFont(kOutcomePoints, true), colourOf(page.verdict));
    if (!page.outcomeNote.empty()) flow.paragraph(toQt(page.outcomeNote), bodyFont(kBodyPoints + 1), kTextColour);
    flow.gap(4);
    flow.rule();
    if (!page.projector.empty()) {
        section(flow, t::Projector);
        facts(flow, page.projector);
    }
    images(flow, page);
    timeline(flow, page.timeline);
    if (!page.ispRuns.empty()) {
        section(flow, t::IspRuns);
        facts(flow, page.ispRuns);
    }
    section(flow, t::Service);
    facts(flow, page.service);
}

// The first page's table: a header, then a row for each operation, the
// header again on each page it runs onto.
class SummaryTable {
public:
    explicit SummaryTable(PdfFlow& flow) : flow_(flow)
    {
        const qreal w = flow.width();
        columns_ = {w * 0.19, w * 0.17, w * 0.13, w * 0.2, w * 0.31};
    }
    void header()
    {
        row({toQt(t::When), toQt(t::Projector), toQt(t::Model), toQt(t::Package), toQt(t::Outcome)},
            bodyFont(kSmallPoints + 0.5, true), kTextColour, false);
        flow_.rule();
    }
    void add(const reports::SummaryRow& r)
    {
        row({toQt(r.when), toQt(r.projector), toQt(r.model), toQt(r.package), toQt(r.outcome)},
            bodyFont(kSmallPoints + 0.5), colourOf(r.verdict), true);
    }

private:
    void row(const std::vector<QString>& cells, const QFont& font, const QColor& outcomeColour, bool repeatHeader)
    {
        qreal height = 0;
        for (std::size_t i = 0; i < cells.size(); ++i)
            height = std::max(height, flow_.measure(cells[i], font, columns_[i] - dots(4), Qt::TextWrapAnywhere));
        const qreal before = flow_.y();
        flow_.ensure(height);
        if (repeatHeader && flow_.y() < before) header();
        qreal x = 0;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const QColor colour = i + 1 == cells.size() ? outcomeColour : kTextColour;
            flow_.draw(QRectF(x, flow_.y(), columns_[i] - dots(4), height), cells[i], font, colour,
                       Qt::TextWrapAnywhere);
            x += columns_[i];
        }
        flow_.advance(height + dots(2));
    }

    PdfFlow& flow_;
    std::vector<qreal> columns_;
};

void summaryPage(PdfFlow& flow, const reports::Report& report)
{
    flow.newPage();
    flow.paragraph(toQt(report.title), bodyFont(kHeadingPoints, true), kTextColour);
    flow.gap(4);
    flow.paragraph(toQt(report.counts), bodyFont(kSectionPoints + 2, true), kTextColour);
    flow.gap(8);
    SummaryTable table(flow);
    table.header();
    for (const reports::SummaryRow& row : report.summary) table.add(row);
}

} // namespace

std::string writeReportPdf(const reports::Report& report, const QString& path)
{
    QPdfWriter writer(path);
    writer.setTitle(toQt(report.title));
    writer.setCreator(toQt(std::string(texts::ProgramTitle) + " " + texts::ProgramVersion));
    writer.setResolution(kDotsPerInch);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&writer)) return "cannot write " + fromQt(path);
    PdfFlow flow(writer, painter);
    if (report.hasSummary()) summaryPage(flow, report);
    for (const reports::ProjectorPage& page : report.pages) projectorPage(flow, page);
    if (report.pages.empty()) flow.newPage();
    if (!painter.end()) return "cannot write " + fromQt(path);
    return {};
}

} // namespace fw::qt
