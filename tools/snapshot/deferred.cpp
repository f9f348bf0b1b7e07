#include "deferred.h"

namespace snapshot {

namespace {

struct Kept {
    const char* kind;
    const char* property;
    const char* start;  // the engine's value before any node set it
};

// The values the engine carries from node to node (deferred style and
// disable, the popup's content height), and their start values.
const Kept kKept[] = {
    { "efl.button", "style", "" },      { "efl.button", "disable", "" },  { "efl.check", "disable", "" },
    { "efl.radio", "disable", "" },     { "efl.progressbar", "disable", "" },
    { "efl.slider", "style", "" },      { "efl.slider", "disable", "" },  { "efl.spinner", "style", "" },
    { "efl.spinner", "disable", "" },   { "efl.multibuttonentry", "disable", "false" },
    { "efl.popup", "height", "-1" },
};

// Trees are parsed with the engine's own depth limit, so this is a guard only.
constexpr int kMaxDepth = 10000;

// The text the engine stores for a property value; anything it would not
// store as given counts as changed, so the reset is never skipped wrongly.
std::string stored(const Json::Value& v)
{
    if (v.isString())
        return v.asString();
    if (v.isBool())
        return v.asBool() ? "true" : "false";
    return v.isNull() ? "" : "\x01";
}

}  // namespace

void DeferredValues::absorb(const Json::Value& tree) { absorbNode(tree, 0); }

// Depth first, each node before its children: the order the engine builds in.
void DeferredValues::absorbNode(const Json::Value& node, int depth)
{
    if (!node.isObject() || depth > kMaxDepth)
        return;
    const Json::Value& type = node["widgetType"];
    const Json::Value& props = node["properties"];
    if (type.isString() && props.isObject()) {
        for (const Kept& k : kKept) {
            if (type.asString() != k.kind || !props.isMember(k.property))
                continue;
            std::string value = stored(props[k.property]);
            if (value == k.start)
                left_[k.kind].erase(k.property);
            else
                left_[k.kind][k.property] = value;
        }
    }
    const Json::Value& children = node["children"];
    if (children.isArray())
        for (const Json::Value& child : children)
            absorbNode(child, depth + 1);
}

std::optional<Json::Value> DeferredValues::resetTree() const
{
    Json::Value kids(Json::arrayValue);
    for (const auto& [kind, properties] : left_) {
        if (properties.empty())
            continue;
        Json::Value node;
        node["widgetType"] = kind;
        node["wid"] = "render-snapshot-reset-" + std::to_string(kids.size());
        for (const Kept& k : kKept)
            if (kind == k.kind)
                node["properties"][k.property] = k.start;
        kids.append(node);
    }
    if (kids.empty())
        return std::nullopt;
    Json::Value root;
    root["widgetType"] = "efl.box";
    root["wid"] = "render-snapshot-reset";
    root["children"] = kids;
    return root;
}

}  // namespace snapshot
