#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>

#include "EventSchema.h"
#include "UpgradeRig.h"
#include "record/EventJson.h"
#include "record/ServiceRecord.h"
#include "window/ProjectorChecks.h"
#include "window/Telling.h"
#include "window/Upgrade.h"

using namespace fw;
using namespace fw::sim;
using namespace fw::testing;

namespace {

// Every event as its JSON line, each held against the documented schema.
struct JsonEvents : EventSink {
    void tell(const Event& event) override
    {
        const std::string line = eventJson(event, {"2024-05-01T14:00:00.000Z", 1});
        const auto value = parseJson(line);
        if (!value) ADD_FAILURE() << "not JSON: " << line;
        else if (const std::string problem = schemaProblem(schema, schema, *value); !problem.empty())
            ADD_FAILURE() << problem << " in " << line;
        else values.push_back(*value);
    }
    // The events' own fields, one line each ("phase-ended verdict ok"),
    // progress and elapsed time left out.
    std::vector<std::string> trace() const
    {
        std::vector<std::string> out;
        for (const Json& v : values) {
            std::string line;
            for (const auto& [key, field] : v.items()) {
                if (key == "schema" || key == "time" || key == "port" || field.is_object()) continue;
                line += (line.empty() ? "" : " ") + (field.is_string() ? field.get<std::string>() : field.dump());
            }
            if (line.rfind("image-progress", 0) != 0 && line.rfind("isp-tool-elapsed", 0) != 0) out.push_back(line);
        }
        return out;
    }
    // "phase outcome" of each phase ended, then the operation's "outcome reason".
    std::string phases() const
    {
        std::string out;
        for (const Json& v : values)
            if (textOf(v, "type") == "phase-ended") out += textOf(v, "phase") + " " + textOf(v, "outcome") + ", ";
            else if (textOf(v, "type") == "operation-ended") out += textOf(v, "outcome") + " " + textOf(v, "reason");
        return out;
    }
    std::vector<Json> of(const std::string& type) const
    {
        std::vector<Json> out;
        for (const Json& v : values)
            if (textOf(v, "type") == type) out.push_back(v);
        return out;
    }

    Json schema = *parseJson(readFile(FWUP_EVENT_SCHEMA));
    std::vector<Json> values;
};

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

TEST(Events, AWholeUpgradeToldStepByStep)
{
    UpgradeRig r;
    JsonEvents events;
    r.tool().events.add(events);
    r.rig.view.answerNext(Answer::Yes);
    cmdUpgradeSW_Click(r.tool());

    EXPECT_EQ(events.trace(),
              (std::vector<std::string>{"operation-started upgrade",
                                        "message question " + kConfirmationText + " yes",
                                        "phase-started link-test", "phase-ended link-test ok",
                                        "message status Processing, please wait ...",
                                        "phase-started download-mode", "phase-ended download-mode ok",
                                        "message status Downloading file 1 of 2",
                                        "phase-started image-transfer", "phase-ended image-transfer ok",
                                        "phase-started verdict", "phase-ended verdict ok",
                                        "phase-started restart", "phase-ended restart ok",
                                        "message status Downloading file 2 of 2",
                                        "phase-started isp-mode", "phase-ended isp-mode ok",
                                        "phase-started isp-tool-run 1", "isp-tool-started 1 1200",
                                        "isp-tool-ended 1 false 0 Command: 0503 0000 fafd",
                                        "phase-ended isp-tool-run 1 ok",
                                        "message information " + kDownloadComplete,
                                        "operation-ended upgrade succeeded none"}));
    // Bytes of the whole image, block by block as they go out, then the end.
    const auto progress = events.of("image-progress");
    ASSERT_EQ(progress.size(), 257u);
    for (std::size_t i = 0; i < 256; ++i) EXPECT_EQ(numberOf(progress[i], "sent_bytes"), 1024.0 * (i + 1));
    EXPECT_EQ(numberOf(progress[256], "sent_bytes"), 262144);
    for (const Json& p : progress) EXPECT_EQ(numberOf(p, "total_bytes"), 262144);
    // The ISP tool's seconds, one each, while it ran.
    const auto elapsed = events.of("isp-tool-elapsed");
    ASSERT_FALSE(elapsed.empty());
    for (std::size_t i = 0; i < elapsed.size(); ++i) EXPECT_EQ(numberOf(elapsed[i], "elapsed_s"), double(i + 1));
}

// Whichever way a test or an upgrade ends, and whoever wraps it: the phases
// it went through with their outcomes and the outcome and reason it ended
// with, as told; and while its last box is open, the record already holds
// the whole entry, ended, as told, with the box's own text, and nothing is
// written after the box.
TEST(Events, EveryEndingToldWithItsReasonAndRecordedBeforeItsLastBox)
{
    const auto limitIspTool = [](UpgradeRig& r) { writeFile(r.tool().settingsPath(), "[ISP]\r\nTIMELIMIT=5\r\n"); };
    const std::string upIn = "link-test ok, download-mode ok, image-transfer ok, verdict ok, restart ok, isp-mode ok, ";
    struct Case {
        const char* name;
        ProjectorOptions projector;
        std::function<void(UpgradeRig&)> before;
        std::string phases;
        isp::IspSwitches isp = {};
        Operation operation = Operation::Upgrade;
        bool wrapped = false;  // inside the command line's own operation
    } cases[] = {
        {"complete", {}, {}, upIn + "isp-tool-run ok, succeeded none"},
        {"complete, wrapped", {}, {}, upIn + "isp-tool-run ok, succeeded none", {}, Operation::Upgrade, true},
        {"declined, wrapped", {}, {}, "declined declined", {}, Operation::Upgrade, true},
        {"no valid package", {}, [](UpgradeRig& r) { r.tool().state.ListFileValid = false; },
         "failed package-not-valid"},
        {"port vanished", {}, [](UpgradeRig& r) { r.rig.port.setAvailability(1, PortAvailability::Missing); },
         "failed port-not-opened"},
        {"silent projector, wrapped", {.silent = true}, {}, "link-test no-answer, failed no-answer", {},
         Operation::Upgrade, true},
        {"lower-case answers", {.lowerCaseAnswers = true}, {}, "link-test wrong-answer, failed wrong-answer"},
        {"loader asks otherwise", {.loader = {.question = "\r\nDownload ('Y'/'N') ? "}}, {},
         "link-test ok, download-mode no-answer, failed loader-no-answer"},
        {"image gone", {}, [](UpgradeRig& r) { std::filesystem::remove(r.upImage); },
         "link-test ok, download-mode ok, image-transfer image-unusable, failed image-unusable"},
        {"device failing mid-image", {}, [](UpgradeRig& r) { r.rig.port.failDeviceAfterBytes(100000); },
         "link-test ok, download-mode ok, image-transfer port-failed, failed port-failed"},
        {"no verdict", {.loader = {.verdictRight = ""}}, {},
         "link-test ok, download-mode ok, image-transfer ok, verdict no-answer, failed up-image-not-taken"},
        {"verdict in capitals", {.loader = {.verdictRight = "\r\nRIGHT!\r\n"}}, {},
         "link-test ok, download-mode ok, image-transfer ok, verdict wrong-answer, failed up-image-not-taken"},
        {"never restarts", {.loader = {.restartBanner = ""}}, {},
         "link-test ok, download-mode ok, image-transfer ok, verdict ok, restart no-answer, failed no-restart"},
        {"ISP tool missing", {}, [](UpgradeRig& r) { r.rig.processes.failStartsWith(2); },
         upIn + "failed isp-tool-not-started"},
        {"ISP tool failing twice", {}, {},
         upIn + "isp-tool-run no-success-line, isp-tool-run no-success-line, failed isp-tool-failed",
         {.fail = isp::IspSwitches::Failing::Always}},
        {"ISP tool hung twice", {}, limitIspTool,
         upIn + "isp-tool-run time-up, isp-tool-run time-up, failed isp-tool-failed", {.hang = true}},
        {"test answered", {}, {}, "link-test ok, succeeded none", {}, Operation::Test},
        {"test answered, wrapped", {}, {}, "link-test ok, succeeded none", {}, Operation::Test, true},
        {"test unanswered", {.silent = true}, {}, "link-test no-answer, failed no-answer", {}, Operation::Test},
        {"test on a vanished port", {}, [](UpgradeRig& r) { r.rig.port.failDeviceAfterBytes(0); },
         "link-test port-failed, failed port-failed", {}, Operation::Test},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UpgradeRig r(c.projector, c.isp);
        JsonEvents events;
        r.tool().events.add(events);
        RecordAtEachBox record(r);
        if (c.before) c.before(r);
        {
            std::optional<ToldOperation> commandLine;
            if (c.wrapped) commandLine.emplace(r.tool(), c.operation);
            r.rig.view.answerNext(c.phases == "declined declined" ? Answer::No : Answer::Yes);
            if (c.operation == Operation::Test) cmdTest_Click(r.tool());
            else cmdUpgradeSW_Click(r.tool());
            if (commandLine) commandLine->end(commandLine->nestedReason());
        }
        EXPECT_EQ(events.phases(), c.phases);
        ASSERT_EQ(events.of("operation-started").size(), 1u);
        ASSERT_EQ(events.of("operation-ended").size(), 1u);
        EXPECT_EQ(textOf(events.values.front(), "type"), "operation-started");
        const Json& ended = events.values.back();
        EXPECT_EQ(textOf(ended, "type"), "operation-ended");
        // The box the technician was left with is the last message told.
        EXPECT_EQ(textOf(events.of("message").back(), "text"), r.messages().back());
        if (r.messages().back() == kConfirmationText) continue;  // declined: no box after the question

        ASSERT_FALSE(record.atBoxes.empty());
        const std::optional<Json> entry = parseJson(record.atBoxes.back());
        ASSERT_TRUE(entry) << record.atBoxes.back();
        EXPECT_EQ(textOf(*entry, "state"), "ended");
        EXPECT_EQ(textOf(*entry, "operation"), nameOf(c.operation));
        EXPECT_EQ(textOf(*entry, "outcome"), textOf(ended, "outcome"));
        EXPECT_EQ(textOf(*entry, "reason"), textOf(ended, "reason"));
        EXPECT_EQ(textOf(*entry, "message"), r.messages().back()) << "the box shown is part of the entry";
        EXPECT_TRUE(numberOf(*entry, "duration_ms"));
        EXPECT_EQ(record.lastLine(), record.atBoxes.back()) << "a line written after the last box";
        // Every earlier box found the operation still under way.
        for (std::size_t i = 0; i + 1 < record.atBoxes.size(); ++i)
            EXPECT_EQ(textOf(*parseJson(record.atBoxes[i]), "state"), "started") << "box " << i;
    }
}
