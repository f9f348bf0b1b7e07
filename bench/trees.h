#pragma once
#include <json/json.h>

#include <string>

#include "components/adapters/Adapter.h"

namespace bench {

// A background root holding boxes of ten leaves each, `widgets` nodes in all.
// Leaves alternate buttons and labels where those kinds exist, else backgrounds.
inline Json::Value tree(int widgets)
{
    const bool rich = getAdapter("efl.button") && getAdapter("efl.label");
    Json::Value root;
    root["widgetType"] = "efl.bg";
    root["wid"] = "root";
    Json::Value page;
    page["widgetType"] = "efl.box";
    page["wid"] = "page";
    int made = 2;
    for (int b = 0; made < widgets; ++b) {
        Json::Value box;
        box["widgetType"] = "efl.box";
        box["wid"] = "box" + std::to_string(b);
        ++made;
        for (int i = 0; i < 10 && made < widgets; ++i, ++made) {
            Json::Value leaf;
            leaf["widgetType"] = !rich ? "efl.bg" : (i % 2 ? "efl.label" : "efl.button");
            leaf["wid"] = "w" + std::to_string(made);
            leaf["properties"]["text"] = "item " + std::to_string(made);
            box["children"].append(leaf);
        }
        page["children"].append(box);
    }
    root["children"].append(page);
    return root;
}

inline std::string compact(const Json::Value& v)
{
    Json::StreamWriterBuilder b;
    b["indentation"] = "";
    return Json::writeString(b, v);
}

} // namespace bench
