#include "ground/ProfileFile.h"

#include <filesystem>
#include <fstream>
#include <ios>
#include <iterator>
#include <new>
#include <system_error>
#include <vector>

#include "ground/FilePath.h"

namespace fw {

namespace {

// Windows hands at most this many characters of a value to a 1024-character buffer.
constexpr std::size_t kMaxValueLength = 1023;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// Line end of a file we create, as Windows writes it.
constexpr std::string_view kNewFileLineEnd = "\r\n";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameNameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

bool isQuote(char c) { return c == '"' || c == '\''; }

// Windows drops one pair of matching quotes around a value.
bool isQuoted(std::string_view value) { return value.size() >= 2 && isQuote(value.front()) && value.back() == value.front(); }

// One line of the file as byte positions: its text runs from `begin` to
// `end` (without CR LF or LF), the next line starts at `next`.
struct Line {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;
    enum class Kind { Other, Section, Key } kind = Kind::Other;
    std::string_view name;   // section or key name, trimmed
    std::string_view value;  // key lines: the value, trimmed
    std::size_t afterEquals = 0;  // key lines: position just after "="
};

Line classify(std::string_view content, Line line)
{
    std::string_view text = content.substr(line.begin, line.end - line.begin);
    if (line.begin == 0 && text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());
    const std::string_view trimmed = trimBlanks(text);
    if (trimmed.starts_with('[')) {
        const auto close = trimmed.find(']');
        if (close != std::string_view::npos) {
            line.kind = Line::Kind::Section;
            line.name = trimBlanks(trimmed.substr(1, close - 1));
        }
        return line;
    }
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) return line;
    line.kind = Line::Kind::Key;
    line.name = trimBlanks(text.substr(0, equals));
    line.value = trimBlanks(text.substr(equals + 1));
    line.afterEquals = static_cast<std::size_t>(text.data() - content.data()) + equals + 1;
    return line;
}

std::vector<Line> splitLines(std::string_view content)
{
    std::vector<Line> lines;
    std::size_t begin = 0;
    while (begin < content.size()) {
        const auto lf = content.find('\n', begin);
        Line line;
        line.begin = begin;
        line.next = lf == std::string_view::npos ? content.size() : lf + 1;
        line.end = lf == std::string_view::npos ? content.size() : lf;
        if (line.end > begin && content[line.end - 1] == '\r') --line.end;
        lines.push_back(classify(content, line));
        begin = line.next;
    }
    return lines;
}

// Index of the first key line named `key` inside a section named `section`.
std::optional<std::size_t> findKey(const std::vector<Line>& lines, std::string_view section, std::string_view key)
{
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        if (line.kind == Line::Kind::Section) inSection = sameNameIgnoringCase(line.name, section);
        else if (inSection && line.kind == Line::Kind::Key && sameNameIgnoringCase(line.name, key)) return i;
    }
    return std::nullopt;
}

// Index of the last non-blank line of the first section named `section`.
std::optional<std::size_t> lastLineOfSection(std::string_view content, const std::vector<Line>& lines,
                                             std::string_view section)
{
    std::optional<std::size_t> last;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        if (line.kind == Line::Kind::Section) {
            if (last) break;
            if (sameNameIgnoringCase(line.name, section)) last = i;
        } else if (last && !trimBlanks(content.substr(line.begin, line.end - line.begin)).empty()) {
            last = i;
        }
    }
    return last;
}

std::string_view lineEndOf(std::string_view content)
{
    const auto lf = content.find('\n');
    if (lf == std::string_view::npos) return kNewFileLineEnd;
    return (lf > 0 && content[lf - 1] == '\r') ? std::string_view("\r\n") : std::string_view("\n");
}

bool holdsLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

bool isWritableName(std::string_view name, std::string_view forbidden)
{
    return !trimBlanks(name).empty() && !holdsLineBreak(name) && name.find_first_of(forbidden) == std::string_view::npos;
}

// Appends rather than prepending to a temporary ("[" + std::string(...)):
// GCC 12 at -O2 mistakes that prepend for an overlapping copy (-Wrestrict).
std::string enclosed(char open, std::string_view text, char close)
{
    std::string out;
    out.reserve(text.size() + 2);
    out += open;
    out += text;
    out += close;
    return out;
}

// A value that begins and ends with the same quote would lose its quotes on
// read; one more pair keeps it as given, for Windows as for us.
std::string storedForm(std::string_view value)
{
    const std::string_view trimmed = trimBlanks(value);
    if (isQuoted(trimmed)) return enclosed('"', trimmed, '"');
    return std::string(value);
}

std::string withLineAt(std::string_view content, std::size_t at, std::string_view line, std::string_view eol)
{
    std::string out(content.substr(0, at));
    if (!out.empty() && out.back() == '\r') out += '\n';  // complete a CR LF cut short at the end
    else if (!out.empty() && out.back() != '\n') out += eol;
    out += line;
    out += eol;
    out += content.substr(at);
    return out;
}

// Only an ordinary file is read: a pipe or device in its place would never
// end. A file that cannot be read, or is too large to hold, reads as missing.
std::optional<std::string> readWhole(const std::string& path)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(filePath(path), ec)) return std::nullopt;
    std::ifstream in(filePath(path), std::ios::binary);
    if (!in) return std::nullopt;
    try {
        std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in.bad()) return std::nullopt;
        return content;
    } catch (const std::ios_base::failure&) {
        return std::nullopt;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

bool writeBytes(const std::filesystem::path& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    return static_cast<bool>(out);
}

// Written beside the file and renamed over it, so a failed write leaves the
// old file whole. Where no new file may be made beside it, the file itself
// is rewritten, as Windows would.
bool replaceWhole(const std::string& path, const std::string& content)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    // Write through a link to the file it names, not over the link.
    const fs::path named = filePath(path);
    const bool isLink = fs::is_symlink(fs::symlink_status(named, ec));
    const fs::path target = isLink ? fs::weakly_canonical(named, ec) : named;
    if (isLink && ec) return false;
    fs::path temporary = target;
    temporary += ".new";
    if (writeBytes(temporary, content)) {
        const auto old = fs::status(target, ec);
        if (fs::exists(old)) fs::permissions(temporary, old.permissions(), ec);
        fs::rename(temporary, target, ec);
        if (!ec) return true;
    }
    fs::remove(temporary, ec);
    return !fs::is_directory(target, ec) && writeBytes(target, content);
}

bool isComment(std::string_view trimmed) { return trimmed.starts_with(';') || trimmed.starts_with('#'); }

std::string_view textOf(std::string_view content, const Line& line)
{
    std::string_view text = content.substr(line.begin, line.end - line.begin);
    if (line.begin == 0 && text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());
    return trimBlanks(text);
}

std::string readValue(std::string_view value)
{
    if (isQuoted(value)) value = value.substr(1, value.size() - 2);
    return std::string(value.substr(0, kMaxValueLength));
}

bool isListedName(std::string_view name)
{
    return isWritableName(name, "=") && name == trimBlanks(name) && !name.starts_with('[') && !isComment(name);
}

// Where the sections named `section` lie: from the header line to the
// first line of the next section (or the end), as line indices.
std::vector<std::pair<std::size_t, std::size_t>> sectionSpans(const std::vector<Line>& lines, std::string_view section)
{
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind != Line::Kind::Section) continue;
        if (!spans.empty() && spans.back().second == lines.size()) spans.back().second = i;
        if (sameNameIgnoringCase(lines[i].name, section)) spans.emplace_back(i, lines.size());
    }
    return spans;
}

} // namespace

std::vector<ProfileLine> profileSectionLines(std::string_view content, std::string_view section)
{
    const auto lines = splitLines(content);
    std::vector<ProfileLine> listed;
    for (const auto& [header, end] : sectionSpans(lines, section)) {
        for (std::size_t i = header + 1; i < end; ++i) {
            const std::string_view text = textOf(content, lines[i]);
            if (text.empty() || isComment(text)) continue;
            ProfileLine line;
            line.number = i + 1;
            line.text = std::string(text);
            if (lines[i].kind == Line::Kind::Key) {
                line.isKey = true;
                line.name = std::string(lines[i].name);
                line.value = readValue(lines[i].value);
            }
            listed.push_back(std::move(line));
        }
    }
    return listed;
}

std::optional<std::string> withProfileSection(std::string_view content, std::string_view section,
                                              const ProfileKeys& keys)
{
    if (!isWritableName(section, "]")) return std::nullopt;
    const std::string_view eol = lineEndOf(content);
    std::string body;
    for (const auto& [name, value] : keys) {
        if (!isListedName(name) || holdsLineBreak(value)) return std::nullopt;
        body += name + "=" + storedForm(value) + std::string(eol);
    }
    const auto lines = splitLines(content);
    const auto spans = sectionSpans(lines, section);
    if (spans.empty()) {
        std::string out = withLineAt(content, content.size(), enclosed('[', section, ']'), eol);
        return out + body;
    }
    // The first section's body up to its last non-blank line gives way to
    // the keys; blank lines before the next section stay.
    const auto [header, end] = spans.front();
    std::size_t lastFilled = header;
    for (std::size_t i = header + 1; i < end; ++i)
        if (!textOf(content, lines[i]).empty()) lastFilled = i;
    std::string out(content.substr(0, lines[header].next));
    if (out.back() == '\r') out += '\n';  // a header ending the file: its line end completed
    else if (out.back() != '\n') out += eol;
    out += body;
    std::size_t from = lines[lastFilled].next;
    for (std::size_t k = 1; k < spans.size(); ++k) {
        out += content.substr(from, lines[spans[k].first].begin - from);
        from = spans[k].second < lines.size() ? lines[spans[k].second].begin : content.size();
    }
    out += content.substr(from);
    return out;
}

std::optional<std::string> readProfileText(const std::string& path) { return readWhole(path); }

bool writeProfileText(const std::string& path, const std::string& content) { return replaceWhole(path, content); }

std::string profileValue(std::string_view content, std::string_view section, std::string_view key)
{
    const auto lines = splitLines(content);
    const auto found = findKey(lines, section, key);
    if (!found) return {};
    std::string_view value = lines[*found].value;
    if (isQuoted(value)) value = value.substr(1, value.size() - 2);
    return std::string(value.substr(0, kMaxValueLength));
}

std::optional<std::string> withProfileValue(std::string_view content, std::string_view section,
                                            std::string_view key, std::string_view value)
{
    if (holdsLineBreak(value) || !isWritableName(section, "]") || !isWritableName(key, "=")) return std::nullopt;
    const auto lines = splitLines(content);
    const std::string stored = storedForm(value);
    const std::string_view eol = lineEndOf(content);

    if (const auto found = findKey(lines, section, key)) {
        const Line& line = lines[*found];
        return std::string(content.substr(0, line.afterEquals)) + stored + std::string(content.substr(line.end));
    }
    const std::string keyLine = std::string(key) + "=" + stored;
    if (const auto last = lastLineOfSection(content, lines, section))
        return withLineAt(content, lines[*last].next, keyLine, eol);
    std::string out = withLineAt(content, content.size(), enclosed('[', section, ']'), eol);
    out += keyLine;
    out += eol;
    return out;
}

ProfileFile::ProfileFile(std::string path) : path_(std::move(path)) {}

std::string ProfileFile::read(std::string_view section, std::string_view key) const
{
    const auto content = readWhole(path_);
    return content ? fromStoredText(profileValue(*content, section, key)) : std::string{};
}

std::vector<std::string> ProfileFile::read(std::string_view section, const std::vector<std::string>& keys) const
{
    const auto content = readWhole(path_);
    std::vector<std::string> values;
    for (const std::string& key : keys)
        values.push_back(content ? fromStoredText(profileValue(*content, section, key)) : std::string{});
    return values;
}

bool ProfileFile::write(std::string_view section, std::string_view key, std::string_view value)
{
    std::error_code ec;
    const bool exists = std::filesystem::exists(filePath(path_), ec);
    if (ec) return false;
    std::string content;
    if (exists) {
        auto old = readWhole(path_);
        if (!old) return false;  // never replace a file we could not read
        content = std::move(*old);
    }
    const auto updated = withProfileValue(content, section, key, toStoredText(value));
    return updated && replaceWhole(path_, *updated);
}

} // namespace fw
