#include <QDateTime>
#include <QFile>
#include <QSaveFile>

#include "ground/Texts.h"
#include "qt/ReportFiles.h"
#include "qt/ReportLook.h"
#include "qt/Text8.h"
#include "report/Wording.h"

namespace fw::qt {

namespace {

namespace t = texts::report;

// Well-formed XML as well as HTML: no entity but the five XML knows, every
// element closed; a reader can take it apart with any XML parser.
QString esc(const std::string& text) { return toQt(text).toHtmlEscaped(); }
QString esc(const char* text) { return esc(std::string(text)); }

QString colourName(const QColor& colour) { return colour.name(QColor::HexRgb); }

const char* verdictClass(reports::Verdict verdict)
{
    switch (verdict) {
    case reports::Verdict::Succeeded: return "succeeded";
    case reports::Verdict::Failed: return "failed";
    case reports::Verdict::Declined: return "declined";
    case reports::Verdict::Unfinished: break;
    }
    return "unfinished";
}

QString styleSheet()
{
    return QStringLiteral(
               "@page{size:A4;margin:15mm}"
               "body{font-family:Arial,Helvetica,sans-serif;font-size:%1pt;color:%2;margin:0 auto;max-width:180mm;"
               "-webkit-print-color-adjust:exact;print-color-adjust:exact}"
               ".page{break-after:page;padding:4mm 0}.page:last-child{break-after:auto}"
               "h1{font-size:%3pt;margin:0 0 2mm}.kicker{color:%4;margin:0}"
               "h2{font-size:%5pt;margin:5mm 0 1.5mm;border-bottom:0.5pt solid %6}"
               ".outcome{font-size:%7pt;font-weight:bold;margin:3mm 0 1mm}"
               ".succeeded{color:%8}.failed{color:%9}.declined,.unfinished{color:%10}"
               "table{border-collapse:collapse;width:100%}td,th{text-align:left;vertical-align:top;padding:0.6mm 2mm 0.6mm 0}"
               "th{font-weight:normal;color:%4;width:26%}.mono{font-family:'DejaVu Sans Mono',Consolas,monospace;"
               "font-size:%11pt;word-break:break-all}.path{word-break:break-all}"
               ".summary th{font-weight:bold;color:%2;width:auto;border-bottom:0.5pt solid %6}"
               ".timeline{margin-top:2mm}.row{display:flex;align-items:center;height:5.5mm}"
               ".name{width:20%;white-space:nowrap;overflow:hidden}.note{width:26%;padding-left:2mm;white-space:nowrap}"
               ".track{position:relative;flex:1;height:100%;border-left:0.5pt solid %6;border-right:0.5pt solid %6}"
               ".bar{position:absolute;top:20%;height:60%;min-width:0.4pt;background:%8}.bar.failed{background:%9}"
               ".note.failed{color:%9}.ticks{position:relative;flex:1;height:4mm;color:%4;font-size:%11pt}"
               ".tick{position:absolute;transform:translateX(-50%)}.spacer{width:20%}.spacer.right{width:26%}")
        .arg(kBodyPoints)
        .arg(colourName(kTextColour))
        .arg(kHeadingPoints)
        .arg(colourName(kFaintTextColour))
        .arg(kSectionPoints)
        .arg(colourName(kRuleColour))
        .arg(kOutcomePoints)
        .arg(colourName(kSucceededColour))
        .arg(colourName(kFailedColour))
        .arg(colourName(kOtherColour))
        .arg(kSmallPoints);
}

QString factRows(const std::vector<reports::Fact>& facts)
{
    QString html;
    for (const reports::Fact& f : facts)
        html += QStringLiteral("<tr><th>%1</th><td>%2</td></tr>").arg(esc(f.label), esc(f.value));
    return html;
}

QString factTable(const std::vector<reports::Fact>& facts)
{
    return facts.empty() ? QString() : QStringLiteral("<table>") + factRows(facts) + QStringLiteral("</table>");
}

QString row(const char* label, const std::string& value, const char* cls = nullptr)
{
    if (value.empty()) return {};
    return QStringLiteral("<tr><th>%1</th><td%2>%3</td></tr>")
        .arg(esc(label), cls ? QStringLiteral(" class=\"%1\"").arg(QLatin1String(cls)) : QString(), esc(value));
}

QString package(const reports::ProjectorPage& page)
{
    if (page.listFile.empty() && page.images.empty()) return {};
    QString html = QStringLiteral("<h2>%1</h2><table class=\"package\">").arg(esc(t::Package));
    html += row(t::ListFile, page.listFile, "path");
    for (const reports::ImageLine& image : page.images) {
        html += QStringLiteral("<tr class=\"image\"><th>%1</th><td><b>%2</b></td></tr>").arg(esc(image.role), esc(image.name));
        html += row(t::ImagePath, image.path, "path");
        html += row(t::ImageSize, image.size);
        html += row(t::ImageByteSum, image.byteSum, "mono");
        html += row(t::ImageSha256, image.sha256, "mono");
    }
    return html + QStringLiteral("</table>");
}

// Shares of the span as percentages, so the browser draws them at scale at any width.
QString percent(double share) { return QString::number(share * 100.0, 'f', 3) + QLatin1Char('%'); }

QString timeline(const reports::Timeline& timeline)
{
    if (timeline.bars.empty()) return {};
    QString html = QStringLiteral("<h2>%1</h2><div class=\"timeline\">").arg(esc(t::Timeline));
    html += QStringLiteral("<div class=\"row\"><span class=\"spacer\"></span><div class=\"ticks\">");
    for (const reports::TimelineTick& tick : timeline.ticks)
        html += QStringLiteral("<span class=\"tick\" style=\"left:%1\">%2</span>").arg(percent(tick.at), esc(tick.label));
    html += QStringLiteral("</div><span class=\"spacer right\"></span></div>");
    for (const reports::TimelineBar& bar : timeline.bars) {
        const QString failed = bar.failed ? QStringLiteral(" failed") : QString();
        html += QStringLiteral("<div class=\"row phase\"><span class=\"name\">%1%2</span><div class=\"track\">"
                               "<div class=\"bar%3\" style=\"left:%4;width:%5\"></div></div>"
                               "<span class=\"note%3\">%6, %7</span></div>")
                    .arg(bar.failed ? QStringLiteral("\u2717 ") : QString(), esc(bar.name), failed, percent(bar.start),
                         percent(bar.length), esc(reports::durationText(bar.lengthMs)), esc(bar.outcome));
    }
    return html + QStringLiteral("</div>");
}

QString projectorPage(const reports::ProjectorPage& page)
{
    QString html = QStringLiteral("<section class=\"page projector\"><p class=\"kicker\">%1</p><h1>%2%3</h1>")
                       .arg(esc(t::Title), esc(page.heading),
                            page.subject.empty() ? QString() : QStringLiteral(": ") + esc(page.subject));
    html += QStringLiteral("<p class=\"outcome %1\">%2</p>").arg(QLatin1String(verdictClass(page.verdict)), esc(page.outcome));
    if (!page.outcomeNote.empty()) html += QStringLiteral("<p class=\"note-text\">%1</p>").arg(esc(page.outcomeNote));
    if (!page.projector.empty())
        html += QStringLiteral("<h2>%1</h2>").arg(esc(t::Projector)) + factTable(page.projector);
    html += package(page);
    html += timeline(page.timeline);
    if (!page.ispRuns.empty()) html += QStringLiteral("<h2>%1</h2>").arg(esc(t::IspRuns)) + factTable(page.ispRuns);
    html += QStringLiteral("<h2>%1</h2>").arg(esc(t::Service)) + factTable(page.service);
    return html + QStringLiteral("</section>");
}

QString summaryPage(const reports::Report& report)
{
    QString html = QStringLiteral("<section class=\"page summary\"><h1>%1</h1><p class=\"counts\"><b>%2</b></p>")
                       .arg(esc(report.title), esc(report.counts));
    html += QStringLiteral("<table class=\"summary\"><thead><tr><th>%1</th><th>%2</th><th>%3</th><th>%4</th><th>%5</th>"
                           "</tr></thead><tbody>")
                .arg(esc(t::When), esc(t::Projector), esc(t::Model), esc(t::Package), esc(t::Outcome));
    for (const reports::SummaryRow& r : report.summary)
        html += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td><td class=\"path\">%4</td><td class=\"%5\">%6</td></tr>")
                    .arg(esc(r.when), esc(r.projector), esc(r.model), esc(r.package),
                         QLatin1String(verdictClass(r.verdict)), esc(r.outcome));
    return html + QStringLiteral("</tbody></table></section>");
}

} // namespace

QString reportHtml(const reports::Report& report)
{
    QString html = QStringLiteral("<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\"><head>"
                                  "<meta charset=\"utf-8\"/><title>%1</title><style>%2</style></head><body>")
                       .arg(esc(report.title), styleSheet());
    if (report.hasSummary()) html += summaryPage(report);
    for (const reports::ProjectorPage& page : report.pages) html += projectorPage(page);
    return html + QStringLiteral("</body></html>\n");
}

std::string writeReportHtml(const reports::Report& report, const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return "cannot write " + fromQt(path) + ": " + fromQt(file.errorString());
    file.write(reportHtml(report).toUtf8());
    if (!file.commit()) return "cannot write " + fromQt(path) + ": " + fromQt(file.errorString());
    return {};
}

reports::UtcOffset systemUtcOffset()
{
    return [](int64_t utcSeconds) { return QDateTime::fromSecsSinceEpoch(utcSeconds).offsetFromUtc(); };
}

} // namespace fw::qt
