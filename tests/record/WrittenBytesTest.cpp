#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

#include "PackageMaker.h"
#include "TempFolder.h"
#include "ground/Texts.h"
#include "record/EventJson.h"
#include "record/ServiceRecord.h"

// The record's lines and the events' --json lines, held byte for byte
// against the lines kept in tests/record/written/: old records, scripts
// reading --json and the history all rely on these bytes. After a change
// meant to alter them, FWUP_WRITE_EXPECTED=1 writes the files anew (and the
// diff shows what changed).

using namespace fw;
using fw::testing::readFile;
using fw::testing::writeFile;

namespace {

// Line noise as a projector may send it: every kind of broken UTF-8 among
// valid sequences of each length.
const std::string kLineNoise = "ok \xC3\xA4 \xE6\x97\xA5 \xF0\x9F\x98\x80|lone \xFF|stray \x80|cut \xC3x|cut \xE2\x82x|"
                               "overlong \xC0\xAF|surrogate \xED\xA0\x80|past U+10FFFF \xF4\x90\x80\x80|\xF5|end \xE2\x82";

// Every byte that JSON escapes, and the few it does not need to.
std::string controls()
{
    std::string text;
    for (int c = 0; c < 0x20; ++c) text += static_cast<char>(c);
    return text + "\x7F \" \\ / '";
}

void holdAgainstExpected(const std::string& name, const std::string& written)
{
    const std::string path = std::string(FWUP_WRITTEN_DIR) + "/" + name;
    if (std::getenv("FWUP_WRITE_EXPECTED")) writeFile(path, written);
    EXPECT_EQ(written, readFile(path)) << "the bytes written differ from " << path;
}

// The text between the quotes a JSON string of the text would have.
std::string escaped(const std::string& text)
{
    std::string out;
    for (const char c : text) out += c == '\\' || c == '"' ? std::string{'\\', c} : std::string{c};
    return out;
}

void replaceAll(std::string& text, const std::string& what, const std::string& with)
{
    for (std::size_t at = text.find(what); !what.empty() && at != std::string::npos; at = text.find(what, at))
        text.replace(at, what.size(), with), at += with.size();
}

} // namespace

// Whole operations as the record writes them: an upgrade with both images,
// a failed one with line noise, a test; only what differs from run to run
// (the ids, where the temporary files are, the version) is put in words.
TEST(WrittenBytes, TheServiceRecordsLines)
{
    sim::TempFolder folder;
    RecordSetup setup;
    setup.path = folder.file("upgrades.jsonl");
    setup.program = "fwupgrade";
    setup.host = "bench-pc";
    setup.user = "tech \xFF";
    setup.portFacts = [](int n) {
        return n == 3 ? PortFacts{"/dev/ttyUSB3", "0403:6001", "A5XK3RJT"} : PortFacts{"/dev/ttyS0", "", ""};
    };
    int ticks = 0;
    setup.now = [&ticks] { return WallClock::time_point{} + std::chrono::milliseconds(1714572000250 + 1500 * ticks++); };
    ServiceRecord record(setup);
    const auto tell = [&](std::initializer_list<Event> events) {
        for (const Event& e : events) record.tell(e);
    };

    const std::string list = folder.file("QT2416.txt"), up = folder.file("QT2416_uP.bin"),
                      scaler = folder.file("QT2416_scaler.bin"), gone = folder.file("gone.bin");
    writeFile(up, "abc");
    writeFile(scaler, std::string(1000, '\xA5'));
    tell({PackageChecked{list, true, ImageFile{"QT2416_uP.bin", up, 3}, ImageFile{"QT2416_scaler.bin", scaler, 1000}},
          OperationStarted{Operation::Upgrade, 3}, PhaseStarted{Phase::LinkTest},
          PhaseEnded{Phase::LinkTest, PhaseOutcome::Ok}, PhaseStarted{Phase::ModelCheck},
          ModelReplied{"op model.name ?\r\r\nQT2416\r\n", "QT2416", "2416"}, PhaseEnded{Phase::ModelCheck, PhaseOutcome::Ok},
          MessageShown{MessageKind::Question, "Go?", true}, PhaseStarted{Phase::ImageTransfer},
          ImageProgress{1024, 3}, PhaseEnded{Phase::ImageTransfer, PhaseOutcome::Ok},
          PhaseStarted{Phase::IspToolRun, 1}, IspToolStarted{1, 1200}, IspToolEnded{1, true, {}, {}},
          PhaseEnded{Phase::IspToolRun, PhaseOutcome::TimeUp, 1}, PhaseStarted{Phase::IspToolRun, 2},
          IspToolEnded{2, false, 0, "Command: 0503 0000 fafd"}, PhaseEnded{Phase::IspToolRun, PhaseOutcome::Ok, 2},
          MessageShown{MessageKind::Status, "Downloading file 2 of 2", {}},
          MessageShown{MessageKind::Information, texts::DownloadComplete, {}},
          OperationEnded{Operation::Upgrade, Reason::None}});
    tell({PackageChecked{list, true, ImageFile{"QT2416_uP.bin", up, 3}, ImageFile{"gone.bin", gone, 2500000}},
          OperationStarted{Operation::Upgrade, 1}, PhaseStarted{Phase::ModelCheck}, ModelReplied{kLineNoise, "", ""},
          PhaseEnded{Phase::ModelCheck, PhaseOutcome::Ok}, PhaseStarted{Phase::IspToolRun, 1},
          IspToolEnded{1, false, -1073741819, "Error: " + controls()}, PhaseStarted{Phase::Restart},
          MessageShown{MessageKind::Error, "ERROR: uP software download failed!\r\n" + kLineNoise, {}},
          OperationEnded{Operation::Upgrade, Reason::IspToolFailed}});
    tell({OperationStarted{Operation::Test, 1}, ModelReplied{controls(), "", ""}, PhaseStarted{Phase::LinkTest},
          PhaseEnded{Phase::LinkTest, PhaseOutcome::NoAnswer}, OperationEnded{Operation::Test, Reason::NoAnswer}});

    std::string lines = std::regex_replace(readFile(setup.path), std::regex(R"("id":"[0-9a-f]{16}")"), R"("id":"ID")");
    for (const auto& [path, words] : {std::pair{list, "<list file>"}, {up, "<uP image>"}, {scaler, "<scaler image>"},
                                      {gone, "<gone image>"}})
        replaceAll(lines, escaped(path), words);
    replaceAll(lines, R"("version":")" + std::string(texts::ProgramVersion) + '"', R"("version":"<version>")");
    holdAgainstExpected("record.jsonl", lines);
}

// Each kind of event as `fwupgrade --json` writes it, with and without its
// optional fields.
TEST(WrittenBytes, EveryEventsJsonLine)
{
    const ImageFile up{"QT2416_uP.bin", "C:\\Firmware\\QT2416_uP.bin", 262144};
    const ImageFile scaler{"scaler \"new\".bin", "/media/usb/scaler \"new\".bin", 4194304};
    const std::pair<Event, int> events[] = {
        {OperationStarted{Operation::Upgrade, 3}, 3},
        {OperationStarted{Operation::Check, 0}, 0},
        {PackageChecked{"C:\\Firmware\\QT2416.txt", true, up, scaler}, 0},
        {PackageChecked{"/media/usb/list \xFF.txt", false, up, {}}, 0},
        {PackageChecked{"", false, {}, {}}, 0},
        {PhaseStarted{Phase::LinkTest}, 3},
        {PhaseEnded{Phase::LinkTest, PhaseOutcome::Ok}, 3},
        {PhaseStarted{Phase::IspToolRun, 2}, 3},
        {PhaseEnded{Phase::IspToolRun, PhaseOutcome::TimeUp, 1}, 3},
        {PhaseEnded{Phase::Verdict, PhaseOutcome::WrongAnswer}, 12},
        {ModelReplied{"op model.name ?\r\r\nQT2416\r\n", "QT2416", "2416"}, 3},
        {ModelReplied{kLineNoise, "", ""}, 3},
        {ModelReplied{controls(), "", ""}, 3},
        {ImageProgress{1024, 262144}, 3},
        {ImageProgress{UINT64_MAX, UINT64_MAX}, 3},
        {IspToolStarted{1, 1200}, 3},
        {IspToolElapsed{2, 59}, 3},
        {IspToolElapsed{1, INT32_MIN}, 3},
        {IspToolEnded{1, true, {}, {}}, 3},
        {IspToolEnded{2, false, 0, "Command: 0503 0000 fafd"}, 3},
        {IspToolEnded{2, false, -1073741819, "log \xE2\x82"}, 3},
        {MessageShown{MessageKind::Question, "Go?", true}, 3},
        {MessageShown{MessageKind::Question, "Go?", false}, 3},
        {MessageShown{MessageKind::Question, "Go?", {}}, 3},
        {MessageShown{MessageKind::Status, "Downloading file 1 of 2", {}}, 3},
        {MessageShown{MessageKind::Information, texts::DownloadComplete, {}}, 3},
        {MessageShown{MessageKind::Error, "ERROR: " + controls(), {}}, 3},
        {OperationEnded{Operation::Upgrade, Reason::None}, 3},
        {OperationEnded{Operation::Upgrade, Reason::Declined}, 3},
        {OperationEnded{Operation::Test, Reason::NoAnswer}, 1},
    };
    std::string lines;
    for (const auto& [event, port] : events) lines += eventJson(event, {"2024-05-01T14:00:00.250Z", port}) + '\n';
    holdAgainstExpected("events.jsonl", lines);
}
