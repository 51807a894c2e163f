#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>

#include "UpgradeRig.h"
#include "ground/Json.h"
#include "record/ServiceRecord.h"
#include "window/ProjectorChecks.h"
#include "window/Telling.h"
#include "window/Upgrade.h"

using namespace fw;
using namespace fw::sim;
using namespace fw::testing;

namespace {

// The service record on the disk, as it stands while each box is open: a
// window closed by a shutdown with the last box still showing leaves what
// was read then.
struct RecordAtEachBox {
    explicit RecordAtEachBox(UpgradeRig& r)
        : record({.path = r.rig.workFolder.file("upgrades.jsonl"), .program = "firmware-upgrade-tool",
                  .host = "bench", .user = "tech", .portFacts = {}, .now = [] { return WallClock::now(); },
                  .warn = {}})
    {
        path = r.rig.workFolder.file("upgrades.jsonl");
        r.tool().events.add(record);
        r.rig.view.whileMessageShown = [this](const MessageBoxShown& box) {
            if (box.style != MessageStyle::Question) atBoxes.push_back(lastLine());
        };
    }
    std::string lastLine() const
    {
        std::istringstream in(readFile(path));
        std::string line, last;
        while (std::getline(in, line)) last = line;
        return last;
    }

    ServiceRecord record;
    std::string path;
    std::vector<std::string> atBoxes;  // the record's last line as each box showed
};

} // namespace

// Whichever way a test or an upgrade ends, and whoever wraps it: while its
// last box is open, the record holds the whole entry, ended, with its outcome
// and the box's own text, and nothing is written after the box.
TEST(RecordedEnd, TheEntryIsEndedBeforeTheLastBoxOpens)
{
    struct Case {
        const char* name;
        ProjectorOptions projector;
        std::function<void(UpgradeRig&)> before;
        Operation operation;
        bool wrapped;  // inside the command line's own operation
        const char* outcome;
        const char* reason;
    } cases[] = {
        {"test answered", {}, {}, Operation::Test, false, "succeeded", "none"},
        {"test answered, wrapped", {}, {}, Operation::Test, true, "succeeded", "none"},
        {"test unanswered", {.silent = true}, {}, Operation::Test, false, "failed", "no-answer"},
        {"test on a vanished port", {}, [](UpgradeRig& r) { r.rig.port.failDeviceAfterBytes(0); }, Operation::Test,
         false, "failed", "port-failed"},
        {"upgrade complete", {}, {}, Operation::Upgrade, false, "succeeded", "none"},
        {"upgrade complete, wrapped", {}, {}, Operation::Upgrade, true, "succeeded", "none"},
        {"no valid package", {}, [](UpgradeRig& r) { r.tool().state.ListFileValid = false; }, Operation::Upgrade,
         false, "failed", "package-not-valid"},
        {"port vanished", {}, [](UpgradeRig& r) { r.rig.port.setAvailability(1, PortAvailability::Missing); },
         Operation::Upgrade, false, "failed", "port-not-opened"},
        {"silent projector, wrapped", {.silent = true}, {}, Operation::Upgrade, true, "failed", "no-answer"},
        {"image gone", {}, [](UpgradeRig& r) { std::filesystem::remove(r.upImage); }, Operation::Upgrade, false,
         "failed", "image-unusable"},
        {"no verdict", {.loader = {.verdictRight = ""}}, {}, Operation::Upgrade, false, "failed",
         "up-image-not-taken"},
        {"never restarts", {.loader = {.restartBanner = ""}}, {}, Operation::Upgrade, false, "failed", "no-restart"},
        {"ISP tool missing", {}, [](UpgradeRig& r) { r.rig.processes.failStartsWith(2); }, Operation::Upgrade, false,
         "failed", "isp-tool-not-started"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UpgradeRig r(c.projector);
        RecordAtEachBox record(r);
        if (c.before) c.before(r);
        {
            std::optional<ToldOperation> commandLine;
            if (c.wrapped) commandLine.emplace(r.tool(), c.operation);
            r.rig.view.answerNext(Answer::Yes);
            if (c.operation == Operation::Test) cmdTest_Click(r.tool());
            else cmdUpgradeSW_Click(r.tool());
            if (commandLine) commandLine->end(commandLine->nestedReason());
        }
        ASSERT_FALSE(record.atBoxes.empty());
        const std::optional<Json> entry = parseJson(record.atBoxes.back());
        ASSERT_TRUE(entry) << record.atBoxes.back();
        EXPECT_EQ(textOf(*entry, "state"), "ended");
        EXPECT_EQ(textOf(*entry, "operation"), nameOf(c.operation));
        EXPECT_EQ(textOf(*entry, "outcome"), c.outcome);
        EXPECT_EQ(textOf(*entry, "reason"), c.reason);
        EXPECT_EQ(textOf(*entry, "message"), r.messages().back()) << "the box shown is part of the entry";
        EXPECT_TRUE(numberOf(*entry, "duration_ms"));
        EXPECT_EQ(record.lastLine(), record.atBoxes.back()) << "a line written after the last box";
        // Every earlier box found the operation still under way.
        for (std::size_t i = 0; i + 1 < record.atBoxes.size(); ++i)
            EXPECT_EQ(textOf(*parseJson(record.atBoxes[i]), "state"), "started") << "box " << i;
    }
}
