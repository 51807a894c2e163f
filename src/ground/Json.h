#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fw {

// JSON as the program writes it (events, the service record, the ports
// list) and reads it back (the service record). Texts are UTF-8; a byte
// that is not part of a valid UTF-8 sequence (line noise in a projector's
// reply) is written as U+FFFD, so every line stays valid JSON.

// The text as a JSON string, quotes included.
std::string jsonString(std::string_view text);

// An object built field by field, in order.
class JsonObject {
public:
    JsonObject& add(std::string_view key, std::string_view text);
    JsonObject& add(std::string_view key, const char* text) { return add(key, std::string_view(text)); }
    JsonObject& add(std::string_view key, const std::string& text) { return add(key, std::string_view(text)); }
    JsonObject& add(std::string_view key, int64_t number);
    JsonObject& add(std::string_view key, int number) { return add(key, static_cast<int64_t>(number)); }
    JsonObject& add(std::string_view key, uint64_t number);
    JsonObject& add(std::string_view key, bool value);
    JsonObject& addNull(std::string_view key);
    // A value already written as JSON: an object, an array.
    JsonObject& addJson(std::string_view key, std::string_view json);

    std::string str() const { return "{" + body_ + "}"; }

private:
    void key(std::string_view name);
    std::string body_;
};

// Values already written as JSON, as an array.
std::string jsonArray(const std::vector<std::string>& items);

// A value read back.
class JsonValue {
public:
    enum class Kind { Null, Bool, Number, String, Array, Object };

    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string text;                                     // String
    std::vector<JsonValue> items;                         // Array
    std::vector<std::pair<std::string, JsonValue>> fields;  // Object, in order

    bool is(Kind k) const { return kind == k; }
    // The field's value; nullptr when this is not an object or has no such field.
    const JsonValue* find(std::string_view key) const;
    // The field's text, or the fallback when it is missing or not a string.
    std::string textOf(std::string_view key, std::string_view fallback = {}) const;
    // The field's number, when it is one.
    std::optional<double> numberOf(std::string_view key) const;
};

// One whole JSON text (blanks around it allowed); nothing when it is not
// valid JSON or nests deeper than a record ever does.
std::optional<JsonValue> parseJson(std::string_view text);

} // namespace fw
