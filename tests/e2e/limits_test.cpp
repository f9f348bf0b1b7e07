// Input past what the engine can honour, through the real binary: refused
// with one diagnostic line naming the request, the engine alive, the window
// still showing its previous tree; pages larger than any canvas clipped.
#include <algorithm>

#include "e2e_support.h"

namespace {

using namespace e2e;

// Written as text: the test's own JSON library would recurse as deep.
std::string nestedBoxes(int depth)
{
    std::string text;
    for (int i = depth; i > 0; --i)
        text += R"({"widgetType":"efl.box","wid":"b)" + std::to_string(i) + R"(","children":[)";
    text += R"({"widgetType":"efl.button","wid":"leaf"})";
    for (int i = 0; i < depth; ++i)
        text += "]}";
    return text;
}

std::string renderText(int w, int h, const std::string& tree)
{
    Json::Value d;
    d["width"] = w;
    d["height"] = h;
    d["render-data"] = tree;
    return compact(d);
}

// The first frame of the new tree: frames of the previous tree may still be
// on their way when the render is sent.
bool renderTree(client::Engine& engine, const std::string& tree, Frame& out)
{
    std::string root = parse(tree)["wid"].asString();
    if (!engine.sendRequest(1, "CMD_RENDER", renderText(360, 480, tree)))
        return false;
    while (nextFrame(engine, 1, out))
        if (out.widgets.size() > 0 && out.widgets[0]["wid"] == root)
            return true;
    return false;
}

bool renderTree(client::Engine& engine, const Json::Value& tree, Frame& out)
{
    return renderTree(engine, compact(tree), out);
}

Json::Value labels(int count, const std::string& root = "labels")
{
    Json::Value kids(Json::arrayValue);
    for (int i = 0; i < count; ++i) {
        Json::Value p;
        p["text"] = "label " + std::to_string(i);
        kids.append(node("efl.label", "l" + std::to_string(i), p));
    }
    return node("efl.box", root, Json::Value(), kids);
}

std::vector<std::string> wids(const Json::Value& positions)
{
    std::vector<std::string> out;
    for (const Json::Value& w : positions)
        out.push_back(w["wid"].asString());
    return out;
}

size_t count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

class Limits : public ::testing::Test {
protected:
    std::unique_ptr<client::Engine> engine = startEngine();
    Frame first;

    void SetUp() override
    {
        ASSERT_TRUE(engine);
        ASSERT_TRUE(createWindow(*engine, 1, 360, 480));
        ASSERT_TRUE(renderTree(*engine, nestedBoxes(3), first));
    }

    // The window still answers with the first tree, and the engine is alive.
    void expectFirstTreeKept()
    {
        ASSERT_TRUE(engine->sendRequest(1, "CMD_GET_ALL_WIDGET_POSITIONS", "{}"));
        auto answer = engine->waitEvent("EVENT_GET_ALL_WIDGET_POSITIONS", 1, WAIT_MS);
        ASSERT_TRUE(answer) << engine->lastError() << engine->stderrText();
        EXPECT_EQ(wids(parse(answer->data)), wids(first.widgets));
        EXPECT_FALSE(engine->exited());
    }
};

TEST_F(Limits, DeepTreesAreRefusedBeforeTheWindowLosesItsTree)
{
    for (int depth : { 65, 500, 2000, 20000 }) {
        SCOPED_TRACE(depth);
        ASSERT_TRUE(engine->sendRequest(1, "CMD_RENDER", renderText(360, 480, nestedBoxes(depth))));
        std::string line = "request 1 CMD_RENDER: ";
        ASSERT_TRUE(engine->waitForStderrContaining(
            line + (depth < 120 ? "widget tree nests deeper than 64 levels" : "render data nests arrays and objects deeper"),
            WAIT_MS));
        expectFirstTreeKept();
    }
    // 64 levels is within the limit and replaces the tree.
    Frame deepest;
    ASSERT_TRUE(renderTree(*engine, nestedBoxes(63), deepest));
    EXPECT_EQ(deepest.widgets.size(), 64u);
    EXPECT_EQ(count(engine->stderrText(), "the window keeps its previous tree"), 4u) << "one line per refusal";
}

TEST_F(Limits, TooManyNodesAreRefused)
{
    ASSERT_TRUE(engine->sendRequest(1, "CMD_RENDER", renderData(360, 480, labels(5000))));
    ASSERT_TRUE(engine->waitForStderrContaining("widget tree has more than 5000 nodes", WAIT_MS));
    expectFirstTreeKept();
}

TEST_F(Limits, DeepCommandDataIsRefusedAndTheNextRequestRuns)
{
    std::string deep = std::string(5000, '[') + std::string(5000, ']');
    ASSERT_TRUE(engine->sendRequest(1, "CMD_RENDER", deep));
    ASSERT_TRUE(engine->waitForStderrContaining(
        "request 1 CMD_RENDER: command data nests arrays and objects deeper than the limit of 256 levels", WAIT_MS));
    expectFirstTreeKept();
}

TEST_F(Limits, DeepBodyStopsExecutionButNotTheEngine)
{
    std::string body = std::string(5000, '[') + std::string(5000, ']');
    ASSERT_TRUE(engine->sendFrame(body));
    ASSERT_TRUE(engine->waitForStderrContaining(
        "request body nests arrays and objects deeper than the limit of 256 levels; request execution stops", WAIT_MS));
    // As for any body that is no envelope, nothing more is executed.
    ASSERT_TRUE(engine->sendRequest(1, "CMD_GET_ALL_WIDGET_POSITIONS", "{}"));
    EXPECT_TRUE(engine->expectSilence(500));
    EXPECT_FALSE(engine->exited());
}

TEST_F(Limits, APageLargerThanAnyCanvasIsClipped)
{
    Json::Value huge;
    huge["text"] = "<item size=99999x99999 vsize=full></item>";
    Json::Value kids(Json::arrayValue);
    kids.append(node("efl.label", "huge", huge));
    Frame f;
    ASSERT_TRUE(renderTree(*engine, node("efl.box", "root", Json::Value(), kids), f));
    savePng(f.paint, "e2e_limits_clipped_page.png");
    EXPECT_EQ(f.paint.width, 360);
    EXPECT_EQ(f.paint.height, 480);
    ASSERT_EQ(f.widgets.size(), 2u);
    EXPECT_LE(f.widgets[0]["rectangle"]["w"].asInt(), 8192);
    EXPECT_LE(f.widgets[0]["rectangle"]["h"].asInt(), 8192);
    EXPECT_TRUE(engine->waitForStderrContaining(
        "node \"root\": the page needs 129998x129998 pixels; the canvas stays within 8192x8192", WAIT_MS));

}

TEST_F(Limits, HugeNumbersNeitherCrashNorStall)
{
    const char* numbers[] = { "2147483647", "-2147483648", "1e308", "99999999999999999999999", "-1e308" };
    const char* properties[] = { "padding_h", "padding_v", "col_count", "row_count", "pack-left", "pack-width",
                                 "min", "max", "value", "size", "weight-x", "align-x", "text" };
    for (const char* number : numbers) {
        Json::Value kids(Json::arrayValue);
        for (const char* type : { "efl.table", "efl.box", "efl.grid", "efl.slider", "efl.spinner", "efl.icon" }) {
            Json::Value p;
            for (const char* name : properties)
                p[name] = number;
            Json::Value child(Json::arrayValue);
            child.append(node("efl.button", std::string(type) + ".button", p));
            kids.append(node(type, type, p, child));
        }
        SCOPED_TRACE(number);
        Frame f;
        ASSERT_TRUE(renderTree(*engine, node("efl.box", std::string("root ") + number, Json::Value(), kids), f))
            << engine->lastError() << engine->stderrText().substr(0, 2000);
        EXPECT_EQ(f.paint.width, 360);
        EXPECT_EQ(f.paint.height, 480);
    }
}

} // namespace
