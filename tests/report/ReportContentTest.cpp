#include <gtest/gtest.h>

#include <algorithm>

#include "ReportEntries.h"
#include "ground/Texts.h"
#include "report/BuildReport.h"
#include "report/Timeline.h"

using namespace fw;
using namespace fw::reports;
using namespace fw::testing;

namespace {

// Two hours east of UTC, as in a Central European summer.
const UtcOffset kSummerTime = [](int64_t) { return 2 * 3600; };

std::string factOf(const std::vector<Fact>& facts, const std::string& label)
{
    for (const Fact& f : facts)
        if (f.label == label) return f.value;
    return "(none)";
}

std::vector<std::string> labelsOf(const std::vector<Fact>& facts)
{
    std::vector<std::string> labels;
    for (const Fact& f : facts) labels.push_back(f.label);
    return labels;
}

} // namespace

// The phases stand on the timeline in the order they began, each where it
// began and as long as it took, against the whole operation from its start
// (the question before the link test included) to its end.
TEST(ReportTimeline, PhasesInOrderAtScale)
{
    const Timeline timeline = timelineOf(completedUpgrade());
    EXPECT_EQ(timeline.spanMs, 600000);
    ASSERT_EQ(timeline.bars.size(), 8u);
    const struct {
        const char* name;
        int startS, lengthS;
    } expected[] = {{"Link test", 10, 1},  {"Model check", 11, 1}, {"Download mode", 12, 3}, {"uP image", 15, 120},
                    {"Verdict", 135, 1},   {"Restart", 136, 44},   {"ISP mode", 180, 10},    {"ISP tool run 1", 190, 410}};
    for (std::size_t i = 0; i < 8; ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(timeline.bars[i].name, expected[i].name);
        EXPECT_DOUBLE_EQ(timeline.bars[i].start, expected[i].startS / 600.0);
        EXPECT_DOUBLE_EQ(timeline.bars[i].length, expected[i].lengthS / 600.0);
        EXPECT_FALSE(timeline.bars[i].failed);
        EXPECT_EQ(timeline.bars[i].outcome, "ok");
    }
    // Ten minutes, marked every two.
    std::vector<std::string> ticks;
    for (const TimelineTick& t : timeline.ticks) ticks.push_back(t.label);
    EXPECT_EQ(ticks, (std::vector<std::string>{"0 min", "2 min", "4 min", "6 min", "8 min", "10 min"}));
    EXPECT_DOUBLE_EQ(timeline.ticks.back().at, 1.0);
}

// The failing phase is marked with its outcome; a phase the record never saw
// end is marked too; a record out of order is put in the order of time.
TEST(ReportTimeline, FailingPhaseMarked)
{
    RecordEntry e = upgradeWithoutVerdict();
    std::swap(e.phases[0], e.phases[3]);
    e.phases.push_back({"restart", 0, "2024-05-01T14:02:30.000Z", "", ""});
    const Timeline timeline = timelineOf(e);
    ASSERT_EQ(timeline.bars.size(), 6u);
    EXPECT_EQ(timeline.bars[0].name, "Link test");
    EXPECT_EQ(timeline.bars[3].name, "uP image");
    EXPECT_TRUE(timeline.bars[4].failed);
    EXPECT_EQ(timeline.bars[4].outcome, "no answer");
    EXPECT_TRUE(timeline.bars[5].failed);
    EXPECT_EQ(timeline.bars[5].outcome, texts::report::PhaseUnended);
    EXPECT_DOUBLE_EQ(timeline.bars[5].start + timeline.bars[5].length, 1.0);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_FALSE(timeline.bars[i].failed) << i;
}

TEST(ReportTimeline, TicksAtRoundSteps)
{
    const struct {
        int64_t spanMs;
        std::vector<std::string> labels;
    } cases[] = {
        {900, {"0.00 s", "0.20 s", "0.40 s", "0.60 s", "0.80 s"}},
        {7000, {"0 s", "1 s", "2 s", "3 s", "4 s", "5 s", "6 s", "7 s"}},
        {95000, {"0 s", "15 s", "30 s", "45 s", "60 s", "75 s", "90 s"}},
        {0, {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> labels;
        for (const TimelineTick& t : ticksFor(c.spanMs)) labels.push_back(t.label);
        EXPECT_EQ(labels, c.labels) << c.spanMs;
    }
}

// Everything the entry holds about the projector, its package and who did
// it, times in UTC and in local time.
TEST(ReportPage, AnUpgradeThatWentWell)
{
    const ProjectorPage page = pageOf(completedUpgrade(), kSummerTime);
    EXPECT_EQ(page.heading, texts::report::Upgrade);
    EXPECT_EQ(page.subject, "QT-2416 — COM3");
    EXPECT_EQ(page.verdict, Verdict::Succeeded);
    EXPECT_EQ(page.outcome, "Download complete");
    EXPECT_EQ(page.outcomeNote,
              "Don't forget to turn the projector AC power off and on again to complete the software upgrading process.");
    EXPECT_EQ(factOf(page.projector, "Model"), "QT-2416");
    EXPECT_EQ(factOf(page.projector, "Model number matched"), "2416");
    EXPECT_EQ(factOf(page.projector, "Port"), "COM3 (/dev/ttyUSB0)");
    EXPECT_EQ(factOf(page.projector, "USB adapter"), "0403:6001, serial number A5XK3RJT");
    ASSERT_EQ(page.images.size(), 2u);
    EXPECT_EQ(page.images[0].role, "uP image");
    EXPECT_EQ(page.images[0].size, "262144");
    EXPECT_EQ(page.images[0].byteSum, "1F3A2C1");
    EXPECT_EQ(page.images[0].sha256, kUpSha);
    EXPECT_EQ(page.images[1].sha256, kScalerSha);
    EXPECT_EQ(factOf(page.ispRuns, "Run 1"), "exit code 0, log: Command: 0503 0000 fafd");
    EXPECT_EQ(factOf(page.service, "Technician"), "tech");
    EXPECT_EQ(factOf(page.service, "Program"), "firmware-upgrade-tool 1.1.4");
    EXPECT_EQ(factOf(page.service, "Record id"), "0123456789abcdef");
    EXPECT_EQ(factOf(page.service, "Started"),
              "2024-05-01 14:00:00 UTC; 2024-05-01 16:00:00 local time (UTC+02:00)");
    EXPECT_EQ(factOf(page.service, "Duration"), "10 min 00 s");
}

// What the record lacks is left out, not filled in: no adapter, no model,
// no label; an unfinished entry says so and claims no end. A port is named
// once where its device is its name.
TEST(ReportPage, NothingTheRecordDoesNotHold)
{
    RecordEntry e = unfinishedUpgrade();
    e.port = RecordedPort{1, "COM1", "", ""};  // on Windows the device is the port's own name
    e.model.clear();
    e.modelNumber.clear();
    e.modelReply = "op model.name ?\r\r\n";
    e.user.clear();
    const ProjectorPage page = pageOf(e, kSummerTime);
    EXPECT_EQ(page.verdict, Verdict::Unfinished);
    EXPECT_EQ(page.outcome, texts::report::Unfinished);
    EXPECT_EQ(labelsOf(page.projector), (std::vector<std::string>{"Port"}));
    EXPECT_EQ(factOf(page.projector, "Port"), "COM1");
    EXPECT_EQ(labelsOf(page.service), (std::vector<std::string>{"Computer", "Program", "Record id", "Started"}));
    EXPECT_TRUE(page.timeline.bars.empty());
    EXPECT_TRUE(page.ispRuns.empty());
}

// A failure's box in full in large type, the reason below; an entry written
// before the record named the model shows the word of the reply with the
// family mark, never the prompt after it.
TEST(ReportPage, AFailureShowsItsMessageInFull)
{
    RecordEntry e = upgradeWithoutVerdict();
    e.model.clear();
    e.modelNumber.clear();
    const ProjectorPage page = pageOf(e, kSummerTime);
    EXPECT_EQ(page.verdict, Verdict::Failed);
    EXPECT_EQ(page.outcome, "ERROR: uP software download failed!");
    EXPECT_EQ(page.outcomeNote, "Failed: uP image not taken");
    EXPECT_EQ(factOf(page.projector, "Model"), "QT-2416");
    EXPECT_EQ(factOf(page.projector, "Model number matched"), "(none)");
}

// Several entries: a table of each with its outcome, and the counts.
TEST(Report, SeveralEntriesHaveATableAndCounts)
{
    RecordEntry labelled = completedUpgrade();
    labelled.label = "Saal Süd – Bühne 2";
    const Report report = buildReport({labelled, upgradeWithoutVerdict(), unfinishedUpgrade()}, kSummerTime);
    ASSERT_TRUE(report.hasSummary());
    ASSERT_EQ(report.summary.size(), 3u);
    EXPECT_EQ(report.counts, "3 operations: 1 succeeded, 1 failed, 1 unfinished");
    EXPECT_EQ(report.summary[0].projector, "Saal Süd – Bühne 2, COM3");
    EXPECT_EQ(report.summary[0].when, "2024-05-01 16:00:00");
    EXPECT_EQ(report.summary[0].outcome, "Download complete");
    EXPECT_EQ(report.summary[1].outcome, "ERROR: uP software download failed!");
    EXPECT_EQ(report.summary[2].verdict, Verdict::Unfinished);
    EXPECT_EQ(report.summary[0].package, "QT2416_package.txt");
    EXPECT_EQ(report.pages[0].subject, "Saal Süd – Bühne 2 — COM3");

    const Report one = buildReport({completedUpgrade()}, kSummerTime);
    EXPECT_FALSE(one.hasSummary());
    EXPECT_TRUE(one.summary.empty());
}

// The record's times read back to the millisecond; anything else is no time
// and is shown as stored.
TEST(ReportTimes, IsoTimesReadBackExactly)
{
    using namespace std::chrono;
    const struct {
        const char* text;
        std::optional<int64_t> msSince1970;
    } cases[] = {
        {"2024-05-01T14:03:22.125Z", 1714572202125},
        {"2024-05-01T14:03:22Z", 1714572202000},
        {"2024-05-01T14:03:22.5Z", 1714572202500},
        {"2024-05-01T14:03:22.123456Z", 1714572202123},
        {"1970-01-01T00:00:00.000Z", 0},
        {"2024-02-30T14:03:22.125Z", std::nullopt},
        {"2024-05-01 14:03:22.125Z", std::nullopt},
        {"2024-05-01T14:03:22.125", std::nullopt},
        {"2024-05-01T14:03:22.Z", std::nullopt},
        {"2024-05-01T24:03:22Z", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto when = parseIsoUtc(c.text);
        ASSERT_EQ(when.has_value(), c.msSince1970.has_value()) << c.text;
        if (when) {
            EXPECT_EQ(duration_cast<milliseconds>(when->time_since_epoch()).count(), *c.msSince1970) << c.text;
        }
    }
    const auto when = parseIsoUtc("2024-05-01T14:03:22.125Z");
    EXPECT_EQ(isoUtc(*when), "2024-05-01T14:03:22.125Z");
    EXPECT_EQ(localText(*when, [](int64_t) { return -(3 * 3600 + 1800); }),
              "2024-05-01 10:33:22 local time (UTC-03:30)");
    EXPECT_EQ(durationText(250), "0.25 s");
    EXPECT_EQ(durationText(12400), "12.4 s");
    EXPECT_EQ(durationText(192000), "3 min 12 s");
    EXPECT_EQ(durationText(3725000), "1 h 02 min");
}
