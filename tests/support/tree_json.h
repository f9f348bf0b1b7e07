#pragma once
#include <json/json.h>

#include <memory>
#include <string>

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

} // namespace tree_json
