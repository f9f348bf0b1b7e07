#pragma once
#include <json/json.h>

#include <string>

#include "components/adapters/Adapter.h"

namespace bench {

enum class Leaves {
    Backgrounds, // boxes and 2x5 tables of backgrounds
    Controls,    // boxes of buttons and labels
};

inline Json::Value leaf(const char* type, int n, const std::string& prefix = "")
{
    Json::Value w;
    w["widgetType"] = type;
    w["wid"] = prefix + "w" + std::to_string(n);
    if (std::string(type) != "efl.bg")
        w["properties"]["text"] = "item " + std::to_string(n);
    return w;
}

// A background root, a page box, and containers of ten leaves each:
// `widgets` nodes in all. Every wid starts with `prefix`, so that a frame of
// this tree can be told from one of a tree rendered before.
inline Json::Value tree(int widgets, Leaves kind, const std::string& prefix = "")
{
    Json::Value root;
    root["widgetType"] = "efl.bg";
    root["wid"] = prefix + "root";
    Json::Value page;
    page["widgetType"] = "efl.box";
    page["wid"] = prefix + "page";
    int made = 2;
    for (int b = 0; made < widgets; ++b) {
        bool table = kind == Leaves::Backgrounds && b % 2 == 1;
        Json::Value box;
        box["widgetType"] = table ? "efl.table" : "efl.box";
        box["wid"] = prefix + "c" + std::to_string(b);
        if (table) {
            box["properties"]["col_count"] = "5";
            box["properties"]["row_count"] = "2";
        }
        ++made;
        for (int i = 0; i < 10 && made < widgets; ++i, ++made) {
            Json::Value w = leaf(kind == Leaves::Backgrounds ? "efl.bg" : (i % 2 ? "efl.label" : "efl.button"), made, prefix);
            if (table) {
                w["properties"]["pack-left"] = std::to_string(i % 5);
                w["properties"]["pack-top"] = std::to_string(i / 5);
                w["properties"]["pack-width"] = "1";
                w["properties"]["pack-height"] = "1";
            }
            box["children"].append(w);
        }
        page["children"].append(box);
    }
    root["children"].append(page);
    return root;
}

inline Leaves leaves_from(const char* arg)
{
    return arg && std::string(arg) == "backgrounds" ? Leaves::Backgrounds : Leaves::Controls;
}

inline const char* leaves_name(Leaves kind)
{
    return kind == Leaves::Backgrounds ? "boxes and tables of backgrounds" : "boxes of buttons and labels";
}

inline std::string compact(const Json::Value& v)
{
    Json::StreamWriterBuilder b;
    b["indentation"] = "";
    return Json::writeString(b, v);
}

} // namespace bench
