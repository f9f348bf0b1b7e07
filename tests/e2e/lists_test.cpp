// Every list kind and its items in one tree at 720x1280, rendered through the
// real engine: items realize after the layout that places them, so the test
// follows the frames after the render until they show every item placed.
#include <chrono>
#include <fstream>
#include <set>
#include <sstream>

#include "e2e_support.h"

namespace {

using namespace e2e;

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const Rect&) const = default;
};

Rect rectOf(const Json::Value& element)
{
    const Json::Value& r = element["rectangle"];
    return { r["x"].asInt(), r["y"].asInt(), r["w"].asInt(), r["h"].asInt() };
}

std::string str(const Rect& r)
{
    return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.w) + "x" + std::to_string(r.h);
}

struct NodeInfo {
    std::string wid;
    std::string type;
    int parent;
};

// The tree's nodes in pre-order, the order of the positions document.
void flatten(const Json::Value& n, int parent, std::vector<NodeInfo>& out)
{
    out.push_back({ n["wid"].asString(), n["widgetType"].asString(), parent });
    int self = int(out.size()) - 1;
    for (const Json::Value& child : n["children"])
        flatten(child, self, out);
}

const std::set<std::string> LIST_KINDS = { "efl.genlist", "efl.gengrid", "efl.list", "efl.index" };

// The list an item node belongs to (nested genlist items too), or -1.
int listOf(const std::vector<NodeInfo>& nodes, int i)
{
    for (int p = nodes[i].parent; p >= 0; p = nodes[p].parent)
        if (LIST_KINDS.count(nodes[p].type))
            return p;
    return -1;
}

bool isItem(const NodeInfo& n) { return n.type.ends_with("item"); }

// "" when every item has a rectangle of its own inside its list, distinct
// from its siblings' and following node order (top to bottom, then left to
// right); otherwise what is wrong first.
std::string placementFault(const Json::Value& widgets, const std::vector<NodeInfo>& nodes)
{
    if (widgets.size() != nodes.size())
        return "expected " + std::to_string(nodes.size()) + " elements, got " + std::to_string(widgets.size());
    std::map<int, Rect> lastOfList;
    for (size_t i = 0; i < nodes.size(); ++i) {
        if (widgets[int(i)]["wid"].asString() != nodes[i].wid)
            return "element " + std::to_string(i) + " is not " + nodes[i].wid;
        int list = listOf(nodes, int(i));
        if (!isItem(nodes[i]) || list < 0)
            continue;
        Rect r = rectOf(widgets[int(i)]), l = rectOf(widgets[list]);
        const std::string& wid = nodes[i].wid;
        if (r == l)
            return wid + " reports its list's rectangle (not realized)";
        if (r.w <= 0 || r.h <= 0 || r.x < l.x - 1 || r.y < l.y - 1 || r.x + r.w > l.x + l.w + 1 || r.y + r.h > l.y + l.h + 1)
            return wid + " " + str(r) + " lies outside its list " + str(l);
        if (auto prev = lastOfList.find(list); prev != lastOfList.end()) {
            const Rect& p = prev->second;
            if (!(r.y > p.y || (r.y == p.y && r.x > p.x)))
                return wid + " " + str(r) + " is not after the item before it " + str(p);
        }
        lastOfList[list] = r;
    }
    return "";
}

Json::Value example(const char* name)
{
    std::ifstream in(std::string(SOURCE_DIR) + "/examples/" + name);
    std::stringstream text;
    text << in.rdbuf();
    return parse(text.str());
}

// Follows the frames of `id` after a render until every item is placed,
// bounded by a deadline. The last frame read is left in `f`.
bool framesUntilPlaced(client::Engine& engine, int id, const std::vector<NodeInfo>& nodes, Frame& f, std::string& fault)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(WAIT_MS);
    while (std::chrono::steady_clock::now() < deadline) {
        if (!nextFrame(engine, id, f))
            return false;
        fault = placementFault(f.widgets, nodes);
        if (fault.empty())
            return true;
    }
    return false;
}

std::optional<Json::Value> askPositions(client::Engine& engine, int id)
{
    if (!engine.sendRequest(id, "CMD_GET_ALL_WIDGET_POSITIONS", "{}"))
        return std::nullopt;
    auto event = engine.waitEvent("EVENT_GET_ALL_WIDGET_POSITIONS", id, WAIT_MS);
    if (!event)
        return std::nullopt;
    return parse(event->data);
}

// Distinct colours inside a rectangle: anti-aliased text draws several, an
// empty list background one or two.
size_t coloursIn(const client::Paint& p, const Rect& r)
{
    std::set<uint32_t> colours;
    for (int y = std::max(r.y, 0); y < std::min(r.y + r.h, p.height); ++y)
        for (int x = std::max(r.x, 0); x < std::min(r.x + r.w, p.width); ++x)
            colours.insert(p.pixels[size_t(y) * p.width + x]);
    return colours.size();
}

TEST(Lists, EveryItemIsPlacedInsideItsListInNodeOrder)
{
    Json::Value tree = example("lists.json");
    ASSERT_TRUE(tree.isObject());
    std::vector<NodeInfo> nodes;
    flatten(tree, -1, nodes);

    auto engine = startEngine();
    ASSERT_TRUE(engine);
    ASSERT_TRUE(createWindow(*engine, 1, 720, 1280));
    ASSERT_TRUE(engine->sendRequest(1, "CMD_RENDER", renderData(720, 1280, tree)));
    Frame f;
    std::string fault;
    ASSERT_TRUE(framesUntilPlaced(*engine, 1, nodes, f, fault)) << fault << "\n" << engine->stderrText();
    // The frames still coming (the index fades in) keep every item in place;
    // the last one is the settled picture.
    Frame later;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(WAIT_MS);
    while (std::chrono::steady_clock::now() < deadline && nextFrame(*engine, 1, later, 1000)) {
        EXPECT_EQ(placementFault(later.widgets, nodes), "");
        f = later;
    }
    savePng(f.paint, "e2e_lists.png");

    // Asked again once placed, the engine reports the same rectangles: the
    // placement is where the window settles, not a passing state.
    auto asked = askPositions(*engine, 1);
    ASSERT_TRUE(asked);
    EXPECT_EQ(placementFault(*asked, nodes), "");
    for (size_t i = 0; i < nodes.size(); ++i) {
        SCOPED_TRACE(nodes[i].wid);
        EXPECT_EQ(rectOf((*asked)[int(i)]), rectOf(f.widgets[int(i)]));
        if (LIST_KINDS.count(nodes[i].type)) {
            EXPECT_GT(coloursIn(f.paint, rectOf(f.widgets[int(i)])), 3u) << "the list draws its items' texts";
        }
    }
}

// Two windows with lists at once: re-rendering and destroying one leaves the
// other's items (and the classes they show) intact.
TEST(Lists, TwoWindowsKeepTheirListsIndependently)
{
    Json::Value lists = example("lists.json"), contacts = example("contacts.json");
    std::vector<NodeInfo> listNodes, contactNodes;
    flatten(lists, -1, listNodes);
    flatten(contacts, -1, contactNodes);

    auto engine = startEngine();
    ASSERT_TRUE(engine);
    ASSERT_TRUE(createWindow(*engine, 1, 720, 1280));
    ASSERT_TRUE(createWindow(*engine, 2, 720, 1280));
    Frame f;
    std::string fault;
    ASSERT_TRUE(engine->sendRequest(2, "CMD_RENDER", renderData(720, 1280, contacts)));
    ASSERT_TRUE(framesUntilPlaced(*engine, 2, contactNodes, f, fault)) << fault;
    Json::Value settled = f.widgets;
    savePng(f.paint, "e2e_lists_contacts.png");

    Json::Value plain = node("efl.bg", "plain");
    for (int round = 0; round < 10; ++round) {
        ASSERT_TRUE(engine->sendRequest(1, "CMD_RENDER", renderData(720, 1280, round % 2 ? plain : lists)));
        ASSERT_TRUE(round % 2 || framesUntilPlaced(*engine, 1, listNodes, f, fault)) << fault;
        auto other = askPositions(*engine, 2);
        ASSERT_TRUE(other) << "round " << round;
        EXPECT_EQ(*other, settled) << "round " << round;
    }
    ASSERT_TRUE(engine->sendRequest(1, "CMD_DESTROY", "{}"));
    ASSERT_TRUE(engine->waitEvent("EVENT_DESTROY", 1, WAIT_MS));
    // Re-rendered after the other window is gone, window 2 builds and places
    // its items with the classes that survived.
    ASSERT_TRUE(engine->sendRequest(2, "CMD_RENDER", renderData(720, 1280, contacts)));
    ASSERT_TRUE(framesUntilPlaced(*engine, 2, contactNodes, f, fault)) << fault;
    EXPECT_EQ(f.widgets, settled);
    EXPECT_FALSE(engine->exited());
}

} // namespace
