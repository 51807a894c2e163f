#pragma once

#include <cstdint>
#include <fstream>
#include <optional>
#include <string>

namespace fw {

// The lines of a file from its last to its first, read in pieces from the
// end: the newest entries of a long record come without reading the rest.
class BackwardLines {
public:
    explicit BackwardLines(const std::string& path);

    bool opened() const { return opened_; }
    // The line before the last one returned, without its line end (CR LF
    // or LF); nothing at the start of the file. A line longer than
    // kLongestLine is read past without being held: it comes back empty,
    // and cut() tells.
    std::optional<std::string> previous();
    bool cut() const { return cut_; }
    // Where the last line returned begins, in bytes from the file's start.
    uint64_t offset() const { return lineStart_; }

    // Far longer than any record entry: such a line is none, and holding
    // it would only cost memory and time.
    static constexpr std::size_t kLongestLine = std::size_t{1} << 20;

private:
    bool readPieceBefore();
    std::size_t skipToLineStart();

    std::ifstream in_;
    bool opened_ = false;
    uint64_t pieceStart_ = 0;  // the file offset of buffer_[0]
    std::string buffer_;       // bytes not yet returned, ending where the last line returned began
    uint64_t lineStart_ = 0;
    bool cut_ = false;
};

} // namespace fw
