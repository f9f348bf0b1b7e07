#pragma once
#include <json/json.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

// Building render-data trees and reading JSON documents in tests.
namespace tree_json {

inline std::string compact(const Json::Value& v)
{
    Json::StreamWriterBuilder b;
    b["indentation"] = "";
    return Json::writeString(b, v);
}

inline Json::Value parse(const std::string& text)
{
    Json::Value v;
    Json::CharReaderBuilder b;
    std::string errs;
    std::unique_ptr<Json::CharReader> r(b.newCharReader());
    r->parse(text.data(), text.data() + text.size(), &v, &errs);
    return v;
}

inline Json::Value node(const std::string& type, const std::string& wid, Json::Value props = Json::Value(),
                        Json::Value children = Json::Value())
{
    Json::Value n;
    n["widgetType"] = type;
    n["wid"] = wid;
    if (!props.isNull())
        n["properties"] = props;
    if (!children.isNull())
        n["children"] = children;
    return n;
}

// A "properties" object from name/value pairs.
inline Json::Value props(std::initializer_list<std::pair<const char*, std::string>> list)
{
    Json::Value p(Json::objectValue);
    for (const auto& [name, value] : list)
        p[name] = value;
    return p;
}

// Properties that make a widget fill what its container gives it.
inline Json::Value fill(Json::Value p = Json::Value(Json::objectValue))
{
    p["weight-x"] = "1";
    p["weight-y"] = "1";
    p["align-x"] = "FILL";
    p["align-y"] = "FILL";
    return p;
}

// A "children" array.
inline Json::Value kids(std::initializer_list<Json::Value> list)
{
    Json::Value a(Json::arrayValue);
    for (const Json::Value& v : list)
        a.append(v);
    return a;
}

} // namespace tree_json
