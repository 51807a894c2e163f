#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// A Windows profile (INI) file such as settings.ini, read and written the way
// existing Windows installations of this tool read and write theirs: CR LF or
// LF line ends, backslashes kept as written, values trimmed of surrounding
// blanks on read (and of one pair of matching quotes, as Windows does) and
// cut to 1023 characters; a write keeps every other section, key and comment
// in place.
class ProfileFile {
public:
    explicit ProfileFile(std::string path);

    // The value, or empty text when the file, section or key is missing.
    std::string read(std::string_view section, std::string_view key) const;
    // The values of several keys of one section, from one reading of the file.
    std::vector<std::string> read(std::string_view section, const std::vector<std::string>& keys) const;

    // Creates file, section and key as needed. Refuses (returns false and
    // leaves the file untouched) a value holding CR or LF, which would
    // inject keys; false also when the file cannot be written.
    bool write(std::string_view section, std::string_view key, std::string_view value);

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// The same rules on the text of a profile file, without the file.
// Section and key names match ignoring ASCII letter case; the first
// occurrence of a key in a section of that name counts.
std::string profileValue(std::string_view content, std::string_view section, std::string_view key);

// The text with the key set to the value, every other byte kept; nothing when
// the value holds CR or LF, or the section or key name could not be read back
// (empty, or holding CR, LF, "]" or "=").
std::optional<std::string> withProfileValue(std::string_view content, std::string_view section,
                                            std::string_view key, std::string_view value);

// A section whose lines are a list (a venue's projectors): each non-blank
// line of it, in order, as the file holds it.
struct ProfileLine {
    std::size_t number = 0;  // counted from 1 at the file's first line
    bool isKey = false;      // a "name=value" line
    std::string name;        // key lines: the name, trimmed
    std::string value;       // key lines: the value as profileValue reads it
    std::string text;        // the whole line, trimmed
};

// Every non-blank line of every section named `section`, in the order of
// the file. A line whose first character is ';' or '#' is a comment and
// left out.
std::vector<ProfileLine> profileSectionLines(std::string_view content, std::string_view section);

using ProfileKeys = std::vector<std::pair<std::string, std::string>>;

// The text with the section named `section` holding these keys, in this
// order, and nothing else: the first section of that name keeps its place
// and header (a new one goes at the end), later ones go, every other byte
// is kept. Nothing when a key would not read back as given: a name that is
// empty, not trimmed, holds "=" or a line break, or begins like a section
// or a comment; a value with a line break.
std::optional<std::string> withProfileSection(std::string_view content, std::string_view section,
                                              const ProfileKeys& keys);

// The whole file, as profileSectionLines and the functions above take it;
// nothing when it is missing, not an ordinary file, or cannot be read.
std::optional<std::string> readProfileText(const std::string& path);

// Writes the whole file beside it and renames it over the old one.
bool writeProfileText(const std::string& path, const std::string& content);

} // namespace fw
