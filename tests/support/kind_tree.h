#pragma once
#include <json/json.h>

#include <fstream>
#include <sstream>
#include <string>

#include "tree_json.h"

// Trees made of many instances of one widget kind, each a copy of that kind's
// node in an example tree (its properties and children), laid out on a grid.
namespace kind_tree {

inline Json::Value load(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return tree_json::parse(text.str());
}

// The first node of `type` in `tree`, depth first; null when there is none.
inline Json::Value find(const Json::Value& tree, const std::string& type)
{
    if (tree.get("widgetType", "").asString() == type)
        return tree;
    for (const Json::Value& child : tree["children"]) {
        Json::Value found = find(child, type);
        if (!found.isNull())
            return found;
    }
    return Json::Value();
}

// A document whose 10x10 grid holds `copies` copies of `sample` (any number
// up to 50 fits, five to a row), each given its own id and grid cell.
inline Json::Value copies(const Json::Value& sample, int copies)
{
    Json::Value grid = tree_json::node("efl.grid", "plane");
    grid["properties"]["col_count"] = "10";
    grid["properties"]["row_count"] = "10";
    const std::string type = sample["widgetType"].asString();
    for (int i = 0; i < copies; ++i) {
        Json::Value w = sample;
        w["wid"] = type + "-" + std::to_string(i);
        w["properties"]["pack-left"] = std::to_string(i % 5 * 2);
        w["properties"]["pack-top"] = std::to_string(i / 5);
        w["properties"]["pack-width"] = "2";
        w["properties"]["pack-height"] = "1";
        grid["children"].append(w);
    }
    Json::Value doc = tree_json::node("zelva.doc", "doc");
    doc["children"].append(grid);
    return doc;
}

} // namespace kind_tree
