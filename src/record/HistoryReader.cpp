#include "record/HistoryReader.h"

#include <fstream>

#include "ground/FilePath.h"

namespace fw {

namespace {

constexpr std::string_view kIdField = "\"id\":\"";
constexpr std::size_t kIdWithin = 64;  // the record writes the id second, after "record"

// The id a line names near its start, as the record writes it, without
// parsing the line; empty when it names none there.
std::string_view idNearStart(std::string_view line)
{
    const auto at = line.substr(0, kIdWithin).find(kIdField);
    if (at == std::string_view::npos) return {};
    const auto start = at + kIdField.size();
    const auto end = line.find('"', start);
    return end == std::string_view::npos ? std::string_view() : line.substr(start, end - start);
}

} // namespace

HistoryReader::HistoryReader(const std::string& path) : path_(path), lines_(path) {}

HistoryReader::Batch HistoryReader::next(std::size_t count)
{
    Batch batch;
    while (batch.entries.size() < count) {
        std::optional<std::string> line = lines_.previous();
        if (!line) {
            batch.done = true;
            break;
        }
        if (!lines_.cut() && line->find_first_not_of(" \t") == std::string::npos) continue;
        // The start line of an operation whose end was read already: nothing
        // to take from it, and half of a long record's lines need no parsing.
        if (const std::string_view id = idNearStart(*line); !id.empty() && seen_.count(std::string(id))) continue;
        const std::optional<Json> value = lines_.cut() ? std::nullopt : parseJson(*line);
        std::optional<RecordEntry> entry = value ? recordEntryOf(*value) : std::nullopt;
        if (!entry) {
            batch.warnings.push_back(path_ + ": the line at byte " + std::to_string(lines_.offset()) +
                                     " is not a record entry; read past it");
            continue;
        }
        if (!seen_.insert(entry->id).second) continue;
        batch.entries.push_back(std::move(*entry));
        batch.lines.push_back(std::move(*line));
        batch.offsets.push_back(lines_.offset());
    }
    return batch;
}

std::optional<RecordEntry> entryAt(const std::string& path, uint64_t offset)
{
    std::ifstream in(filePath(path), std::ios::binary);
    if (!in.seekg(static_cast<std::streamoff>(offset))) return std::nullopt;
    std::string line;
    if (!std::getline(in, line) || line.size() > BackwardLines::kLongestLine) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::optional<Json> value = parseJson(line);
    return value ? recordEntryOf(*value) : std::nullopt;
}

} // namespace fw
