#include "record/HistoryReader.h"

#include <fstream>

#include "ground/FilePath.h"

namespace fw {

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
