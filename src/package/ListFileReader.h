#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <string_view>

namespace fw {

// One tag of a list file: whether a line carried it, and the value of the
// last such line.
struct TagValue {
    bool seen = false;
    std::string value;
    // The value ran past kMaxKeptValueLength; only its start was kept. Such a
    // value is longer than any path, so it names no file and is no checksum.
    bool overlong = false;
};

struct ListFileEntries {
    TagValue up;         // "[uP]"
    TagValue scaler;     // "[SCALER]"
    TagValue checksum1;  // "[CHECKSUM1]"
    TagValue checksum2;  // "[CHECKSUM2]"
};

// Reads the text of a list file as it arrives, in pieces of any size. A line
// ends at CR LF or at a lone CR (a bare LF is text); a line is stripped of
// spaces and a tag at its start takes the rest of it as the value. Memory
// stays bounded however long a line is.
class ListFileReader {
public:
    static constexpr std::size_t kMaxKeptValueLength = 4096;

    void feed(std::string_view bytes);
    // Ends the last line and gives what the text held.
    ListFileEntries finish();

private:
    enum class State { LineStart, Tag, Value, SkipLine };

    bool ignoringRestOfLine() const;
    void take(char c);
    void takeTagCharacter(char c);
    void takeValueCharacter(char c);
    void endLine();

    ListFileEntries entries_;
    State state_ = State::LineStart;
    bool afterCr_ = false;
    std::string tag_;
    TagValue* target_ = nullptr;
    std::string value_;
    std::size_t pendingSpaces_ = 0;  // spaces that count only if more text follows them
    bool overlong_ = false;
};

ListFileEntries parseListFile(std::string_view text);
// Reads the stream to its end in pieces; throws what the stream throws.
ListFileEntries readListFile(std::istream& in);

} // namespace fw
