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

} // namespace

// The lines' bytes are pinned in WrittenBytes; here when each is written:
// the start before any step goes out (with the reply the model check got
// before the operation began, and no phase from outside it), the whole
// account at the end, both under the operation's one id.
TEST(ServiceRecord, AnUpgradeLeavesItsStartAtOnceAndTheWholeAccountAtItsEnd)
{
    RecordRig r;
    r.tell({ModelReplied{"from an earlier projector", "", ""}, PhaseStarted{Phase::LinkTest},  // outside any operation
            OperationStarted{Operation::Upgrade, 3}});
    ASSERT_EQ(r.lines().size(), 1u);
    EXPECT_NE(r.lines()[0].find(R"("state":"started","operation":"upgrade",)"), std::string::npos) << r.lines()[0];
    EXPECT_NE(r.lines()[0].find(R"("model_reply":"from an earlier projector","model":null,"model_number":null,)"
                                R"("phases":[],"isp_runs":[]})"),
              std::string::npos)
        << r.lines()[0];

    r.tell({PhaseStarted{Phase::ModelCheck}, PhaseEnded{Phase::ModelCheck, PhaseOutcome::Ok},
            MessageShown{MessageKind::Information, texts::DownloadComplete, {}},
            OperationEnded{Operation::Upgrade, Reason::None}});
    const auto lines = r.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[1].find(R"("state":"ended","operation":"upgrade","started":"2024-05-01T14:00:00.000Z",)"
                            R"("ended":"2024-05-01T14:00:03.000Z","duration_ms":3000,)"),
              std::string::npos)
        << lines[1];
    EXPECT_NE(lines[1].find(R"("outcome":"succeeded","reason":"none","message":")" + std::string(texts::DownloadComplete)),
              std::string::npos);
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

// What the history shows of an entry: no port made of a number no program
// writes; the model as the technician knows it, never a prompt or an echo
// (as the entry names it, or in an entry written before it did, as found in
// the reply); a venue's projector by its label and venue beside its port.
TEST(History, EachLineShowsWhatTheEntryHolds)
{
    const auto shown = [](const std::string& fields) {
        return historyLine(*parseJson(R"({"id":"a","state":"started",)" + fields + "}"));
    };
    for (const char* number : {"1e300", "-1e300", "-3", "0", "256", "2.5", "\"3\"", "null", "18446744073709551615"})
        EXPECT_EQ(shown(std::string(R"("port":{"number":)") + number + R"(,"device":"/dev/ttyS0"})"),
                  "-  ?  - /dev/ttyS0  -  -  unfinished  -")
            << number;
    const std::pair<const char*, const char*> cases[] = {
        {R"("port":{"number":255})", "-  ?  COM255  -  -  unfinished  -"},
        {R"("model_reply":"op model.name ?\r\r\nmodel.name = QT-2416\r\n>")", "-  ?  -  QT-2416  -  unfinished  -"},
        {R"("model_reply":"op model.name ?\r\r\nQT2436\r\n")", "-  ?  -  QT2436  -  unfinished  -"},
        {R"("model_reply":"op model.name ?\r\r\n>")", "-  ?  -  -  -  unfinished  -"},
        {R"("model_reply":null)", "-  ?  -  -  -  unfinished  -"},
        {R"("model_reply":"op model.name ?\r\r\nQT2416\r\n>","model":"QT-1952","model_number":"1952")",
         "-  ?  -  QT-1952  -  unfinished  -"},
        {R"("port":{"number":11},"label":"Left stack","venue":"Hall A")", "-  ?  COM11 [Left stack, Hall A]  -  -  unfinished  -"},
        {R"("port":{"number":11},"label":"Left stack")", "-  ?  COM11 [Left stack]  -  -  unfinished  -"},
        {R"("port":{"number":11,"device":""})", "-  ?  COM11  -  -  unfinished  -"},
    };
    for (const auto& [fields, line] : cases) EXPECT_EQ(shown(fields), line) << fields;
}

// A venue's projector is recorded with its label and the venue's name.
TEST(ServiceRecord, AVenuesProjectorIsRecordedByItsLabelAndVenue)
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
