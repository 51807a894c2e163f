// The service record's reader on any bytes. The input as one JSON line:
// what reads back writes as a line that reads back the same, and any
// object makes a history line. The input as a record file (with a line of
// about 1 MiB when its first byte says so): the history read from
// the end is the one a plain reading of every line from the last gives,
// damaged and cut lines read past with one warning each; the history
// window's reader takes only entries of that reading, each found again
// where it says it is.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "ground/Json.h"
#include "record/BackwardLines.h"
#include "record/History.h"
#include "record/HistoryReader.h"

namespace {

void require(bool condition)
{
    if (!condition) std::abort();
}

const std::string& recordPath()
{
    // In memory where the system has it: a file is written for every input.
    static const std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    static const std::string path = folder + "/fuzz_record." + std::to_string(getpid()) + ".jsonl";
    return path;
}

// A first byte of 0xF0 or more asks for one line of about 1 MiB, shorter
// or longer than the longest kept (the rest repeated without its line
// ends), between two copies of the rest: a line across the reader's pieces
// among others.
std::string fileText(const uint8_t* data, std::size_t size)
{
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] < 0xF0 || rest.empty()) return rest;
    std::string piece = rest;
    std::erase(piece, '\n');
    if (piece.empty()) return rest;
    const std::size_t wanted = fw::BackwardLines::kLongestLine - 64 * 1024 + (data[0] & 0x0Fu) * 16 * 1024;
    std::string line;
    line.reserve(wanted + piece.size());
    while (line.size() < wanted) line += piece;
    return rest + "\n" + line + "\n" + rest;
}

bool isEntry(const std::optional<fw::Json>& value)
{
    return value && !fw::textOf(*value, "id").empty() && !fw::textOf(*value, "state").empty();
}

// Every line from the last, split at LF, a CR before it dropped; blank
// lines skipped; the first line of each id taken.
std::vector<std::string> plainHistory(const std::string& text, std::size_t& damaged)
{
    std::vector<std::string> lines;
    std::size_t begin = 0;
    while (true) {
        const std::size_t end = text.find('\n', begin);
        lines.push_back(text.substr(begin, end == std::string::npos ? std::string::npos : end - begin));
        if (end == std::string::npos) break;
        begin = end + 1;
    }
    if (!text.empty() && text.back() == '\n') lines.pop_back();  // the last line end opens no line
    std::vector<std::string> entries;
    std::set<std::string> seen;
    damaged = 0;
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        const bool tooLong = line->size() > fw::BackwardLines::kLongestLine;
        if (!line->empty() && line->back() == '\r') line->pop_back();
        if (!tooLong && line->find_first_not_of(" \t") == std::string::npos) continue;
        const auto value = tooLong ? std::nullopt : fw::parseJson(*line);
        if (!isEntry(value)) {
            ++damaged;
            continue;
        }
        if (seen.insert(fw::textOf(*value, "id")).second) entries.push_back(*line);
    }
    return entries;
}

void readAsOneLine(std::string_view text)
{
    const auto value = fw::parseJson(text);
    if (!value) return;
    const auto again = fw::parseJson(fw::jsonLine(*value));
    require(again && *again == *value);
    if (value->is_object()) (void)fw::historyLine(*value);
    if (const auto entry = fw::recordEntryOf(*value)) (void)entry->modelName();
}

// The history window's reader, some entries at a time: only entries of the
// plain reading, newest first, each once, each found again at its offset.
void readInBatches(const std::vector<std::string>& plain, std::size_t count)
{
    fw::HistoryReader reader(recordPath());
    std::set<std::string> ids;
    std::size_t next = 0;  // in the plain reading
    for (bool done = false; !done;) {
        const fw::HistoryReader::Batch batch = reader.next(count);
        require(batch.entries.size() <= count && batch.lines.size() == batch.entries.size() &&
                batch.offsets.size() == batch.entries.size());
        for (std::size_t i = 0; i < batch.entries.size(); ++i) {
            while (next < plain.size() && plain[next] != batch.lines[i]) ++next;
            require(next++ < plain.size());
            require(ids.insert(batch.entries[i].id).second);
            const auto again = fw::entryAt(recordPath(), batch.offsets[i]);
            require(again && again->id == batch.entries[i].id);
            (void)batch.entries[i].modelName();
        }
        done = batch.done;
    }
}

void readAsRecord(const std::string& text)
{
    {
        std::ofstream file(recordPath(), std::ios::binary | std::ios::trunc);
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    const fw::History history = fw::readHistory(recordPath(), SIZE_MAX);
    require(history.found);
    std::size_t damaged = 0;
    const std::vector<std::string> plain = plainHistory(text, damaged);
    require(history.entries.size() == plain.size());
    for (std::size_t i = 0; i < plain.size(); ++i) {
        require(history.entries[i].line == plain[i]);
        (void)fw::historyLine(history.entries[i].entry);
    }
    require(history.warnings.size() == damaged);
    readInBatches(plain, text.size() % 7 + 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    readAsOneLine(std::string_view(reinterpret_cast<const char*>(data), size));
    readAsRecord(fileText(data, size));
    return 0;
}
