#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace fw {

// JSON as the program writes it (events, the service record, the ports
// list) and reads it back (the service record and its history), by
// nlohmann-json. Fields keep the order they were put in.
using Json = nlohmann::ordered_json;

// The value as one line, without a line end, in the form every line the
// program writes has kept: no blanks, texts in UTF-8 with only '"', '\' and
// control characters escaped (tab, line feed and carriage return by their
// letters, the others as \u00XX). A byte that is not part of a valid UTF-8
// sequence (line noise in a projector's reply) is written as U+FFFD, one for
// each such byte, so every line stays valid JSON.
std::string jsonLine(const Json& value);

// One whole JSON text (blanks around it allowed); nothing when it is not
// valid JSON or nests deeper than a record ever does.
std::optional<Json> parseJson(std::string_view text);

// Reading a value whose shape nobody promised: each is nothing (or the
// fallback) when the value is no object, lacks the field or holds something
// else there.
const Json* fieldOf(const Json& object, std::string_view key);
std::string textOf(const Json& object, std::string_view key, std::string_view fallback = {});
std::optional<double> numberOf(const Json& object, std::string_view key);

} // namespace fw
