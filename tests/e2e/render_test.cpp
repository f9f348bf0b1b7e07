// Windows, rendering and frame emission against the real engine binary.
#include <set>

#include "e2e_support.h"

namespace {

using namespace e2e;

Json::Value filling()
{
    Json::Value p;
    p["weight-x"] = "1";
    p["weight-y"] = "1";
    p["align-x"] = "FILL";
    p["align-y"] = "FILL";
    return p;
}

Json::Value colored(const char* color, Json::Value p = filling())
{
    p["color"] = color;
    return p;
}

Json::Value cell(int left, int top, Json::Value p)
{
    p["pack-left"] = std::to_string(left);
    p["pack-top"] = std::to_string(top);
    p["pack-width"] = "1";
    p["pack-height"] = "1";
    return p;
}

// A document with a box holding a red background and a 2x2 table with one blue cell.
Json::Value sampleTree()
{
    Json::Value tableProps = filling();
    tableProps["col_count"] = "2";
    tableProps["row_count"] = "2";
    tableProps["homogeneous"] = "true";
    Json::Value tableKids(Json::arrayValue);
    tableKids.append(node("efl.bg", "blue", cell(1, 1, colored("#0000ff"))));
    Json::Value boxKids(Json::arrayValue);
    boxKids.append(node("efl.bg", "red", colored("#ff0000")));
    boxKids.append(node("efl.table", "table", tableProps, tableKids));
    Json::Value docKids(Json::arrayValue);
    docKids.append(node("efl.box", "box", filling(), boxKids));
    return node("zelva.doc", "doc", colored("#ffffff"), docKids);
}

uint32_t rgb(uint32_t argb) { return argb & 0xffffff; }

TEST(Render, FrameCarriesPixelsThenWidgetsThenPlaceholders)
{
    auto engine = startEngine();
    ASSERT_TRUE(engine);
    ASSERT_TRUE(engine->sendRequest(1, "CMD_CREATE", createData(360, 480)));
    ASSERT_TRUE(engine->waitEvent("EVENT_CREATE", 1, WAIT_MS));
    // The empty window paints without position events.
    auto empty = engine->waitPaint(1, WAIT_MS);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->width, 360);
    EXPECT_TRUE(engine->expectSilence(300));

    Frame f;
    ASSERT_TRUE(render(*engine, 1, 360, 480, sampleTree(), f));
    savePng(f.paint, "e2e_render_sample.png");
    ASSERT_EQ(f.paint.width, 360);
    ASSERT_EQ(f.paint.height, 480);

    ASSERT_EQ(f.widgets.size(), 5u);
    const char* order[] = { "doc", "box", "red", "table", "blue" };
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(f.widgets[i]["wid"], order[i]);
    auto rect = [&](int i) { return f.widgets[i]["rectangle"]; };
    EXPECT_EQ(rect(0)["w"], 360);
    EXPECT_EQ(rect(0)["h"], 480);
    // Children lie inside their parents, and the pixels match the rectangles.
    const std::pair<int, int> childParent[] = { { 1, 0 }, { 2, 1 }, { 3, 1 }, { 4, 3 } };
    for (auto [child, parent] : childParent) {
        EXPECT_GE(rect(child)["x"].asInt(), rect(parent)["x"].asInt());
        EXPECT_GE(rect(child)["y"].asInt(), rect(parent)["y"].asInt());
        EXPECT_LE(rect(child)["x"].asInt() + rect(child)["w"].asInt(), rect(parent)["x"].asInt() + rect(parent)["w"].asInt());
        EXPECT_LE(rect(child)["y"].asInt() + rect(child)["h"].asInt(), rect(parent)["y"].asInt() + rect(parent)["h"].asInt());
    }
    image::Image img = toImage(f.paint);
    auto centre = [&](int i) { return rgb(img.at(rect(i)["x"].asInt() + rect(i)["w"].asInt() / 2, rect(i)["y"].asInt() + rect(i)["h"].asInt() / 2)); };
    ASSERT_GT(rect(2)["w"].asInt(), 0);
    ASSERT_GT(rect(4)["h"].asInt(), 0);
    EXPECT_EQ(centre(2), 0xff0000u);
    EXPECT_EQ(centre(4), 0x0000ffu);

    ASSERT_EQ(f.placeholders.size(), 1u);
    EXPECT_EQ(f.placeholders[0]["wid"], "table");
    EXPECT_EQ(f.placeholders[0]["ph_cnt"], 4);
    EXPECT_EQ(f.placeholders[0]["ph_list"][3]["wid"], "blue");
    EXPECT_EQ(f.widgets[3]["placeholders"], f.placeholders[0]["ph_list"]);
}

TEST(Render, RerenderReplacesTheTreeAndQueriesAnswer)
{
    auto engine = startEngine();
    ASSERT_TRUE(engine);
    ASSERT_TRUE(createWindow(*engine, 3, 200, 200));
    Frame f;
    ASSERT_TRUE(render(*engine, 3, 200, 200, sampleTree(), f));
    ASSERT_TRUE(render(*engine, 3, 200, 200, node("efl.bg", "only", colored("#00ff00")), f));
    ASSERT_EQ(f.widgets.size(), 1u);
    EXPECT_EQ(f.widgets[0]["wid"], "only");
    EXPECT_EQ(f.placeholdersText, "null\n");
    EXPECT_EQ(rgb(toImage(f.paint).at(100, 100)), 0x00ff00u);

    ASSERT_TRUE(engine->sendRequest(3, "CMD_GET_ALL_WIDGET_POSITIONS", "{}"));
    auto widgets = engine->waitEvent("EVENT_GET_ALL_WIDGET_POSITIONS", 3, WAIT_MS);
    ASSERT_TRUE(widgets);
    EXPECT_EQ(parse(widgets->data), f.widgets);
    ASSERT_TRUE(engine->sendRequest(3, "CMD_GET_PLACEHOLDER_POSITIONS", ""));
    auto placeholders = engine->waitEvent("EVENT_GET_PLACEHOLDER_POSITIONS", 3, WAIT_MS);
    ASSERT_TRUE(placeholders);
    EXPECT_EQ(placeholders->data, "null\n");
}

TEST(Render, OnlyTheCurrentProjectReports)
{
    auto engine = startEngine();
    ASSERT_TRUE(engine);
    ASSERT_TRUE(createWindow(*engine, 1, 100, 100, "/projects/A"));
    ASSERT_TRUE(createWindow(*engine, 2, 100, 100, "/projects/B"));
    Frame f;
    ASSERT_TRUE(render(*engine, 2, 100, 100, node("efl.bg", "b"), f));
    // Window 1 renders but is not current after window 2 became current again... first make 1 current.
    ASSERT_TRUE(render(*engine, 1, 100, 100, node("efl.bg", "a"), f));
    EXPECT_EQ(f.paint.id, 1);
    // Now project B's window is silent even when it renders by itself; re-rendering it switches back.
    ASSERT_TRUE(engine->sendRequest(2, "CMD_GET_ALL_WIDGET_POSITIONS", ""));
    std::vector<client::Message> skipped;
    ASSERT_TRUE(engine->waitEvent("EVENT_GET_ALL_WIDGET_POSITIONS", 2, WAIT_MS, &skipped));
    for (const auto& m : skipped)
        EXPECT_FALSE(m.kind == client::Message::Kind::Paint && m.paint.id == 2);
    ASSERT_TRUE(render(*engine, 2, 100, 100, node("efl.bg", "b2"), f));
    EXPECT_EQ(f.widgets[0]["wid"], "b2");
}

TEST(Render, DestroySilencesTheWindowAndUnknownIdsAreSilent)
{
    auto engine = startEngine();
    ASSERT_TRUE(engine);
    ASSERT_TRUE(createWindow(*engine, 4, 64, 64));
    Frame f;
    ASSERT_TRUE(render(*engine, 4, 64, 64, sampleTree(), f));
    ASSERT_TRUE(engine->sendRequest(4, "CMD_DESTROY", ""));
    ASSERT_TRUE(engine->waitEvent("EVENT_DESTROY", 4, WAIT_MS));
    for (const char* cmd : { "CMD_DESTROY", "CMD_RENDER", "CMD_GET_ALL_WIDGET_POSITIONS", "CMD_GET_PLACEHOLDER_POSITIONS" })
        ASSERT_TRUE(engine->sendRequest(4, cmd, renderData(64, 64, node("efl.bg", "x"))));
    ASSERT_TRUE(engine->sendRequest(99, "CMD_RENDER", renderData(64, 64, node("efl.bg", "x"))));
    EXPECT_TRUE(engine->expectSilence(600));
    ASSERT_TRUE(createWindow(*engine, 4, 64, 64)) << "the id can be created again";
}

TEST(Render, SecondCreateOfAKnownIdOnlyAnswers)
{
    auto engine = startEngine();
    ASSERT_TRUE(engine);
    ASSERT_TRUE(createWindow(*engine, 5, 80, 60));
    ASSERT_TRUE(engine->sendRequest(5, "CMD_CREATE", createData(300, 300)));
    ASSERT_TRUE(engine->waitEvent("EVENT_CREATE", 5, WAIT_MS));
    Frame f;
    ASSERT_TRUE(render(*engine, 5, 80, 60, node("efl.bg", "bg"), f));
    EXPECT_EQ(f.paint.width, 80);
    EXPECT_EQ(f.widgets[0]["rectangle"]["h"], 60);
}

// Rendering at another size than the window was created with: the paint
// never reads outside the canvas and declares what it copied.
TEST(Render, PaintStaysInsideTheCanvasWhateverTheSizes)
{
    auto engine = startEngine();
    ASSERT_TRUE(engine);
    ASSERT_TRUE(createWindow(*engine, 6, 200, 100));
    Frame f;
    ASSERT_TRUE(render(*engine, 6, 100, 300, node("efl.bg", "bg", colored("#00ff00")), f));
    EXPECT_LE(f.paint.width, 200);
    EXPECT_LE(f.paint.height, 300);
    EXPECT_EQ(f.paint.pixels.size(), size_t(f.paint.width) * f.paint.height);
    ASSERT_TRUE(render(*engine, 6, 50, 40, node("efl.bg", "bg", colored("#00ff00")), f));
    EXPECT_EQ(f.paint.pixels.size(), size_t(f.paint.width) * f.paint.height);
}

TEST(Render, BadInputIsSurvivedAndTheNextRequestWorks)
{
    auto engine = startEngine();
    ASSERT_TRUE(engine);
    // Creates without a usable size make no window and send nothing.
    for (const char* data : { R"({"height": 10})", R"({"width": "10", "height": 10})", R"({"width": [1], "height": 2})",
                              R"({"width": 100000, "height": 100000})", R"([1,2])" })
        ASSERT_TRUE(engine->sendRequest(7, "CMD_CREATE", data));
    ASSERT_TRUE(engine->waitForStderrContaining("request 7 CMD_CREATE: \"width\" and \"height\" must both be given", WAIT_MS));
    ASSERT_TRUE(engine->sendRequest(7, "CMD_RENDER", renderData(10, 10, node("efl.bg", "x"))));
    EXPECT_TRUE(engine->expectSilence(500)) << "no window may exist for id 7";

    ASSERT_TRUE(createWindow(*engine, 8, 120, 120));
    Json::Value kids(Json::arrayValue);
    kids.append(node("efl.buton", "typo"));
    kids.append(node("efl.bg", "fine", colored("#ff0000")));
    Frame f;
    ASSERT_TRUE(render(*engine, 8, 120, 120, node("efl.box", "root", filling(), kids), f));
    ASSERT_EQ(f.widgets.size(), 2u);
    EXPECT_EQ(f.widgets[1]["wid"], "fine");
    EXPECT_TRUE(engine->waitForStderrContaining(
        "request 8 CMD_RENDER: node \"typo\": unknown widget type \"efl.buton\"; node and its children skipped", WAIT_MS));

    // Render data that is not JSON empties the window; a render without a size is refused.
    Json::Value data;
    data["width"] = 120;
    data["height"] = 120;
    data["render-data"] = "{oops";
    ASSERT_TRUE(engine->sendRequest(8, "CMD_RENDER", compact(data)));
    auto paint = engine->waitPaint(8, WAIT_MS);
    ASSERT_TRUE(paint);
    ASSERT_TRUE(engine->sendRequest(8, "CMD_RENDER", R"({"render-data": "{}"})"));
    ASSERT_TRUE(engine->sendRequest(8, "CMD_GET_ALL_WIDGET_POSITIONS", ""));
    EXPECT_TRUE(engine->expectSilence(500)) << "an empty window has no positions to report";
    ASSERT_TRUE(render(*engine, 8, 120, 120, node("efl.bg", "back"), f));
    EXPECT_EQ(f.widgets[0]["wid"], "back");
    EXPECT_FALSE(engine->exited());
}

} // namespace
