#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <thread>

#include "PackageMaker.h"
#include "TempFolder.h"
#include "ground/DurableAppend.h"
#include "ground/Json.h"
#include "ground/Texts.h"
#include "record/History.h"
#include "record/RecordEntry.h"
#include "record/ServiceRecord.h"

using namespace fw;
using fw::testing::readFile;
using fw::testing::writeFile;

namespace {

// A record on a clock that moves one second each time it is read, from
// 2024-05-01 14:00:00 UTC.
struct RecordRig {
    explicit RecordRig(std::string path = {})
    {
        setup.path = path.empty() ? folder.file("upgrades.jsonl") : std::move(path);
        setup.program = "fwupgrade";
        setup.host = "bench-pc";
        setup.user = "tech";
        setup.portFacts = [](int n) { return PortFacts{"/dev/ttyUSB" + std::to_string(n), "0403:6001", "A5XK3RJT"}; };
        setup.now = [this] { return WallClock::time_point{} + std::chrono::seconds(1714572000 + ticks++); };
        setup.warn = [this](const std::string& w) { warnings.push_back(w); };
        record = std::make_unique<ServiceRecord>(setup);
    }
    void tell(std::initializer_list<Event> events)
    {
        for (const Event& e : events) record->tell(e);
    }
    // The file's lines, each operation's id shown as ID.
    std::vector<std::string> lines() const
    {
        std::vector<std::string> out;
        std::istringstream in(readFile(setup.path));
        for (std::string line; std::getline(in, line);)
            out.push_back(std::regex_replace(line, std::regex(R"("id":"[0-9a-f]{16}")"), R"("id":"ID")"));
        return out;
    }
    std::vector<std::string> ids() const
    {
        const std::string text = readFile(setup.path);
        const std::regex id(R"re("id":"([0-9a-f]{16})")re");
        std::vector<std::string> out;
        for (std::sregex_iterator i(text.begin(), text.end(), id), end; i != end; ++i) out.push_back((*i)[1]);
        return out;
    }

    sim::TempFolder folder;
    RecordSetup setup;
    int ticks = 0;
    std::vector<std::string> warnings;
    std::unique_ptr<ServiceRecord> record;
};

const std::string kVersion = texts::ProgramVersion;

} // namespace

TEST(ServiceRecord, AnUpgradeLeavesItsStartAtOnceAndTheWholeAccountAtItsEnd)
{
    RecordRig r;
    const std::string up = r.folder.file("QT2416_uP.bin"), scaler = r.folder.file("gone.bin"),
                      list = r.folder.file("QT2416.txt");
    writeFile(up, "abc");
    r.tell({ModelReplied{"from an earlier projector", "", ""}, PhaseStarted{Phase::LinkTest},  // outside any operation
            PackageChecked{list, true, ImageFile{"QT2416_uP.bin", up, 3}, ImageFile{"gone.bin", scaler, 2500000}},
            OperationStarted{Operation::Upgrade, 3}});
    const std::string head = R"({"record":1,"id":"ID",)";
    const std::string facts =
        R"("program":"fwupgrade","version":")" + kVersion +
        R"(","host":"bench-pc","user":"tech","port":{"number":3,"device":"/dev/ttyUSB3","usb_id":"0403:6001","serial_number":"A5XK3RJT"},"list_file":)" +
        jsonLine(Json(list)) + R"(,"images":[{"role":"up","name":"QT2416_uP.bin","path":)" + jsonLine(Json(up)) +
        R"(,"size":3,"byte_sum":294,"sha256":"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},)" +
        R"({"role":"scaler","name":"gone.bin","path":)" + jsonLine(Json(scaler)) +
        R"(,"size":2500000,"byte_sum":null,"sha256":null}],)";
    // Before any step goes out, the start is on the disk.
    EXPECT_EQ(r.lines(), (std::vector<std::string>{
                             head + R"("state":"started","operation":"upgrade","started":"2024-05-01T14:00:00.000Z",)" +
                             facts + R"("model_reply":"from an earlier projector","model":null,"model_number":null,"phases":[],)" +
                             R"("isp_runs":[]})"}));

    r.tell({PhaseStarted{Phase::ModelCheck}, ModelReplied{"op model.name ?\r\r\nQT2416\r\n", "QT2416", "2416"},
            PhaseEnded{Phase::ModelCheck, PhaseOutcome::Ok}, MessageShown{MessageKind::Question, "Go?", true},
            MessageShown{MessageKind::Error, "ERROR: uP software download failed!", {}},
            PhaseStarted{Phase::IspToolRun, 1}, IspToolEnded{1, true, {}, {}},
            PhaseEnded{Phase::IspToolRun, PhaseOutcome::TimeUp, 1}, PhaseStarted{Phase::IspToolRun, 2},
            IspToolEnded{2, false, 0, "Command: 0503 0000 fafd"}, PhaseEnded{Phase::IspToolRun, PhaseOutcome::Ok, 2},
            MessageShown{MessageKind::Status, "Downloading file 2 of 2", {}},
            MessageShown{MessageKind::Information, texts::DownloadComplete, {}},
            OperationEnded{Operation::Upgrade, Reason::None}});
    const auto lines = r.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1],
              head + R"("state":"ended","operation":"upgrade","started":"2024-05-01T14:00:00.000Z",)" +
                  R"("ended":"2024-05-01T14:00:07.000Z","duration_ms":7000,)" + facts +
                  R"("model_reply":"op model.name ?\r\r\nQT2416\r\n","model":"QT2416","model_number":"2416","phases":[)" +
                  R"({"phase":"model-check","started":"2024-05-01T14:00:01.000Z","ended":"2024-05-01T14:00:02.000Z","outcome":"ok"},)" +
                  R"({"phase":"isp-tool-run","run":1,"started":"2024-05-01T14:00:03.000Z","ended":"2024-05-01T14:00:04.000Z","outcome":"time-up"},)" +
                  R"({"phase":"isp-tool-run","run":2,"started":"2024-05-01T14:00:05.000Z","ended":"2024-05-01T14:00:06.000Z","outcome":"ok"}],)" +
                  R"("isp_runs":[{"run":1,"timed_out":true,"exit_code":null,"log_line":null},)" +
                  R"({"run":2,"timed_out":false,"exit_code":0,"log_line":"Command: 0503 0000 fafd"}],)" +
                  R"("outcome":"succeeded","reason":"none","message":")" + texts::DownloadComplete + R"("})");
    const auto ids = r.ids();
    ASSERT_EQ(ids.size(), 2u);
    EXPECT_EQ(ids[0], ids[1]) << "the two lines of one operation share its id";
    EXPECT_TRUE(r.warnings.empty());
}

// A test names no package; a package check is not recorded at all; a
// file cut short by a crash keeps every byte it had, and the next lines
// stand whole after it.
TEST(ServiceRecord, EndsAreRecordedAfterADamagedFileWithoutRewritingIt)
{
    RecordRig r;
    const std::string damaged = "not json\n{\"record\":1,\"id\":\"0123456789abcdef\",\"sta";
    writeFile(r.setup.path, damaged);
    r.tell({OperationStarted{Operation::Check, 0}, OperationEnded{Operation::Check, Reason::PackageNotValid},
            OperationStarted{Operation::Test, 1}, PhaseStarted{Phase::LinkTest},
            PhaseEnded{Phase::LinkTest, PhaseOutcome::NoAnswer}, OperationEnded{Operation::Test, Reason::NoAnswer}});
    const std::string file = readFile(r.setup.path);
    ASSERT_EQ(file.substr(0, damaged.size() + 1), damaged + "\n");
    const auto lines = r.lines();
    ASSERT_EQ(lines.size(), 4u);
    for (const std::size_t i : {2u, 3u}) EXPECT_TRUE(parseJson(lines[i])) << lines[i];
    EXPECT_NE(lines[2].find(R"("operation":"test")"), std::string::npos);
    EXPECT_NE(lines[3].find(R"("list_file":null,"images":[],"model_reply":null,"model":null,"model_number":null,)"
                            R"("phases":[{"phase":"link-test")"),
              std::string::npos);
    EXPECT_NE(lines[3].find(R"("outcome":"failed","reason":"no-answer","message":null})"), std::string::npos);
}

TEST(ServiceRecord, AFolderThatCannotBeWrittenIsOneWarningPerOperation)
{
    RecordRig r;
    RecordRig unwritable(r.folder.file("missing folder") + "/upgrades.jsonl");
    for (int i = 0; i < 2; ++i)
        unwritable.tell({OperationStarted{Operation::Upgrade, 1}, OperationEnded{Operation::Upgrade, Reason::None}});
    ASSERT_EQ(unwritable.warnings.size(), 2u);
    EXPECT_EQ(unwritable.warnings[0].rfind("cannot write the service record " + unwritable.setup.path + ": ", 0), 0u);
}

// The record as written above, with a line someone broke and a last line
// cut by a crash: newest first, the unfinished one shown as such, each
// damaged line read past with a warning naming where it is.
TEST(History, NewestFirstPastDamagedLines)
{
    RecordRig r;
    const std::string list = r.folder.file("QT2416.txt");
    r.tell({PackageChecked{list, true, {}, {}}, OperationStarted{Operation::Upgrade, 3}, PhaseStarted{Phase::ModelCheck},
            ModelReplied{"op model.name ?\r\r\nQT2416\r\n", "QT2416", "2416"}, PhaseEnded{Phase::ModelCheck, PhaseOutcome::Ok},
            OperationEnded{Operation::Upgrade, Reason::None}});
    const std::size_t garbageAt = readFile(r.setup.path).size();
    writeFile(r.setup.path, readFile(r.setup.path) + "garbage\r\n\n");
    r.tell({OperationStarted{Operation::Test, 1}, OperationEnded{Operation::Test, Reason::NoAnswer},
            OperationStarted{Operation::Upgrade, 2}});
    const std::size_t cutAt = readFile(r.setup.path).size();
    writeFile(r.setup.path, readFile(r.setup.path) + R"({"record":1,"id":"ab)");
    const std::string before = readFile(r.setup.path);

    const History all = readHistory(r.setup.path, 10);
    std::vector<std::string> shown;
    for (const HistoryEntry& e : all.entries) shown.push_back(historyLine(e.entry));
    EXPECT_EQ(shown, (std::vector<std::string>{
                         "2024-05-01T14:00:06Z  upgrade  COM2 /dev/ttyUSB2  QT2416  QT2416.txt  unfinished  -",
                         "2024-05-01T14:00:04Z  test  COM1 /dev/ttyUSB1  QT2416  -  failed (no-answer)  0:01",
                         "2024-05-01T14:00:00Z  upgrade  COM3 /dev/ttyUSB3  QT2416  QT2416.txt  succeeded  0:03"}));
    const auto warning = [&](std::size_t at) {
        return r.setup.path + ": the line at byte " + std::to_string(at) + " is not a record entry; read past it";
    };
    EXPECT_EQ(all.warnings, (std::vector<std::string>{warning(cutAt), warning(garbageAt)}));
    EXPECT_EQ(readFile(r.setup.path), before);

    // Each entry as stored: the end line of an ended operation.
    const History two = readHistory(r.setup.path, 2);
    ASSERT_EQ(two.entries.size(), 2u);
    EXPECT_EQ(two.entries[1].line.find(R"("state":"ended","operation":"test")"), 36u);
    EXPECT_FALSE(readHistory(r.folder.file("none.jsonl"), 5).found);
}

// A line far longer than any entry (a file that is no record, a crash
// that wrote garbage) is read past with its warning, whichever pieces it
// spans; the entries on both sides of it are read.
TEST(History, ALineLongerThanAnyEntryIsReadPast)
{
    RecordRig r;
    r.tell({OperationStarted{Operation::Test, 1}, OperationEnded{Operation::Test, Reason::NoAnswer}});
    const std::size_t hugeAt = readFile(r.setup.path).size();
    for (const std::size_t length : {std::size_t{3} << 20, (std::size_t{1} << 20) + 1}) {
        SCOPED_TRACE(length);
        writeFile(r.setup.path, readFile(r.setup.path).substr(0, hugeAt) + std::string(length, ' ') + "\n");
        r.tell({OperationStarted{Operation::Upgrade, 2}, OperationEnded{Operation::Upgrade, Reason::Declined}});
        const History history = readHistory(r.setup.path, 10);
        ASSERT_EQ(history.entries.size(), 2u);
        EXPECT_NE(history.entries[0].line.find(R"("operation":"upgrade")"), std::string::npos);
        EXPECT_NE(history.entries[1].line.find(R"("operation":"test")"), std::string::npos);
        EXPECT_EQ(history.warnings, (std::vector<std::string>{r.setup.path + ": the line at byte " +
                                                             std::to_string(hugeAt) +
                                                             " is not a record entry; read past it"}));
    }
    writeFile(r.setup.path, std::string(std::size_t{1} << 20, '{'));  // the line the file begins with
    EXPECT_EQ(readHistory(r.setup.path, 10).warnings.size(), 1u);
}

// A record edited by hand or damaged may hold any number where the port's
// was: no port is made of it.
TEST(History, APortNumberNoProgramWritesNamesNoPort)
{
    for (const char* number : {"1e300", "-1e300", "-3", "0", "256", "2.5", "\"3\"", "null", "18446744073709551615"}) {
        SCOPED_TRACE(number);
        EXPECT_EQ(historyLine(*parseJson(std::string(R"({"id":"a","state":"started","port":{"number":)") + number +
                                         R"(,"device":"/dev/ttyS0"}})")),
                  "-  ?  - /dev/ttyS0  -  -  unfinished  -");
    }
    EXPECT_EQ(historyLine(*parseJson(R"({"port":{"number":255}})")), "-  ?  COM255  -  -  unfinished  -");
}

// The model as the technician knows it, never a prompt or an echo: as the
// entry names it, and, in an entry written before it did, as found in the
// reply ("model.name = QT-2416" CR LF ">" lists QT-2416, not ">").
TEST(History, TheModelIsTheNameNotThePrompt)
{
    const struct {
        const char* fields;
        const char* model;
    } cases[] = {
        {R"("model_reply":"op model.name ?\r\r\nmodel.name = QT-2416\r\n>")", "QT-2416"},
        {R"("model_reply":"op model.name ?\r\r\nQT2436\r\n")", "QT2436"},
        {R"("model_reply":"op model.name ?\r\r\n>")", "-"},
        {R"("model_reply":null)", "-"},
        {R"("model_reply":"op model.name ?\r\r\nQT2416\r\n>","model":"QT-1952","model_number":"1952")", "QT-1952"},
    };
    for (const auto& c : cases) {
        const auto entry = parseJson(std::string(R"({"id":"a","state":"started",)") + c.fields + "}");
        ASSERT_TRUE(entry) << c.fields;
        EXPECT_EQ(historyLine(*entry), std::string("-  ?  -  ") + c.model + "  -  unfinished  -") << c.fields;
    }
}

// The record keeps the reply as received and adds the model found in it
// and the model number that matched the package.
TEST(ServiceRecord, TheModelIsRecordedBesideTheReply)
{
    RecordRig r;
    r.tell({ModelReplied{"op model.name ?\r\r\nmodel.name = QT-2416\r\n>", "QT-2416", "2416"},
            OperationStarted{Operation::Test, 1}, OperationEnded{Operation::Test, Reason::None},
            ModelReplied{"op model.name ?\r\r\n>", "", ""}, OperationStarted{Operation::Test, 1}});
    const auto lines = r.lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[1].find(R"("model_reply":"op model.name ?\r\r\nmodel.name = QT-2416\r\n>",)"
                            R"("model":"QT-2416","model_number":"2416","phases")"),
              std::string::npos)
        << lines[1];
    EXPECT_NE(lines[2].find(R"("model_reply":"op model.name ?\r\r\n>","model":null,"model_number":null,)"),
              std::string::npos)
        << lines[2];
}

// A venue's projector is recorded with its label and the venue's name, and
// fwupgrade history shows them beside its port.
TEST(ServiceRecord, AVenuesProjectorIsRecordedAndShownByItsLabelAndVenue)
{
    RecordRig r;
    r.setup.label = "Left stack";
    r.setup.venue = "Hall A";
    r.record = std::make_unique<ServiceRecord>(r.setup);
    r.tell({OperationStarted{Operation::Test, 11}, OperationEnded{Operation::Test, Reason::None}});
    const auto lines = r.lines();
    ASSERT_EQ(lines.size(), 2u);
    for (const std::string& line : lines)
        EXPECT_NE(line.find(R"("serial_number":"A5XK3RJT"},"label":"Left stack","venue":"Hall A","list_file")"),
                  std::string::npos)
            << line;
    const auto entry = recordEntryOf(*parseJson(lines[1]));
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->label, "Left stack");
    EXPECT_EQ(entry->venue, "Hall A");
    const std::pair<const char*, const char*> shown[] = {
        {R"("label":"Left stack","venue":"Hall A")", "COM11 [Left stack, Hall A]"},
        {R"("label":"Left stack")", "COM11 [Left stack]"},
        {R"("device":"")", "COM11"},
    };
    for (const auto& [fields, port] : shown)
        EXPECT_EQ(historyLine(*parseJson(std::string(R"({"port":{"number":11},)") + fields + "}")),
                  std::string("-  ?  ") + port + "  -  -  unfinished  -")
            << fields;
}

// Copies of the program appending to one record at once: whichever looks at
// the file's end while another's long line is half written must not take it
// for a line cut by a crash, or the file gets empty lines between whole ones.
TEST(ServiceRecord, AppendersAtOnceLeaveOnlyWholeLines)
{
    sim::TempFolder folder;
    const std::string path = folder.file("upgrades.jsonl");
    constexpr int kWriters = 4;
    constexpr int kLinesEach = 60;
    std::vector<std::thread> writers;
    for (int w = 0; w < kWriters; ++w)
        writers.emplace_back([&, w] {
            const std::string line = "{" + std::string(std::size_t{64} * 1024 + w, 'a' + w) + "}";
            for (int i = 0; i < kLinesEach; ++i) EXPECT_EQ(appendLineDurably(path, line), std::nullopt);
        });
    for (std::thread& t : writers) t.join();
    std::istringstream in(readFile(path));
    int lines = 0;
    for (std::string line; std::getline(in, line); ++lines) {
        ASSERT_GE(line.size(), 2u) << "line " << lines;
        EXPECT_EQ(line.find_first_not_of(line[1], 1), line.size() - 1) << "line " << lines << " mixed";
    }
    EXPECT_EQ(lines, kWriters * kLinesEach);
}
