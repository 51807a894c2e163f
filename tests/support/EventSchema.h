#pragma once

#include <string>

#include "ground/Json.h"

// The part of JSON Schema docs/events.schema.json is written in ($ref,
// oneOf, type, const, enum, minimum, maximum, required, properties,
// additionalProperties), to hold the events against their documentation.
namespace fw::testing {

inline bool hasJsonType(const Json& v, const std::string& type)
{
    if (type == "integer") return v.is_number_integer();
    if (type == "number") return v.is_number();
    return type == (v.is_object() ? "object" : v.is_array() ? "array" : v.is_string() ? "string"
                    : v.is_boolean() ? "boolean" : v.is_null() ? "null" : "");
}

inline const Json& resolved(const Json& root, const Json& schema)
{
    const std::string ref = textOf(schema, "$ref");
    return ref.empty() ? schema : root.at("$defs").at(ref.substr(ref.rfind('/') + 1));
}

// What is wrong with the value, empty when the schema holds it.
inline std::string schemaProblem(const Json& root, const Json& unresolved, const Json& v)
{
    const Json& schema = resolved(root, unresolved);
    if (const Json* alternatives = fieldOf(schema, "oneOf")) {
        int holding = 0;
        for (const Json& s : *alternatives) holding += schemaProblem(root, s, v).empty() ? 1 : 0;
        if (holding == 1) return "";
        for (const Json& s : *alternatives)  // the kind the event names says what is wrong
            if (textOf(resolved(root, s).at("properties").at("type"), "const") == textOf(v, "type"))
                return textOf(v, "type") + ": " + schemaProblem(root, s, v);
        return "held by " + std::to_string(holding) + " kinds of event, not one";
    }
    if (const Json* type = fieldOf(schema, "type")) {
        bool held = false;
        for (const Json& t : type->is_array() ? *type : Json::array({*type}))
            held = held || hasJsonType(v, t.get<std::string>());
        if (!held) return "not of its type";
    }
    if (const Json* c = fieldOf(schema, "const"); c && *c != v) return "not the one value allowed";
    if (const Json* e = fieldOf(schema, "enum")) {
        bool listed = false;
        for (const Json& item : *e) listed = listed || item == v;
        if (!listed) return v.dump() + " not among the values allowed";
    }
    if (const auto low = numberOf(schema, "minimum"); low && v.is_number() && v.get<double>() < *low) return "below its minimum";
    if (const auto high = numberOf(schema, "maximum"); high && v.is_number() && v.get<double>() > *high) return "above its maximum";
    if (!v.is_object()) return "";
    if (const Json* required = fieldOf(schema, "required"))
        for (const Json& name : *required)
            if (!v.contains(name.get<std::string>())) return "lacks " + name.get<std::string>();
    const Json* properties = fieldOf(schema, "properties");
    const Json* additional = fieldOf(schema, "additionalProperties");
    for (const auto& [name, field] : v.items()) {
        const Json* s = properties ? fieldOf(*properties, name) : nullptr;
        if (!s && additional && *additional == false) return "has " + name;
        if (s)
            if (std::string p = schemaProblem(root, *s, field); !p.empty()) return name + ": " + p;
    }
    return "";
}

} // namespace fw::testing
