#include "ground/ModelName.h"

namespace fw {

namespace {

// What stands between the words of a reply: blanks, line ends and other
// control characters, and the marks a projector puts around a value.
bool separates(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= ' ' || byte == 0x7F) return true;
    return std::string_view("=:,;\"'<>?()[]{}").find(c) != std::string_view::npos;
}

} // namespace

std::string modelNameIn(std::string_view reply)
{
    std::size_t at = 0;
    while (at < reply.size()) {
        while (at < reply.size() && separates(reply[at])) ++at;
        std::size_t end = at;
        while (end < reply.size() && !separates(reply[end])) ++end;
        const std::string_view word = reply.substr(at, end - at);
        if (word.find(kFamilyMark) != std::string_view::npos) return std::string(word);
        at = end;
    }
    return {};
}

} // namespace fw
