#include "ProfileDifferences.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string_view>
#include <vector>

namespace fw::testing {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// The most a read gives: a 1024-byte buffer less its terminating zero.
constexpr std::size_t kLongestValue = 1023;

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

bool sameName(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return std::tolower(static_cast<unsigned char>(x)) ==
                                                  std::tolower(static_cast<unsigned char>(y)); });
}

std::vector<std::string_view> linesOf(std::string_view content)
{
    if (content.starts_with(kUtf8Bom)) content.remove_prefix(kUtf8Bom.size());
    std::vector<std::string_view> lines;
    while (!content.empty()) {
        const auto lf = content.find('\n');
        lines.push_back(trimmed(content.substr(0, lf)));
        content = lf == std::string_view::npos ? std::string_view{} : content.substr(lf + 1);
    }
    return lines;
}

// The name of a "[name]" line, or nothing.
std::optional<std::string_view> sectionName(std::string_view line)
{
    if (!line.starts_with('[')) return std::nullopt;
    const auto close = line.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return trimmed(line.substr(1, close - 1));
}

bool hasDuplicateSection(std::string_view content, std::string_view section)
{
    int seen = 0;
    for (const auto line : linesOf(content))
        if (const auto name = sectionName(line); name && sameName(*name, section)) ++seen;
    return seen > 1;
}

// A line in the section that holds the key's name and no "=".
bool hasKeyWithoutEquals(std::string_view content, std::string_view section, std::string_view key)
{
    bool inSection = false;
    for (const auto line : linesOf(content)) {
        if (const auto name = sectionName(line)) inSection = sameName(*name, section);
        else if (inSection && line.find('=') == std::string_view::npos && sameName(line, key)) return true;
    }
    return false;
}

bool hasEightBitByte(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

bool isQuoted(std::string_view value)
{
    value = trimmed(value);
    return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
}

} // namespace

std::string explain(const Difference& d)
{
    const bool afterWrite = !d.write.section.empty();
    if (hasDuplicateSection(d.content, d.section) || (afterWrite && hasDuplicateSection(d.content, d.write.section)))
        return "a section name given twice: Windows reads the first section of that name only, ours reads on "
               "into the later ones";
    if (hasKeyWithoutEquals(d.content, d.section, d.key) ||
        (afterWrite && hasKeyWithoutEquals(d.content, d.write.section, d.write.key)))
        return "a line holding only a key's name, without \"=\": Windows takes it as that key with no value, "
               "ours passes it over";
    if (d.content.starts_with(kUtf8Bom) && (hasEightBitByte(d.content) || hasEightBitByte(d.write.value)))
        return "bytes of 128 and above in a file that begins with a UTF-8 byte-order mark: Windows decodes the "
               "file as UTF-8 and converts values to and from its ANSI code page, ours keeps the bytes as stored";
    if (d.ours.size() == kLongestValue && d.theirs == d.ours.substr(0, kLongestValue - 1))
        return "a quoted value longer than 1023 characters: Windows cuts it with its opening quote counted, one "
               "character shorter than ours";
    if (afterWrite && isQuoted(d.write.value) && sameName(d.section, d.write.section) && sameName(d.key, d.write.key))
        return "a value written with quotes around it: ours stores one more pair so that it reads back as "
               "written, Windows stores it as given and a read drops the pair";
    return {};
}

} // namespace fw::testing
