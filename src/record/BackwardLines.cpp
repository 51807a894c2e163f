#include "record/BackwardLines.h"

#include "ground/FilePath.h"

namespace fw {

namespace {
constexpr uint64_t kPiece = 1 << 16;
} // namespace

BackwardLines::BackwardLines(const std::string& path) : in_(filePath(path), std::ios::binary)
{
    opened_ = static_cast<bool>(in_);
    if (!opened_) return;
    in_.seekg(0, std::ios::end);
    const auto end = in_.tellg();
    pieceStart_ = end < 0 ? 0 : static_cast<uint64_t>(end);
    lineStart_ = pieceStart_;
    // The file's last line end closes the last line; it opens no empty one.
    if (pieceStart_ > 0 && readPieceBefore() && buffer_.back() == '\n') buffer_.pop_back();
}

bool BackwardLines::readPieceBefore()
{
    if (pieceStart_ == 0) return false;
    const uint64_t size = pieceStart_ < kPiece ? pieceStart_ : kPiece;
    std::string piece(static_cast<std::size_t>(size), '\0');
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(pieceStart_ - size));
    if (!in_.read(piece.data(), static_cast<std::streamsize>(size))) return false;
    pieceStart_ -= size;
    buffer_.insert(0, piece);
    return true;
}

std::optional<std::string> BackwardLines::previous()
{
    if (!opened_ || (buffer_.empty() && lineStart_ == 0)) return std::nullopt;
    std::size_t lineEnd = buffer_.rfind('\n');
    while (lineEnd == std::string::npos && buffer_.size() <= kLongestLine) {
        const std::size_t searched = buffer_.size();
        if (!readPieceBefore()) break;
        lineEnd = buffer_.rfind('\n', buffer_.size() - searched - 1);  // in the piece just read
    }
    const std::size_t longest = lineEnd == std::string::npos ? buffer_.size() : buffer_.size() - lineEnd - 1;
    cut_ = longest > kLongestLine;
    if (cut_ && lineEnd == std::string::npos) lineEnd = skipToLineStart();
    const std::size_t begin = lineEnd == std::string::npos ? 0 : lineEnd + 1;
    std::string line = cut_ ? std::string() : buffer_.substr(begin);
    lineStart_ = pieceStart_ + begin;
    buffer_.resize(lineEnd == std::string::npos ? 0 : lineEnd);
    if (lineEnd == std::string::npos) lineStart_ = 0;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

// Reads back to the line end before the line being skipped, keeping only
// the piece that holds it; where it is in the buffer, or npos at the
// file's start.
std::size_t BackwardLines::skipToLineStart()
{
    buffer_.clear();
    while (readPieceBefore()) {
        const std::size_t lineEnd = buffer_.rfind('\n');
        if (lineEnd != std::string::npos) return lineEnd;
        buffer_.clear();
    }
    return std::string::npos;
}

} // namespace fw
