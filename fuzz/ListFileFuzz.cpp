// Feeds arbitrary bytes to the list-file reader: whole, and again in pieces
// whose size the input picks, and compares both with a plain line-by-line
// reading of the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "package/ListFileReader.h"

namespace {

void require(bool condition)
{
    if (!condition) std::abort();
}

std::string_view stripSpaces(std::string_view line)
{
    while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
    return line;
}

// The straightforward reading, keeping everything: split at CR LF or a lone
// CR, strip, match the four tags in order, the last occurrence wins.
fw::ListFileEntries plainReading(std::string_view text)
{
    fw::ListFileEntries entries;
    const auto takeLine = [&](std::string_view line) {
        line = stripSpaces(line);
        const std::pair<std::string_view, fw::TagValue*> tags[] = {{"[uP]", &entries.up},
                                                                   {"[SCALER]", &entries.scaler},
                                                                   {"[CHECKSUM1]", &entries.checksum1},
                                                                   {"[CHECKSUM2]", &entries.checksum2}};
        for (const auto& [tag, entry] : tags) {
            if (line.starts_with(tag)) {
                *entry = {true, std::string(line.substr(tag.size())), false};
                return;
            }
        }
    };
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t cr = text.find('\r', begin);
        if (cr == std::string_view::npos) {
            takeLine(text.substr(begin));
            break;
        }
        takeLine(text.substr(begin, cr - begin));
        begin = cr + 1;
        if (begin < text.size() && text[begin] == '\n') ++begin;
    }
    return entries;
}

void requireSame(const fw::TagValue& a, const fw::TagValue& b)
{
    require(a.seen == b.seen && a.value == b.value && a.overlong == b.overlong);
}

void requireSame(const fw::ListFileEntries& a, const fw::ListFileEntries& b)
{
    requireSame(a.up, b.up);
    requireSame(a.scaler, b.scaler);
    requireSame(a.checksum1, b.checksum1);
    requireSame(a.checksum2, b.checksum2);
}

void requireBounded(const fw::TagValue& entry)
{
    require(entry.value.size() <= fw::ListFileReader::kMaxKeptValueLength);
    require(entry.value.find('\r') == std::string::npos);
    require(entry.value.empty() || entry.value.back() != ' ' || entry.overlong);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const std::size_t piece = 1 + data[0] % 64;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

    const fw::ListFileEntries whole = fw::parseListFile(text);
    fw::ListFileReader reader;
    for (std::size_t at = 0; at < text.size(); at += piece) reader.feed(text.substr(at, piece));
    requireSame(reader.finish(), whole);

    for (const fw::TagValue* entry : {&whole.up, &whole.scaler, &whole.checksum1, &whole.checksum2})
        requireBounded(*entry);
    if (text.size() <= fw::ListFileReader::kMaxKeptValueLength) requireSame(whole, plainReading(text));
    return 0;
}
