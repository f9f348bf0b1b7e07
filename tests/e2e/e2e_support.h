#pragma once
#include <gtest/gtest.h>
#include <json/json.h>

#include <memory>
#include <string>
#include <vector>

#include "client/client.h"
#include "image/image.h"
#include "tree_json.h"

namespace e2e {

inline const int WAIT_MS = 8000;

inline std::unique_ptr<client::Engine> startEngine(bool connect = true)
{
    client::Engine::Options options;
    options.binary = ENGINE_BINARY;
    options.workdir = SOURCE_DIR;
    options.connect = connect;
    std::string error;
    auto engine = client::Engine::start(options, &error);
    EXPECT_TRUE(engine) << error;
    return engine;
}

using tree_json::compact;
using tree_json::node;
using tree_json::parse;

inline std::string createData(int w, int h, const std::string& project = "/projects/a")
{
    Json::Value d;
    d["width"] = w;
    d["height"] = h;
    d["project-path"] = project;
    return compact(d);
}

inline std::string renderData(int w, int h, const Json::Value& tree)
{
    Json::Value d;
    d["width"] = w;
    d["height"] = h;
    d["render-data"] = compact(tree);
    return compact(d);
}

// One frame as the IDE receives it after a render.
struct Frame {
    client::Paint paint;
    Json::Value widgets;
    Json::Value placeholders;
    std::string placeholdersText;
};

// Waits for the next complete frame of `id` that carries positions (paint,
// widget and placeholder events, nothing in between). Paints of frames
// without a tree, such as an empty window's, are passed over.
inline bool nextFrame(client::Engine& engine, int id, Frame& out, int timeoutMs = WAIT_MS)
{
    std::vector<client::Message> before;
    auto widgets = engine.waitEvent("EVENT_GET_ALL_WIDGET_POSITIONS", id, timeoutMs, &before);
    if (!widgets || before.empty() || before.back().kind != client::Message::Kind::Paint || before.back().paint.id != id)
        return false;
    auto placeholders = engine.receive(timeoutMs);
    if (!placeholders || placeholders->kind != client::Message::Kind::Event
        || placeholders->event.name != "EVENT_GET_PLACEHOLDER_POSITIONS" || placeholders->event.id != id)
        return false;
    out.paint = before.back().paint;
    out.widgets = parse(widgets->data);
    out.placeholdersText = placeholders->event.data;
    out.placeholders = parse(out.placeholdersText);
    return true;
}

inline bool createWindow(client::Engine& engine, int id, int w, int h, const std::string& project = "/projects/a")
{
    return engine.sendRequest(id, "CMD_CREATE", createData(w, h, project))
        && engine.waitEvent("EVENT_CREATE", id, WAIT_MS).has_value();
}

// Renders and returns the first frame that carries the new tree.
inline bool render(client::Engine& engine, int id, int w, int h, const Json::Value& tree, Frame& out)
{
    if (!engine.sendRequest(id, "CMD_RENDER", renderData(w, h, tree)))
        return false;
    return nextFrame(engine, id, out);
}

// Sends a request that is answered without drawing anything (the group names
// of a theme file that does not exist) and collects what came before the
// answer. Requests run in order, so everything the earlier ones caused (their
// frames, and the deletion of the pages they replaced) has happened by then.
inline bool untilAnswered(client::Engine& engine, int id, std::vector<client::Message>* before = nullptr)
{
    Json::Value d;
    d["path"] = "/nonexistent/theme.edj";
    return engine.sendRequest(id, "CMD_GET_GROUP_NAMES", compact(d))
        && engine.waitEvent("EVENT_GET_GROUP_NAMES", id, WAIT_MS, before).has_value();
}

inline image::Image toImage(const client::Paint& p)
{
    image::Image img;
    img.width = p.width;
    img.height = p.height;
    img.pixels = p.pixels;
    return img;
}

inline void savePng(const client::Paint& p, const std::string& name)
{
    std::string error;
    EXPECT_TRUE(image::writePng(std::string(BUILD_DIR) + "/" + name, toImage(p), &error)) << error;
}

} // namespace e2e
