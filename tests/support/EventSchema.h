#pragma once

#include <cmath>
#include <string>

#include "ground/Json.h"

// The part of JSON Schema docs/events.schema.json is written in ($ref,
// oneOf, type, const, enum, minimum, maximum, required, properties,
// additionalProperties), to hold the events against their documentation.
namespace fw::testing {

inline bool sameJson(const JsonValue& a, const JsonValue& b)
{
    return a.kind == b.kind && a.text == b.text && a.number == b.number && a.boolean == b.boolean;
}

inline bool hasJsonType(const JsonValue& v, const std::string& type)
{
    using K = JsonValue::Kind;
    if (type == "integer") return v.is(K::Number) && v.number == std::floor(v.number);
    const K kind = type == "object" ? K::Object : type == "array" ? K::Array : type == "string" ? K::String
                 : type == "boolean" ? K::Bool : type == "null" ? K::Null : K::Number;
    return v.is(kind);
}

inline const JsonValue& resolved(const JsonValue& root, const JsonValue& schema)
{
    const JsonValue* ref = schema.find("$ref");
    return ref ? *root.find("$defs")->find(ref->text.substr(ref->text.rfind('/') + 1)) : schema;
}

// What is wrong with the value, empty when the schema holds it.
inline std::string schemaProblem(const JsonValue& root, const JsonValue& unresolved, const JsonValue& v)
{
    const JsonValue& schema = resolved(root, unresolved);
    if (const JsonValue* alternatives = schema.find("oneOf")) {
        int holding = 0;
        for (const JsonValue& s : alternatives->items) holding += schemaProblem(root, s, v).empty() ? 1 : 0;
        if (holding == 1) return "";
        for (const JsonValue& s : alternatives->items)  // the kind the event names says what is wrong
            if (resolved(root, s).find("properties")->find("type")->textOf("const") == v.textOf("type"))
                return v.textOf("type") + ": " + schemaProblem(root, s, v);
        return "held by " + std::to_string(holding) + " kinds of event, not one";
    }
    if (const JsonValue* type = schema.find("type")) {
        bool held = false;
        for (const JsonValue& t : type->is(JsonValue::Kind::Array) ? type->items : std::vector<JsonValue>{*type})
            held = held || hasJsonType(v, t.text);
        if (!held) return "not of its type";
    }
    if (const JsonValue* c = schema.find("const"); c && !sameJson(*c, v)) return "not the one value allowed";
    if (const JsonValue* e = schema.find("enum")) {
        bool listed = false;
        for (const JsonValue& item : e->items) listed = listed || sameJson(item, v);
        if (!listed) return "'" + v.text + "' not among the values allowed";
    }
    if (const auto low = schema.numberOf("minimum"); low && v.number < *low) return "below its minimum";
    if (const auto high = schema.numberOf("maximum"); high && v.number > *high) return "above its maximum";
    if (!v.is(JsonValue::Kind::Object)) return "";
    if (const JsonValue* required = schema.find("required"))
        for (const JsonValue& name : required->items)
            if (!v.find(name.text)) return "lacks " + name.text;
    const JsonValue* properties = schema.find("properties");
    const JsonValue* additional = schema.find("additionalProperties");
    for (const auto& [name, field] : v.fields) {
        const JsonValue* s = properties ? properties->find(name) : nullptr;
        if (!s && additional && additional->is(JsonValue::Kind::Bool) && !additional->boolean) return "has " + name;
        if (s)
            if (std::string p = schemaProblem(root, *s, field); !p.empty()) return name + ": " + p;
    }
    return "";
}

} // namespace fw::testing
