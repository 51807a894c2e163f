#include "package/ListFileReader.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace fw {

namespace {

constexpr char kSpace = ' ';
constexpr char kCr = '\r';
constexpr char kLf = '\n';
constexpr std::size_t kReadPiece = 64 * 1024;

// Tested in this order; none is a prefix of another.
struct Tag {
    std::string_view text;
    TagValue ListFileEntries::*entry;
};
constexpr std::array<Tag, 4> kTags{{
    {"[uP]", &ListFileEntries::up},
    {"[SCALER]", &ListFileEntries::scaler},
    {"[CHECKSUM1]", &ListFileEntries::checksum1},
    {"[CHECKSUM2]", &ListFileEntries::checksum2},
}};

} // namespace

void ListFileReader::feed(std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (ignoringRestOfLine()) {
            // Nothing of this line is kept any more: go straight to its end.
            i = std::min(bytes.find(kCr, i), bytes.size() - 1);
        }
        const char c = bytes[i];
        if (afterCr_) {
            afterCr_ = false;
            if (c == kLf) continue;  // the LF of a CR LF pair
        }
        if (c == kCr) {
            endLine();
            afterCr_ = true;
        } else {
            take(c);
        }
    }
}

bool ListFileReader::ignoringRestOfLine() const
{
    return state_ == State::SkipLine || (state_ == State::Value && overlong_);
}

ListFileEntries ListFileReader::finish()
{
    if (state_ != State::LineStart) endLine();
    afterCr_ = false;
    return std::exchange(entries_, {});
}

void ListFileReader::take(char c)
{
    switch (state_) {
    case State::LineStart:
        if (c == kSpace) return;
        state_ = State::Tag;
        takeTagCharacter(c);
        return;
    case State::Tag: takeTagCharacter(c); return;
    case State::Value: takeValueCharacter(c); return;
    case State::SkipLine: return;
    }
}

void ListFileReader::takeTagCharacter(char c)
{
    tag_ += c;
    for (const Tag& tag : kTags) {
        if (tag_ == tag.text) {
            target_ = &(entries_.*tag.entry);
            state_ = State::Value;
            return;
        }
    }
    for (const Tag& tag : kTags)
        if (tag.text.starts_with(tag_)) return;
    state_ = State::SkipLine;
}

void ListFileReader::takeValueCharacter(char c)
{
    if (c == kSpace) {
        ++pendingSpaces_;
        return;
    }
    if (overlong_) return;
    if (value_.size() + pendingSpaces_ + 1 > kMaxKeptValueLength) {
        overlong_ = true;
        return;
    }
    value_.append(pendingSpaces_, kSpace);
    pendingSpaces_ = 0;
    value_ += c;
}

// Trailing spaces were never added, so what was kept is the stripped value.
void ListFileReader::endLine()
{
    if (state_ == State::Value) *target_ = TagValue{true, std::move(value_), overlong_};
    state_ = State::LineStart;
    tag_.clear();
    target_ = nullptr;
    value_.clear();
    pendingSpaces_ = 0;
    overlong_ = false;
}

ListFileEntries parseListFile(std::string_view text)
{
    ListFileReader reader;
    reader.feed(text);
    return reader.finish();
}

ListFileEntries readListFile(std::istream& in)
{
    ListFileReader reader;
    std::vector<char> piece(kReadPiece);
    while (in.read(piece.data(), static_cast<std::streamsize>(piece.size())) || in.gcount() > 0)
        reader.feed(std::string_view(piece.data(), static_cast<std::size_t>(in.gcount())));
    return reader.finish();
}

} // namespace fw
