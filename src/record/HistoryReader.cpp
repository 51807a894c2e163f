#include "record/HistoryReader.h"

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
        if (line->find_first_not_of(" \t") == std::string::npos) continue;
        const std::optional<JsonValue> value = parseJson(*line);
        std::optional<RecordEntry> entry = value ? recordEntryOf(*value) : std::nullopt;
        if (!entry) {
            batch.warnings.push_back(path_ + ": the line at byte " + std::to_string(lines_.offset()) +
                                     " is not a record entry; read past it");
            continue;
        }
        if (!seen_.insert(entry->id).second) continue;
        batch.entries.push_back(std::move(*entry));
        batch.lines.push_back(std::move(*line));
    }
    return batch;
}

} // namespace fw
