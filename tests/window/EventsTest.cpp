#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "EventSchema.h"
#include "UpgradeRig.h"
#include "record/EventJson.h"
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
    // "phase outcome" of each phase ended, and the reason the operation ended with.
    std::string phases() const
    {
        std::string out;
        for (const Json& v : values)
            if (textOf(v, "type") == "phase-ended") out += textOf(v, "phase") + " " + textOf(v, "outcome") + ", ";
            else if (textOf(v, "type") == "operation-ended") out += textOf(v, "reason");
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

// Each way an upgrade or a test ends: the phases it went through with
// their outcomes, and the reason it ended with, as a type.
TEST(Events, EveryEndingToldWithItsReason)
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
    } cases[] = {
        {"declined, inside the command line's own operation", {}, {}, "declined"},
        {"no valid package", {}, [](UpgradeRig& r) { r.tool().state.ListFileValid = false; }, "package-not-valid"},
        {"port vanished", {}, [](UpgradeRig& r) { r.rig.port.setAvailability(1, PortAvailability::Missing); },
         "port-not-opened"},
        {"silent projector", {.silent = true}, {}, "link-test no-answer, no-answer"},
        {"lower-case answers", {.lowerCaseAnswers = true}, {}, "link-test wrong-answer, wrong-answer"},
        {"loader asks otherwise", {.loader = {.question = "\r\nDownload ('Y'/'N') ? "}}, {},
         "link-test ok, download-mode no-answer, loader-no-answer"},
        {"image gone", {}, [](UpgradeRig& r) { std::filesystem::remove(r.upImage); },
         "link-test ok, download-mode ok, image-transfer image-unusable, image-unusable"},
        {"device failing mid-image", {}, [](UpgradeRig& r) { r.rig.port.failDeviceAfterBytes(100000); },
         "link-test ok, download-mode ok, image-transfer port-failed, port-failed"},
        {"no verdict", {.loader = {.verdictRight = ""}}, {},
         "link-test ok, download-mode ok, image-transfer ok, verdict no-answer, up-image-not-taken"},
        {"verdict in capitals", {.loader = {.verdictRight = "\r\nRIGHT!\r\n"}}, {},
         "link-test ok, download-mode ok, image-transfer ok, verdict wrong-answer, up-image-not-taken"},
        {"never restarts", {.loader = {.restartBanner = ""}}, {},
         "link-test ok, download-mode ok, image-transfer ok, verdict ok, restart no-answer, no-restart"},
        {"ISP tool missing", {}, [](UpgradeRig& r) { r.rig.processes.failStartsWith(2); },
         upIn + "isp-tool-not-started"},
        {"ISP tool failing twice", {}, {},
         upIn + "isp-tool-run no-success-line, isp-tool-run no-success-line, isp-tool-failed",
         {.fail = isp::IspSwitches::Failing::Always}},
        {"ISP tool hung twice", {}, limitIspTool, upIn + "isp-tool-run time-up, isp-tool-run time-up, isp-tool-failed",
         {.hang = true}},
        {"test answered", {}, {}, "link-test ok, none", {}, Operation::Test},
        {"test unanswered", {.silent = true}, {}, "link-test no-answer, no-answer", {}, Operation::Test},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UpgradeRig r(c.projector, c.isp);
        JsonEvents events;
        r.tool().events.add(events);
        if (c.before) c.before(r);
        if (c.operation == Operation::Test) {
            cmdTest_Click(r.tool());
        } else if (c.phases == "declined") {
            ToldOperation commandLine(r.tool(), Operation::Upgrade);
            r.rig.view.answerNext(Answer::No);
            cmdUpgradeSW_Click(r.tool());
            commandLine.end(commandLine.nestedReason());
        } else {
            r.rig.view.answerNext(Answer::Yes);
            cmdUpgradeSW_Click(r.tool());
        }
        EXPECT_EQ(events.phases(), c.phases);
        ASSERT_EQ(events.of("operation-started").size(), 1u);
        ASSERT_EQ(events.of("operation-ended").size(), 1u);
        EXPECT_EQ(textOf(events.values.front(), "type"), "operation-started");
        EXPECT_EQ(textOf(events.values.back(), "type"), "operation-ended");
        // The box the technician was left with is the last message told.
        const auto messages = events.of("message");
        if (!r.messages().empty()) {
            EXPECT_EQ(textOf(messages.back(), "text"), r.messages().back());
        }
    }
}
