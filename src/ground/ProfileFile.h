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

} // namespace fw
