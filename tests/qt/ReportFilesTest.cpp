#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "ReportEntries.h"
#include "ReportReading.h"
#include "qt/ReportFiles.h"
#include "qt/Text8.h"
#include "qt/TimelineDrawing.h"
#include "report/BuildReport.h"
#include "report/Timeline.h"

using namespace fw;
using namespace fw::testing;

namespace {

const reports::UtcOffset kSummerTime = [](int64_t) { return 2 * 3600; };
const QString kLabel = QStringLiteral("Saal Süd – Bühne 2");
const QString kFolder = QStringLiteral("/fw/Überspielung 2024");

// Three projectors as a venue's evening leaves them: one upgraded, its
// label and package folder in other letters than ASCII; one whose loader
// gave no verdict; one whose upgrade never ended.
reports::Report threeProjectors()
{
    RecordEntry done = completedUpgrade();
    done.label = qt::fromQt(kLabel);
    done.listFile = qt::fromQt(kFolder) + "/QT2416_package.txt";
    done.images[0].path = qt::fromQt(kFolder) + "/QT2416_uP.bin";
    return reports::buildReport({done, upgradeWithoutVerdict(), unfinishedUpgrade()}, kSummerTime);
}

// Where each of these stands in the text, in order; -1 for one missing.
std::vector<qsizetype> positions(const QString& text, const QStringList& wanted)
{
    std::vector<qsizetype> at;
    for (const QString& w : wanted) at.push_back(text.indexOf(w));
    return at;
}

bool inOrder(const std::vector<qsizetype>& at)
{
    for (std::size_t i = 0; i < at.size(); ++i)
        if (at[i] < 0 || (i > 0 && at[i] < at[i - 1])) return false;
    return true;
}

const QStringList kPhasesInOrder = {QStringLiteral("Link test"),   QStringLiteral("Model check"),
                                    QStringLiteral("Download mode"), QStringLiteral("uP image"),
                                    QStringLiteral("Verdict"),     QStringLiteral("Restart"),
                                    QStringLiteral("ISP mode"),    QStringLiteral("ISP tool run 1")};

// "left:2.500%;width:0.167%" as the two shares.
std::pair<double, double> shares(const QString& style)
{
    static const QRegularExpression pattern(QStringLiteral(R"(left:([0-9.]+)%;width:([0-9.]+)%)"));
    const auto m = pattern.match(style);
    return {m.captured(1).toDouble() / 100, m.captured(2).toDouble() / 100};
}


// What a reader finds in the report of threeProjectors(), PDF or HTML: the
// first page's table and counts, then a page per projector with its
// package's SHA-256 sums, the outcome, the phases in order, a failure's
// message in full and an unfinished upgrade said so.
void expectWhatWentOntoEachProjector(const QStringList& pages)
{
    ASSERT_EQ(pages.size(), 4);
    const QString summary = pages[0], done = pages[1], failed = pages[2], unfinished = pages[3];
    EXPECT_TRUE(summary.contains(QStringLiteral("3 operations: 1 succeeded, 1 failed, 1 unfinished")));
    EXPECT_TRUE(inOrder(positions(summary, {kLabel, QStringLiteral("Download complete"),
                                            QStringLiteral("ERROR: uP software download failed!"),
                                            QStringLiteral("Unfinished")})))
        << summary.toStdString();

    for (const QString& wanted :
         {QStringLiteral("Download complete"), kLabel, QString::fromStdString(kUpSha), QString::fromStdString(kScalerSha),
          kFolder + QStringLiteral("/QT2416_uP.bin"), QStringLiteral("QT-2416"),
          QStringLiteral("0403:6001, serial number A5XK3RJT"), QStringLiteral("2024-05-01 14:00:00 UTC"),
          QStringLiteral("2024-05-01 16:00:00 local time (UTC+02:00)")})
        EXPECT_TRUE(done.contains(wanted)) << wanted.toStdString() << " not in " << done.toStdString();
    EXPECT_TRUE(inOrder(positions(done.mid(done.indexOf(QStringLiteral("Timeline"))), kPhasesInOrder)))
        << done.toStdString();

    EXPECT_TRUE(failed.contains(QStringLiteral("ERROR: uP software download failed!")));
    EXPECT_TRUE(failed.contains(QStringLiteral("no answer")));
    EXPECT_FALSE(failed.contains(QStringLiteral("Download complete")));

    EXPECT_TRUE(unfinished.contains(QStringLiteral("Unfinished")));
    EXPECT_FALSE(unfinished.contains(QStringLiteral("Ended")));
    EXPECT_FALSE(unfinished.contains(QStringLiteral("Timeline")));
}

} // namespace

TEST(ReportPdf, AReaderFindsWhatWentOntoEachProjector)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Bericht für Saal Süd.pdf"));
    ASSERT_EQ(qt::writeReportPdf(threeProjectors(), path), "");
    if (!pdfReaderRuns()) GTEST_SKIP() << "no PDF reader runs here; e2e.windows_upgrade reads this build's PDF";
    const auto pages = pdfPages(path);
    ASSERT_TRUE(pages) << "pdftotext (poppler-utils) could not read " << path.toStdString();
    expectWhatWentOntoEachProjector(*pages);
}

// The HTML file parsed as XML: one file with nothing beside it, the same
// facts as the PDF, each outcome marked as such, and the timeline's bars at
// the phases' shares.
TEST(ReportHtml, OneFileAReaderAndAParserAgreeOn)
{
    const QString html = qt::reportHtml(threeProjectors());
    const ParsedHtml parsed = parseHtml(html);
    ASSERT_TRUE(parsed.wellFormed) << parsed.error.toStdString();
    EXPECT_FALSE(parsed.hasScript);
    EXPECT_FALSE(parsed.refersOutside);
    QStringList pages;
    for (const HtmlElement& page : parsed.withClass(QStringLiteral("page"))) pages << page.text;
    expectWhatWentOntoEachProjector(pages);
    const auto outcomes = parsed.withClass(QStringLiteral("outcome"));
    ASSERT_EQ(outcomes.size(), 3u);
    EXPECT_EQ(outcomes[0].text, QStringLiteral("Download complete"));
    EXPECT_EQ(outcomes[0].cls, QStringLiteral("outcome succeeded"));
    EXPECT_EQ(outcomes[1].text, QStringLiteral("ERROR: uP software download failed!"));
    EXPECT_EQ(outcomes[2].text, QStringLiteral("Unfinished"));

    // The first projector's phases: named in order, each bar where it began
    // and as wide as it took, out of ten minutes.
    const auto rows = parsed.withClass(QStringLiteral("phase"));
    const auto bars = parsed.withClass(QStringLiteral("bar"));
    ASSERT_GE(rows.size(), 8u);
    const int seconds[][2] = {{10, 1}, {11, 1}, {12, 3}, {15, 120}, {135, 1}, {136, 44}, {180, 10}, {190, 410}};
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(rows[i].text.startsWith(kPhasesInOrder[i]));
        const auto [start, width] = shares(bars[i].style);
        EXPECT_NEAR(start, seconds[i][0] / 600.0, 1e-5);
        EXPECT_NEAR(width, seconds[i][1] / 600.0, 1e-5);
    }
    // The second projector's failing phase is marked as such.
    EXPECT_EQ(bars[12].cls, QStringLiteral("bar failed"));
    EXPECT_TRUE(rows[12].text.contains(QStringLiteral("Verdict")));
    EXPECT_TRUE(rows[12].text.contains(QStringLiteral("no answer")));
    for (int i = 8; i < 12; ++i) EXPECT_EQ(bars[i].cls, QStringLiteral("bar")) << i;

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Bericht für Saal Süd.html"));
    ASSERT_EQ(qt::writeReportHtml(threeProjectors(), path), "");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()), html);
}

// The drawing keeps the phases' order and proportions whatever the width;
// a phase too short to see still shows.
TEST(TimelineDrawing, PhasesInOrderAndProportion)
{
    const reports::Timeline timeline = reports::timelineOf(completedUpgrade());
    for (const qreal width : {400.0, 2480.0}) {
        SCOPED_TRACE(width);
        const qt::TimelineMetrics metrics{width * 0.2, width * 0.25, 20, 14};
        const qt::TimelineLayout layout = qt::layoutTimeline(timeline, QPointF(10, 100), width, metrics);
        ASSERT_EQ(layout.bars.size(), timeline.bars.size());
        const QRectF& track = layout.track;
        EXPECT_DOUBLE_EQ(track.width(), width * 0.55);
        for (std::size_t i = 0; i < layout.bars.size(); ++i) {
            const QRectF& bar = layout.bars[i];
            EXPECT_TRUE(track.contains(bar)) << i;
            EXPECT_GT(bar.width(), 0) << i;
            if (i == 0) continue;
            EXPECT_GE(bar.left(), layout.bars[i - 1].left()) << i;
            EXPECT_GT(bar.top(), layout.bars[i - 1].top()) << i;
        }
        // The uP image took 120 s of 600, the ISP tool 410 s: at scale.
        EXPECT_NEAR(layout.bars[3].width() / track.width(), 120.0 / 600, 1e-9);
        EXPECT_NEAR(layout.bars[7].width() / layout.bars[3].width(), 410.0 / 120, 1e-9);
        EXPECT_NEAR(layout.bars[7].right(), track.right(), 1e-9);
        EXPECT_NEAR(layout.bars[3].left() - track.left(), track.width() * 15 / 600, 1e-9);
        ASSERT_EQ(layout.ticks.size(), 6u);
        EXPECT_DOUBLE_EQ(layout.ticks.front(), track.left());
        EXPECT_DOUBLE_EQ(layout.ticks.back(), track.right());
    }
}

TEST(ReportFiles, AFileThatCannotBeWrittenIsSaid)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("no such folder/report"));
    EXPECT_NE(qt::writeReportPdf(threeProjectors(), path + QStringLiteral(".pdf")), "");
    EXPECT_NE(qt::writeReportHtml(threeProjectors(), path + QStringLiteral(".html")), "");
}
