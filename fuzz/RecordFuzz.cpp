// The service record's reader on any bytes. The input as one JSON line:
// what reads back writes as a line that reads back the same, and any
// object makes a history line. The input as a record file (repeated into
// lines of megabytes when its first byte says so): the history read from
// the end is the one a plain reading of every line from the last gives,
// damaged and cut lines read past with one warning each.
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

namespace {

void require(bool condition)
{
    if (!condition) std::abort();
}

const std::string& recordPath()
{
    static const std::string path = "/tmp/fuzz_record." + std::to_string(getpid()) + ".jsonl";
    return path;
}

// The first byte's high bit asks for the rest repeated into a file of up
// to 4 MiB: lines across the reader's pieces and longer than any entry.
std::string fileText(const uint8_t* data, std::size_t size)
{
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    if ((data[0] & 0x80) == 0 || rest.empty()) return rest;
    const std::size_t wanted = (std::size_t{data[0]} & 0x3F) * 64 * 1024 + 1;
    std::string text;
    while (text.size() < wanted) text += rest;
    return text;
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
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    readAsOneLine(std::string_view(reinterpret_cast<const char*>(data), size));
    readAsRecord(fileText(data, size));
    return 0;
}
