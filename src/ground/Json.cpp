#include "ground/Json.h"

namespace fw {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8
// A record entry nests three deep; a line nesting far deeper is no entry,
// and reading it further would only cost memory.
constexpr int kDeepestNesting = 32;

// The length of the valid UTF-8 sequence that starts the text, 0 when it
// does not start with one.
std::size_t utf8SequenceLength(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;       // no overlong forms
        if (lead == 0xED) high = 0x9F;      // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;      // nothing past U+10FFFF
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    return length;
}

// Where the first byte that is not part of a valid UTF-8 sequence is;
// npos when there is none.
std::size_t firstBrokenByte(std::string_view text)
{
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = utf8SequenceLength(text.substr(at));
        if (length == 0) return at;
        at += length;
    }
    return std::string_view::npos;
}

// nlohmann-json would give a cut sequence one U+FFFD in all; the record
// has always given each byte its own.
void repairUtf8(std::string& text)
{
    std::size_t at = firstBrokenByte(text);
    if (at == std::string::npos) return;
    std::string repaired = text.substr(0, at);
    while (at < text.size()) {
        const std::size_t length = utf8SequenceLength(std::string_view(text).substr(at));
        if (length == 0) repaired += kReplacement;
        else repaired.append(text, at, length);
        at += length == 0 ? 1 : length;
    }
    text = std::move(repaired);
}

bool needsRepair(const Json& value)
{
    if (value.is_string()) return firstBrokenByte(value.get_ref<const std::string&>()) != std::string_view::npos;
    if (!value.is_structured()) return false;
    for (const Json& item : value)
        if (needsRepair(item)) return true;
    return false;
}

void repairTexts(Json& value)
{
    if (value.is_string()) repairUtf8(value.get_ref<std::string&>());
    if (!value.is_structured()) return;
    for (Json& item : value) repairTexts(item);
}

// nlohmann-json writes backspace and form feed as \b and \f; the record
// has always written them as \u0008 and \u000c. Outside texts a JSON line
// holds no backslash, and inside them each starts an escape.
std::string withNumericEscapes(std::string line)
{
    std::size_t at = line.find('\\');
    if (at == std::string::npos) return line;
    std::string out = line.substr(0, at);
    for (; at < line.size(); ++at) {
        if (line[at] != '\\' || at + 1 == line.size()) {
            out += line[at];
            continue;
        }
        const char escaped = line[++at];
        out += escaped == 'b' ? "\\u0008" : escaped == 'f' ? "\\u000c" : std::string{'\\', escaped};
    }
    return out;
}

// No blanks, UTF-8 as it is; what broken UTF-8 is left (in a key) is
// replaced, never thrown at the caller.
std::string dumped(const Json& value)
{
    constexpr int compact = -1;
    constexpr bool ensureAscii = false;  // UTF-8 as it is, not escaped
    return withNumericEscapes(value.dump(compact, ' ', ensureAscii, Json::error_handler_t::replace));
}

struct TooDeep {};

} // namespace

std::string jsonLine(const Json& value)
{
    if (!needsRepair(value)) return dumped(value);
    Json repaired = value;
    repairTexts(repaired);
    return dumped(repaired);
}

std::optional<Json> parseJson(std::string_view text)
{
    // The parser keeps its own stack of what is open, but copying or
    // comparing a value goes down it by recursion: refuse the depth at once.
    const Json::parser_callback_t refuseDeep = [](int depth, Json::parse_event_t event, Json&) {
        const bool opens = event == Json::parse_event_t::object_start || event == Json::parse_event_t::array_start;
        if (opens && depth > kDeepestNesting) throw TooDeep{};
        return true;
    };
    try {
        Json value = Json::parse(text.begin(), text.end(), refuseDeep, /*allow_exceptions=*/false);
        if (value.is_discarded()) return std::nullopt;
        return value;
    } catch (const TooDeep&) {
        return std::nullopt;
    }
}

const Json* fieldOf(const Json& object, std::string_view key)
{
    if (!object.is_object()) return nullptr;
    const auto field = object.find(key);
    return field == object.end() ? nullptr : &*field;
}

std::string textOf(const Json& object, std::string_view key, std::string_view fallback)
{
    const Json* field = fieldOf(object, key);
    return field && field->is_string() ? field->get<std::string>() : std::string(fallback);
}

std::optional<double> numberOf(const Json& object, std::string_view key)
{
    const Json* field = fieldOf(object, key);
    if (!field || !field->is_number()) return std::nullopt;
    return field->get<double>();
}

} // namespace fw
