#include "ground/Json.h"

#include <charconv>
#include <cstdio>

namespace fw {

namespace {

constexpr const char* kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8
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

void appendEscaped(std::string& out, char c)
{
    switch (c) {
    case '"': out += "\\\""; return;
    case '\\': out += "\\\\"; return;
    case '\n': out += "\\n"; return;
    case '\r': out += "\\r"; return;
    case '\t': out += "\\t"; return;
    default: break;
    }
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned{static_cast<unsigned char>(c)});
    out += escaped;
}

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    std::optional<JsonValue> whole()
    {
        JsonValue value;
        if (!parseValue(value, 0)) return std::nullopt;
        skipBlanks();
        if (pos_ != text_.size()) return std::nullopt;
        return value;
    }

private:
    void skipBlanks()
    {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n' ||
                                       text_[pos_] == '\r'))
            ++pos_;
    }
    bool take(char c)
    {
        skipBlanks();
        if (pos_ >= text_.size() || text_[pos_] != c) return false;
        ++pos_;
        return true;
    }
    bool word(std::string_view w)
    {
        if (text_.substr(pos_, w.size()) != w) return false;
        pos_ += w.size();
        return true;
    }

    bool parseValue(JsonValue& value, int depth)
    {
        if (depth > kDeepestNesting) return false;
        skipBlanks();
        if (pos_ >= text_.size()) return false;
        switch (text_[pos_]) {
        case '{': return parseObject(value, depth);
        case '[': return parseArray(value, depth);
        case '"': value.kind = JsonValue::Kind::String; return parseString(value.text);
        case 't': value.kind = JsonValue::Kind::Bool; value.boolean = true; return word("true");
        case 'f': value.kind = JsonValue::Kind::Bool; value.boolean = false; return word("false");
        case 'n': value.kind = JsonValue::Kind::Null; return word("null");
        default: return parseNumber(value);
        }
    }

    bool parseObject(JsonValue& value, int depth)
    {
        value.kind = JsonValue::Kind::Object;
        ++pos_;
        if (take('}')) return true;
        do {
            std::pair<std::string, JsonValue> field;
            skipBlanks();
            if (pos_ >= text_.size() || text_[pos_] != '"' || !parseString(field.first) || !take(':') ||
                !parseValue(field.second, depth + 1))
                return false;
            value.fields.push_back(std::move(field));
        } while (take(','));
        return take('}');
    }

    bool parseArray(JsonValue& value, int depth)
    {
        value.kind = JsonValue::Kind::Array;
        ++pos_;
        if (take(']')) return true;
        do {
            value.items.emplace_back();
            if (!parseValue(value.items.back(), depth + 1)) return false;
        } while (take(','));
        return take(']');
    }

    bool parseNumber(JsonValue& value)
    {
        // JSON's grammar: -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
        const std::size_t start = pos_;
        const auto digits = [&] {
            const std::size_t from = pos_;
            while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
            return pos_ > from;
        };
        if (pos_ < text_.size() && text_[pos_] == '-') ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '0') ++pos_;
        else if (!digits()) return false;
        if (pos_ < text_.size() && text_[pos_] == '.' && (++pos_, !digits())) return false;
        if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
            ++pos_;
            if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) ++pos_;
            if (!digits()) return false;
        }
        value.kind = JsonValue::Kind::Number;
        // from_chars reads the same whatever the locale of the program (Qt's follows the user's).
        const std::from_chars_result read = std::from_chars(text_.data() + start, text_.data() + pos_, value.number);
        return read.ec == std::errc() || read.ec == std::errc::result_out_of_range;
    }

    bool parseHex4(unsigned& code)
    {
        if (pos_ + 4 > text_.size()) return false;
        const auto [end, error] = std::from_chars(text_.data() + pos_, text_.data() + pos_ + 4, code, 16);
        if (error != std::errc() || end != text_.data() + pos_ + 4) return false;
        pos_ += 4;
        return true;
    }

    static void appendUtf8(std::string& out, unsigned code)
    {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    bool parseEscape(std::string& out)
    {
        if (pos_ >= text_.size()) return false;
        const char c = text_[pos_++];
        switch (c) {
        case '"': case '\\': case '/': out += c; return true;
        case 'b': out += '\b'; return true;
        case 'f': out += '\f'; return true;
        case 'n': out += '\n'; return true;
        case 'r': out += '\r'; return true;
        case 't': out += '\t'; return true;
        case 'u': break;
        default: return false;
        }
        unsigned code = 0;
        if (!parseHex4(code)) return false;
        if (code >= 0xD800 && code <= 0xDBFF) {  // a surrogate pair
            unsigned low = 0;
            if (!word("\\u") || !parseHex4(low) || low < 0xDC00 || low > 0xDFFF) return false;
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        } else if (code >= 0xDC00 && code <= 0xDFFF) {
            return false;
        }
        appendUtf8(out, code);
        return true;
    }

    bool parseString(std::string& out)
    {
        ++pos_;  // the opening quote
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == '"') {
                ++pos_;
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20) return false;
            if (c == '\\') {
                ++pos_;
                if (!parseEscape(out)) return false;
                continue;
            }
            const std::size_t length = utf8SequenceLength(text_.substr(pos_));
            if (length == 0) return false;
            out.append(text_.substr(pos_, length));
            pos_ += length;
        }
        return false;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

} // namespace

std::string jsonString(std::string_view text)
{
    std::string quoted = "\"";
    quoted.reserve(text.size() + 2);
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20) {
            appendEscaped(quoted, c);
            ++i;
            continue;
        }
        const std::size_t length = utf8SequenceLength(text.substr(i));
        if (length == 0) {
            quoted += kReplacement;
            ++i;
            continue;
        }
        quoted.append(text.substr(i, length));
        i += length;
    }
    return quoted + '"';
}

void JsonObject::key(std::string_view name)
{
    if (!body_.empty()) body_ += ',';
    body_ += jsonString(name);
    body_ += ':';
}

JsonObject& JsonObject::add(std::string_view name, std::string_view text)
{
    key(name);
    body_ += jsonString(text);
    return *this;
}

JsonObject& JsonObject::add(std::string_view name, int64_t number)
{
    key(name);
    body_ += std::to_string(number);
    return *this;
}

JsonObject& JsonObject::add(std::string_view name, uint64_t number)
{
    key(name);
    body_ += std::to_string(number);
    return *this;
}

JsonObject& JsonObject::add(std::string_view name, bool value)
{
    key(name);
    body_ += value ? "true" : "false";
    return *this;
}

JsonObject& JsonObject::addNull(std::string_view name)
{
    key(name);
    body_ += "null";
    return *this;
}

JsonObject& JsonObject::addJson(std::string_view name, std::string_view json)
{
    key(name);
    body_ += json;
    return *this;
}

std::string jsonArray(const std::vector<std::string>& items)
{
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i) out += ',';
        out += items[i];
    }
    return out + "]";
}

const JsonValue* JsonValue::find(std::string_view key) const
{
    for (const auto& [name, value] : fields)
        if (name == key) return &value;
    return nullptr;
}

std::string JsonValue::textOf(std::string_view key, std::string_view fallback) const
{
    const JsonValue* value = find(key);
    return value && value->is(Kind::String) ? value->text : std::string(fallback);
}

std::optional<double> JsonValue::numberOf(std::string_view key) const
{
    const JsonValue* value = find(key);
    if (!value || !value->is(Kind::Number)) return std::nullopt;
    return value->number;
}

std::optional<JsonValue> parseJson(std::string_view text) { return Parser(text).whole(); }

} // namespace fw
