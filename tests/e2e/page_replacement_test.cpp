// A render replaces the window's page. Nothing of the old page may show
// through: one frame per render of a tree that draws at once, only the new
// page placed, and nothing of the new tree joins a widget of the old page.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "e2e_support.h"

namespace {

using namespace e2e;

std::vector<client::Message> answeredAfter(client::Engine& engine, int id)
{
    std::vector<client::Message> before;
    EXPECT_TRUE(untilAnswered(engine, id, &before)) << engine.lastError();
    return before;
}

int paints(const std::vector<client::Message>& messages)
{
    int n = 0;
    for (const client::Message& m : messages)
        n += m.kind == client::Message::Kind::Paint;
    return n;
}

struct PlacedFrame {
    const client::Paint* paint;
    Json::Value widgets;
};

// The frames among `messages` that place the tree rooted at `root`: a page
// rendered before may still send frames of its own until it goes.
std::vector<PlacedFrame> framesOf(const std::vector<client::Message>& messages, const std::string& root)
{
    std::vector<PlacedFrame> frames;
    for (size_t i = 0; i + 1 < messages.size(); ++i) {
        const client::Message& positions = messages[i + 1];
        if (messages[i].kind != client::Message::Kind::Paint || positions.kind != client::Message::Kind::Event
            || positions.event.name != "EVENT_GET_ALL_WIDGET_POSITIONS")
            continue;
        Json::Value widgets = parse(positions.event.data);
        if (widgets.isArray() && widgets.size() > 0 && widgets[0].get("wid", "").asString() == root)
            frames.push_back({ &messages[i].paint, widgets });
    }
    return frames;
}

Json::Value labelled(const char* label)
{
    Json::Value p;
    p["label"] = label;
    return p;
}

// Backgrounds draw in one frame (text and buttons may ask for a second).
Json::Value arrayOf(const Json::Value& one)
{
    Json::Value a(Json::arrayValue);
    a.append(one);
    return a;
}

Json::Value backgrounds(const std::string& root, int count)
{
    Json::Value kids(Json::arrayValue);
    for (int i = 0; i < count; ++i) {
        Json::Value props;
        props["color"] = i % 2 ? "#336699" : "#996633";
        kids.append(node("efl.bg", root + "_" + std::to_string(i), props));
    }
    return node("efl.box", root, Json::Value(), kids);
}

TEST(PageReplacement, EachRenderSendsOneFrameAndTheOldPagesDeletionNone)
{
    auto engine = startEngine();
    ASSERT_TRUE(engine);
    // A small window draws at once, a large one on the toolkit's render thread.
    for (auto [w, h] : { std::pair(360, 480), std::pair(1440, 4096) }) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        ASSERT_TRUE(createWindow(*engine, 1, w, h));
        ASSERT_TRUE(untilAnswered(*engine, 1)); // the new window's own frame
        for (int round = 0; round < 4; ++round) {
            SCOPED_TRACE(round);
            std::string root = "r" + std::to_string(w) + "_" + std::to_string(round);
            ASSERT_TRUE(engine->sendRequest(1, "CMD_RENDER", renderData(w, h, backgrounds(root, 40))));
            std::vector<client::Message> before = answeredAfter(*engine, 1);
            EXPECT_EQ(paints(before), 1);
            int shown = 0;
            for (const client::Message& m : before) {
                if (m.kind != client::Message::Kind::Event || m.event.name != "EVENT_GET_ALL_WIDGET_POSITIONS")
                    continue;
                Json::Value doc = parse(m.event.data);
                ASSERT_TRUE(doc.isArray()) << m.event.data;
                shown += 1;
                EXPECT_EQ(doc.size(), 41u) << "only the new page is placed";
                EXPECT_NE(m.event.data.find("\"" + root + "\""), std::string::npos);
            }
            EXPECT_EQ(shown, 1);
        }
    }
    EXPECT_FALSE(engine->exited());
}

// Replaces `old` with `next` (rooted at `nextRoot`) in one engine: the frame
// must be the one a fresh engine draws for `next`, and the old page's
// deletion must send none.
void expectOnlyTheNewPage(const Json::Value& old, const Json::Value& next, const std::string& nextRoot)
{
    auto engine = startEngine();
    ASSERT_TRUE(engine);
    ASSERT_TRUE(createWindow(*engine, 1, 360, 480));
    ASSERT_TRUE(engine->sendRequest(1, "CMD_RENDER", renderData(360, 480, old)));
    ASSERT_TRUE(untilAnswered(*engine, 1));
    ASSERT_TRUE(engine->sendRequest(1, "CMD_RENDER", renderData(360, 480, next)));
    std::vector<client::Message> replaced = answeredAfter(*engine, 1);

    // The same tree in a fresh engine: the same places and the same pixels.
    auto fresh = startEngine();
    ASSERT_TRUE(fresh);
    ASSERT_TRUE(createWindow(*fresh, 1, 360, 480));
    Frame expected;
    ASSERT_TRUE(render(*fresh, 1, 360, 480, next, expected));
    std::vector<PlacedFrame> frames = framesOf(replaced, nextRoot);
    ASSERT_EQ(frames.size(), 1u) << "one frame of the new page, none for the old one's deletion";
    EXPECT_EQ(frames[0].widgets, expected.widgets);
    EXPECT_TRUE(frames[0].paint->pixels == expected.paint.pixels) << "the frame differs from a fresh render's";
    EXPECT_FALSE(engine->exited());
}

Json::Value sixtyButtons()
{
    Json::Value buttons(Json::arrayValue);
    for (int i = 0; i < 60; ++i)
        buttons.append(node("efl.button", "old_" + std::to_string(i), labelled("Old")));
    return node("efl.box", "old-box", Json::Value(), buttons);
}

// A document's children are laid out by the window itself, not by the
// document: replacing a document page must take them out of the window too,
// or the old page still shows and shapes the new page's frame, and its
// deletion sends a second one.
TEST(PageReplacement, ADocumentsChildrenLeaveTheWindowWithTheirPage)
{
    Json::Value small = node("zelva.doc", "new-doc", Json::Value(), arrayOf(backgrounds("new-box", 3)));
    expectOnlyTheNewPage(node("zelva.doc", "old-doc", Json::Value(), arrayOf(sixtyButtons())), small, "new-doc");
}

// A widget that cannot hold children (a background) still shows the ones a
// tree gives it, on their own; hiding the old page's root does not hide them.
TEST(PageReplacement, ChildrenTheirParentCannotHoldLeaveWithTheirPage)
{
    Json::Value small = node("efl.box", "new-box", Json::Value(), arrayOf(node("efl.button", "new", labelled("New"))));
    expectOnlyTheNewPage(node("efl.bg", "old-bg", Json::Value(), arrayOf(sixtyButtons())), small, "new-box");
}

// Whatever page a window showed before, every frame of the next page is the
// one a fresh engine draws for it: every example tree (documents, popups,
// lists, circle widgets, file pickers) in turn. After an animated page the
// toolkit may draw the new page twice; both frames must be right.
TEST(PageReplacement, AfterEveryExampleTheNextFrameIsAFreshEnginesFrame)
{
    const int W = 720, H = 1280;
    Json::Value next = backgrounds("next", 3);
    auto fresh = startEngine();
    ASSERT_TRUE(fresh);
    ASSERT_TRUE(createWindow(*fresh, 1, W, H));
    Frame expected;
    ASSERT_TRUE(render(*fresh, 1, W, H, next, expected));

    auto engine = startEngine();
    ASSERT_TRUE(engine);
    ASSERT_TRUE(createWindow(*engine, 1, W, H));
    int examples = 0;
    for (const auto& file : std::filesystem::directory_iterator(std::string(SOURCE_DIR) + "/examples")) {
        if (file.path().extension() != ".json")
            continue;
        SCOPED_TRACE(file.path().filename().string());
        ++examples;
        std::ifstream in(file.path());
        std::stringstream text;
        text << in.rdbuf();
        ASSERT_TRUE(engine->sendRequest(1, "CMD_RENDER", renderData(W, H, parse(text.str()))));
        ASSERT_TRUE(untilAnswered(*engine, 1));
        ASSERT_TRUE(engine->sendRequest(1, "CMD_RENDER", renderData(W, H, next)));
        std::vector<client::Message> replaced = answeredAfter(*engine, 1);
        std::vector<PlacedFrame> frames = framesOf(replaced, "next");
        EXPECT_GE(frames.size(), 1u);
        for (const PlacedFrame& f : frames) {
            EXPECT_TRUE(f.paint->pixels == expected.paint.pixels) << "a frame differs from a fresh engine's";
            EXPECT_EQ(f.widgets, expected.widgets);
        }
    }
    EXPECT_GE(examples, 10);
    EXPECT_FALSE(engine->exited());
}

TEST(PageReplacement, ATabDoesNotJoinTheTabBarOfTheReplacedPage)
{
    auto engine = startEngine();
    ASSERT_TRUE(engine);
    ASSERT_TRUE(createWindow(*engine, 1, 480, 800));
    Json::Value tab = node("efl.tabbaritem", "tab-old", labelled("Old"));
    Json::Value tabs = node("efl.tabbar", "tabs", Json::Value(), arrayOf(tab));
    Frame frame;
    ASSERT_TRUE(render(*engine, 1, 480, 800, node("efl.box", "first", Json::Value(), arrayOf(tabs)), frame));

    // The next tree's tab has no tab bar of its own; the only one the engine
    // made is on the page this render replaces.
    Json::Value stray = node("efl.tabbaritem", "stray", labelled("Stray"));
    Json::Value second = node("efl.box", "second", Json::Value(), arrayOf(stray));
    ASSERT_TRUE(render(*engine, 1, 480, 800, second, frame));
    ASSERT_TRUE(untilAnswered(*engine, 1));
    std::string said = engine->stderrText();
    EXPECT_NE(said.find("node \"stray\""), std::string::npos) << said;
    EXPECT_NE(said.find("no tab bar to join"), std::string::npos) << said;
    for (const Json::Value& w : frame.widgets)
        EXPECT_NE(w.get("wid", "").asString(), "stray");
    EXPECT_FALSE(engine->exited());
}

} // namespace
