// One projector's whole job below the front ends, on the virtual clock
// against the projector model: what it asks, what it tells, what reaches
// the projector, and how each ending is summed up.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "JobRig.h"
#include "ground/Texts.h"

using namespace fw;
using namespace fw::testing;

namespace {

std::vector<std::string> phasesEnded(const EventLog& log)
{
    std::vector<std::string> out;
    for (const PhaseEnded& p : log.all<PhaseEnded>())
        out.push_back(std::string(nameOf(p.phase)) + " " + nameOf(p.outcome));
    return out;
}

} // namespace

TEST(ProjectorJob, AnUpgradeChecksAsksOnceAndEndsWithBothImagesAndDownloadComplete)
{
    JobRig r;
    r.question.answers = {true};
    const JobOutcome outcome = r.run(JobKind::Upgrade);

    EXPECT_TRUE(outcome.succeeded) << outcome.failure;
    EXPECT_EQ(outcome.reason, Reason::None);
    EXPECT_EQ(outcome.message, texts::DownloadComplete);
    EXPECT_EQ(r.question.asked, std::vector<std::string>{texts::UpgradeConfirmation});
    EXPECT_TRUE(r.upImageFlashed());
    EXPECT_TRUE(r.scalerImageFlashed());
    // The package first, then one operation holding the checks and the upgrade.
    ASSERT_FALSE(r.log.events.empty());
    EXPECT_TRUE(std::holds_alternative<PackageChecked>(r.log.events.front()));
    ASSERT_EQ(r.log.all<OperationStarted>().size(), 1u);
    EXPECT_EQ(r.log.all<OperationStarted>()[0].operation, Operation::Upgrade);
    EXPECT_EQ(r.log.all<OperationEnded>().size(), 1u);
    EXPECT_EQ(phasesEnded(r.log),
              (std::vector<std::string>{"link-test ok", "model-check ok", "link-test ok", "download-mode ok",
                                        "image-transfer ok", "verdict ok", "restart ok", "isp-mode ok",
                                        "isp-tool-run ok"}));
    // The ISP tool ran in this port's own folder.
    EXPECT_TRUE(std::filesystem::exists(r.programFolder.path() / "isp-COM1" / "log.txt"));
    EXPECT_FALSE(std::filesystem::exists(r.programFolder.path() / "log.txt"));

    // Answered ahead, on another projector: nothing asked, the answer told.
    JobRig other;
    AnsweredYes yes;
    ProjectorJob ahead(other.port, other.loop, other.processes, other.programFolder.str(), other.workFolder.str(), yes);
    EventLog log;
    ahead.events().add(log);
    EXPECT_TRUE(ahead.run({JobKind::Upgrade, 1, other.package.listFile}).succeeded);
    EXPECT_TRUE(other.question.asked.empty());
    const auto shown = log.all<MessageShown>();
    const auto question = std::find_if(shown.begin(), shown.end(),
                                       [](const MessageShown& m) { return m.kind == MessageKind::Question; });
    ASSERT_NE(question, shown.end());
    EXPECT_EQ(question->answeredYes, true);
}


// Each way an upgrade ends before the image: what it is summed up as, and
// that nothing of the download reached the projector.
TEST(ProjectorJob, AnUpgradeThatCannotStartLeavesTheProjectorAloneAndSaysWhy)
{
    struct Case {
        const char* name;
        sim::ProjectorOptions projector;
        sim::PortAvailability availability;
        bool answer;
        bool validPackage;
        Reason reason;
        std::string failure;
        bool asked;
    };
    const Case cases[] = {
        {"silent projector", {.silent = true}, sim::PortAvailability::Projector, true, true, Reason::NoAnswer,
         std::string(texts::JobNoAnswer) + ": " + texts::LinkFailed, false},
        {"another model", {.modelName = "QT2436"}, sim::PortAvailability::Projector, true, true, Reason::ModelMismatch,
         std::string(texts::JobModelUnsuited) + ": " + texts::ModelMismatch, false},
        {"answered No", {}, sim::PortAvailability::Projector, false, true, Reason::Declined, texts::JobNotStarted,
         true},
        {"no such port", {}, sim::PortAvailability::Missing, true, true, Reason::PortNotOpened,
         std::string(texts::JobPortNotOpened) + ": COM1" + texts::InvalidPortTail, false},
        {"package not valid", {}, sim::PortAvailability::Projector, true, false, Reason::PackageNotValid,
         std::string(texts::JobPackageNotValid) + ": " + texts::ListFileNotValid, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JobRig r(c.projector);
        r.port.setAvailability(1, c.availability);
        r.question.answers = {c.answer};
        std::string list = r.package.listFile;
        if (!c.validPackage) {
            list = r.workFolder.file("broken.txt");
            writeFile(list, "[uP]nothing.bin\r\n");
        }
        const JobOutcome outcome = r.run(JobKind::Upgrade, list);
        EXPECT_FALSE(outcome.succeeded);
        EXPECT_EQ(outcome.reason, c.reason);
        EXPECT_EQ(outcome.failure, c.failure);
        EXPECT_EQ(!r.question.asked.empty(), c.asked);
        EXPECT_EQ(r.bytesSent().find("op dlmy"), std::string::npos) << "the download was started";
        ASSERT_EQ(r.log.all<OperationEnded>().size(), 1u);
        EXPECT_EQ(r.log.all<OperationEnded>()[0].reason, c.reason);
    }
}

TEST(ProjectorJob, AProjectorCheckTestsTheLinkAndJudgesTheModelWithoutTouchingTheFirmware)
{
    struct Case {
        const char* name;
        std::string model;
        bool withPackage;
        bool succeeded;
        std::string message;
    };
    const Case cases[] = {
        {"the package's model", "QT2416", true, true, texts::TestOk},
        {"another model", "QT2436", true, false, texts::ModelMismatch},
        {"any model without a package", "QT2436", false, true, texts::TestOk},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::ProjectorOptions options;
        options.modelName = c.model;
        JobRig r(options);
        const JobOutcome outcome = r.run(JobKind::ProjectorCheck, c.withPackage ? r.package.listFile : "");
        EXPECT_EQ(outcome.succeeded, c.succeeded) << outcome.failure;
        EXPECT_EQ(outcome.message, c.message);
        EXPECT_EQ(r.bytesSent(), "ky nop\rop model.name ?\r");
        EXPECT_TRUE(r.question.asked.empty());
        ASSERT_EQ(r.log.all<OperationStarted>().size(), 1u);
        EXPECT_EQ(r.log.all<OperationStarted>()[0].operation, Operation::Test);
    }
}

TEST(ProjectorJob, TheCommunicationTestAndThePackageCheckEndAsTheWindowWouldShowThem)
{
    JobRig answering;
    EXPECT_EQ(answering.run(JobKind::CommunicationTest).message, texts::TestOk);
    JobRig quiet({.silent = true});
    const JobOutcome failed = quiet.run(JobKind::CommunicationTest);
    EXPECT_EQ(failed.failure, std::string(texts::JobTestFailed) + ": " + texts::LinkFailed);

    JobRig package;
    const JobOutcome checked = package.job.run({JobKind::PackageCheck, 0, package.package.listFile});
    EXPECT_TRUE(checked.succeeded);
    EXPECT_TRUE(package.bytesSent().empty());
    ASSERT_EQ(package.log.all<OperationStarted>().size(), 1u);
    EXPECT_EQ(package.log.all<OperationStarted>()[0].port, 0);
}

// A fault of the program in the middle of an upgrade ends this job alone,
// as failed (unexpected), with the fault's own message told before the end,
// so the account carries it.
TEST(ProjectorJob, AFaultOfTheProgramEndsTheJobAsFailedWithItsOwnMessage)
{
    JobRig r;
    r.question.answers = {true};
    r.port.onWire = [](const sim::WireRecord& w) {
        if (w.bytes.size() == 1024) throw std::out_of_range("vector::at");  // the first block
    };
    const JobOutcome outcome = r.run(JobKind::Upgrade);
    const std::string message =
        "ERROR: Internal program error: vector::at. The operation was stopped. Please report this message.";
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.reason, Reason::Unexpected);
    EXPECT_EQ(outcome.failure, message);
    ASSERT_EQ(r.log.all<OperationEnded>().size(), 1u);
    EXPECT_EQ(r.log.all<OperationEnded>()[0].reason, Reason::Unexpected);
    const auto* told = std::get_if<MessageShown>(&r.log.events[r.log.events.size() - 2]);  // the last message
    ASSERT_TRUE(told);
    EXPECT_EQ(told->text, message);
    EXPECT_TRUE(std::holds_alternative<OperationEnded>(r.log.events.back()));
}
