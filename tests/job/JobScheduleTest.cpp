// The turns a venue's projectors take, and what the technician is asked
// and told about several at once.
#include <gtest/gtest.h>

#include "ground/Texts.h"
#include "job/JobSchedule.h"
#include "job/VenueReport.h"

using namespace fw;

namespace {

using Rows = std::vector<std::size_t>;

std::string turns(const JobSchedule& s, std::size_t rows)
{
    std::string out;
    for (std::size_t i = 0; i < rows; ++i) {
        switch (s.turnOf(i)) {
        case Turn::Waiting: out += 'w'; break;
        case Turn::Running: out += 'R'; break;
        case Turn::Ended: out += 'e'; break;
        case Turn::NotStarted: out += '-'; break;
        }
    }
    return out;
}

} // namespace

TEST(JobSchedule, AllStartAtOnceUnlessALimitHoldsTheRestBackUntilARowEnds)
{
    JobSchedule all(4, {});
    EXPECT_EQ(all.next(), (Rows{0, 1, 2, 3}));
    EXPECT_EQ(all.next(), Rows{});

    JobSchedule two(5, {false, 2});
    EXPECT_EQ(two.next(), (Rows{0, 1}));
    two.ended(1, false);  // a failure frees its place like a success
    EXPECT_EQ(two.next(), Rows{2});
    EXPECT_EQ(turns(two, 5), "ReRww");
    two.ended(0, true);
    two.ended(2, true);
    EXPECT_EQ(two.next(), (Rows{3, 4}));
    EXPECT_LE(two.running(), 2u);
    two.ended(3, true);
    two.ended(4, true);
    EXPECT_TRUE(two.finished());
}

TEST(JobSchedule, OneFirstStartsTheRestOnlyWhenTheFirstSucceeded)
{
    JobSchedule good(4, {true, 2});
    EXPECT_EQ(good.next(), Rows{0});
    EXPECT_EQ(good.next(), Rows{});
    good.ended(0, true);
    EXPECT_EQ(good.next(), (Rows{1, 2}));

    JobSchedule bad(3, {true, 0});
    EXPECT_EQ(bad.next(), Rows{0});
    bad.ended(0, false);
    EXPECT_EQ(bad.next(), Rows{});
    EXPECT_EQ(turns(bad, 3), "e--");
    EXPECT_TRUE(bad.finished());
    bad.ended(1, true);  // a row that never ran cannot end
    EXPECT_EQ(turns(bad, 3), "e--");
}

TEST(VenueReport, TheQuestionNamesHowManyAndWhichAndTheSummaryEachFailureWithItsOwnMessage)
{
    EXPECT_EQ(venueQuestion({projectorName("Left stack", 11), projectorName("", 3)}),
              std::string("Upgrading 2 projectors: Left stack (COM11), COM3.\n\n") + texts::UpgradeConfirmation);

    auto ok = [](const char* name) { return RowEnd{name, true, {true, Reason::None, texts::DownloadComplete, {}}}; };
    const std::vector<RowEnd> rows = {
        ok("Left stack (COM11)"),
        {"Right stack (COM3)", true, {false, Reason::NoAnswer, texts::LinkFailed, "the projector does not answer"}},
        ok("Booth (COM12)"),
        ok("Balcony (COM4)"),
    };
    EXPECT_EQ(venueSummary(JobKind::Upgrade, rows),
              "3 of 4 projectors upgraded. Failed: Right stack (COM3): Communication with projector failed.");
    const std::vector<RowEnd> firstFailed = {
        {"Booth (COM1)", true, {false, Reason::IspFolderUnusable, "", "cannot make the ISP tool's folder"}},
        {"Left (COM2)", false, {}},
        {"Right (COM3)", false, {}},
    };
    EXPECT_EQ(venueSummary(JobKind::Upgrade, firstFailed),
              "0 of 3 projectors upgraded. Failed: Booth (COM1): cannot make the ISP tool's folder Not started: "
              "Left (COM2), Right (COM3).");
    EXPECT_EQ(notStartedMessage(JobKind::Upgrade, "Booth (COM1)"),
              "Not started: Booth (COM1) did not end with \"Download complete\".");
}

#include "job/VenueRow.h"

// A row follows its projector's events alone: the step it is at, how far,
// the model it answered and the message it was left with.
TEST(VenueRow, ShowsTheStepTheProgressTheModelAndTheLastMessage)
{
    VenueRow row;
    const std::pair<Event, std::string> story[] = {
        {OperationStarted{Operation::Upgrade, 3}, " 0  "},
        {PhaseStarted{Phase::LinkTest}, "link test 0  "},
        {PhaseStarted{Phase::ModelCheck}, "model check 0  "},
        {ModelReplied{"opmodel.name?\r\r\nQT2416 \r\n", "QT2416", "2416"}, "model check 0 QT2416 "},
        {PhaseStarted{Phase::ImageTransfer}, "uP image 0 QT2416 "},
        {ImageProgress{131072, 262144}, "uP image 50 QT2416 "},
        {PhaseStarted{Phase::Verdict}, "uP image 50 QT2416 "},
        {PhaseStarted{Phase::Restart}, "restart 0 QT2416 "},
        {PhaseStarted{Phase::IspToolRun, 1}, "scaler 0 QT2416 "},
        {IspToolStarted{1, 1200}, "scaler 0 QT2416 "},
        {IspToolElapsed{1, 300}, "scaler 25 QT2416 "},
        {MessageShown{MessageKind::Status, "Downloading file 2 of 2", {}}, "scaler 25 QT2416 "},
        {MessageShown{MessageKind::Error, "Communication with projector failed.", {}},
         "scaler 25 QT2416 Communication with projector failed."},
        {OperationEnded{Operation::Upgrade, Reason::IspToolFailed}, "scaler 25 QT2416 Communication with projector failed."},
    };
    for (const auto& [event, shown] : story) {
        row.take(event);
        EXPECT_EQ(std::string(stepName(row.step())) + " " + std::to_string(static_cast<int>(row.progress())) + " " +
                      row.model() + " " + row.result(),
                  shown);
    }
    EXPECT_TRUE(row.ended());
    EXPECT_FALSE(row.succeeded());
    row.take(OperationStarted{Operation::Upgrade, 3});  // a new run shows nothing of the last
    EXPECT_EQ(row.result(), "");
}
