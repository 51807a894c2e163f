#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>
#include <QTextOption>
#include <memory>

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

// How a text breaks into lines: at words (a word longer than the line
// breaks anywhere), or anywhere (a path, a digest).
enum class Wrap { Words, Anywhere };

// A text laid out once into lines of a width: measured and drawn from the
// same layout, which is where a long report's time goes.
class LaidText {
public:
    LaidText(const QString& text, const QFont& font, qreal width, Wrap wrap, const QPaintDevice* device)
        : layout_(std::make_unique<QTextLayout>(text, font, device))
    {
        QTextOption option;
        option.setWrapMode(wrap == Wrap::Anywhere ? QTextOption::WrapAnywhere
                                                  : QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout_->setTextOption(option);
        layout_->beginLayout();
        for (QTextLine line = layout_->createLine(); line.isValid(); line = layout_->createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, height_));
            height_ += line.height();
        }
        layout_->endLayout();
    }
    qreal height() const { return height_; }
    void draw(QPainter& painter, QPointF at, const QColor& colour) const
    {
        painter.setPen(colour);
        layout_->draw(&painter, at);
    }

private:
    std::unique_ptr<QTextLayout> layout_;  // a layout cannot move
    qreal height_ = 0;
};

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

    LaidText lay(const QString& text, const QFont& font, qreal width, Wrap wrap = Wrap::Words) const
    {
        return LaidText(text, font, width, wrap, &writer_);
    }
    void paragraph(const QString& text, const QFont& font, const QColor& colour)
    {
        const LaidText laid = lay(text, font, width());
        ensure(laid.height());
        laid.draw(painter_, QPointF(0, y_), colour);
        y_ += laid.height();
    }
    // Label and value side by side; a value that is a path or a digest may break anywhere.
    void fact(const QString& label, const QString& value, const QFont& valueFont, Wrap valueWrap = Wrap::Words)
    {
        const qreal labelWidth = width() * kLabelShare;
        const LaidText laidLabel = lay(label, bodyFont(kBodyPoints), labelWidth);
        const LaidText laidValue = lay(value, valueFont, width() - labelWidth, valueWrap);
        const qreal height = std::max(laidLabel.height(), laidValue.height());
        ensure(height);
        laidLabel.draw(painter_, QPointF(0, y_), kFaintTextColour);
        laidValue.draw(painter_, QPointF(labelWidth, y_), kTextColour);
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
    const QPaintDevice* device() const { return &writer_; }
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
    flow.ensure(QFontMetricsF(font, flow.device()).height() * 4);
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
        flow.fact(toQt(t::ListFile), toQt(page.listFile), bodyFont(kBodyPoints), Wrap::Anywhere);
    for (const reports::ImageLine& image : page.images) {
        flow.gap(3);
        flow.fact(toQt(image.role), toQt(image.name), bodyFont(kBodyPoints, true), Wrap::Anywhere);
        if (!image.path.empty()) flow.fact(toQt(t::ImagePath), toQt(image.path), bodyFont(kSmallPoints), Wrap::Anywhere);
        if (!image.size.empty()) flow.fact(toQt(t::ImageSize), toQt(image.size), bodyFont(kBodyPoints));
        if (!image.byteSum.empty()) flow.fact(toQt(t::ImageByteSum), toQt(image.byteSum), monoFont(kBodyPoints));
        if (!image.sha256.empty())
            flow.fact(toQt(t::ImageSha256), toQt(image.sha256), monoFont(kSmallPoints), Wrap::Anywhere);
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
        std::vector<LaidText> laid;
        qreal height = 0;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            laid.push_back(flow_.lay(cells[i], font, columns_[i] - dots(4)));
            height = std::max(height, laid.back().height());
        }
        const qreal before = flow_.y();
        flow_.ensure(height);
        if (repeatHeader && flow_.y() < before) header();
        qreal x = 0;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            laid[i].draw(flow_.painter(), QPointF(x, flow_.y()), i + 1 == cells.size() ? outcomeColour : kTextColour);
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
