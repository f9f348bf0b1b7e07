// Every leaf widget kind in one tree, rendered at 720x1280 through the real engine.
#include <fstream>
#include <set>
#include <sstream>

#include "e2e_support.h"

namespace {

using namespace e2e;

void collectWids(const Json::Value& node, std::vector<std::string>& out)
{
    out.push_back(node["wid"].asString());
    for (const Json::Value& child : node["children"])
        collectWids(child, out);
}

TEST(Widgets, EveryKindRendersWithItsRectangleInsideTheWindow)
{
    std::ifstream in(std::string(SOURCE_DIR) + "/examples/widgets.json");
    std::stringstream text;
    text << in.rdbuf();
    Json::Value tree = parse(text.str());
    ASSERT_TRUE(tree.isObject());
    std::vector<std::string> wids;
    collectWids(tree, wids);

    auto engine = startEngine();
    ASSERT_TRUE(engine);
    ASSERT_TRUE(createWindow(*engine, 1, 720, 1280));
    auto empty = engine->waitPaint(1, WAIT_MS);
    ASSERT_TRUE(empty);
    Frame f;
    ASSERT_TRUE(render(*engine, 1, 720, 1280, tree, f));
    savePng(f.paint, "e2e_widgets.png");

    ASSERT_EQ(f.widgets.size(), wids.size()) << "a widget kind was not built: " << engine->stderrText();
    for (Json::ArrayIndex i = 0; i < f.widgets.size(); ++i) {
        const Json::Value& r = f.widgets[i]["rectangle"];
        SCOPED_TRACE(f.widgets[i]["wid"].asString());
        EXPECT_EQ(f.widgets[i]["wid"], wids[i]);
        // The window's content area sits one pixel outside the canvas on some
        // edges in the toolkit's default theme; anything more is a layout fault.
        EXPECT_GE(r["x"].asInt(), -1);
        EXPECT_GE(r["y"].asInt(), -1);
        EXPECT_LE(r["x"].asInt() + r["w"].asInt(), 721);
        EXPECT_LE(r["y"].asInt() + r["h"].asInt(), 1281);
        EXPECT_GT(r["w"].asInt() * r["h"].asInt(), 0);
    }
    EXPECT_NE(f.paint.pixels, empty->pixels) << "the frame looks like an empty window";
    std::set<uint32_t> colours(f.paint.pixels.begin(), f.paint.pixels.end());
    EXPECT_GT(colours.size(), 50u) << "widgets should draw text, frames and colours";
}

} // namespace
