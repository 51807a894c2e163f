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
    // or LF); nothing at the start of the file.
    std::optional<std::string> previous();
    // Where the last line returned begins, in bytes from the file's start.
    uint64_t offset() const { return lineStart_; }

private:
    bool readPieceBefore();

    std::ifstream in_;
    bool opened_ = false;
    uint64_t pieceStart_ = 0;  // the file offset of buffer_[0]
    std::string buffer_;       // bytes not yet returned, ending where the last line returned began
    uint64_t lineStart_ = 0;
};

} // namespace fw
