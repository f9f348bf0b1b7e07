// Selectors, toolbars and popups with their items through the real engine:
// two windows at once, every node in the positions, pictures for a look.
#include <chrono>
#include <set>
#include <string>
#include <vector>

#include "e2e_support.h"

namespace {

using namespace e2e;
using tree_json::kids;
using tree_json::props;

const int W = 720, H = 1280;

Json::Value filling(std::initializer_list<std::pair<const char*, const char*>> more = {})
{
    Json::Value p = props({ { "weight-x", "1" }, { "weight-y", "0" }, { "align-x", "FILL" }, { "align-y", "0.5" } });
    for (const auto& [k, v] : more)
        p[k] = v;
    return p;
}

Json::Value selectorsTree()
{
    Json::Value tools = node("efl.toolbar", "tools", filling({ { "shrink-mode", "4" } }),
                             kids({ node("efl.toolbaritem", "tool-home", props({ { "text", "Home" }, { "standard-icon", "home" } })),
                                    node("efl.toolbaritem", "tool-find", props({ { "text", "Find" }, { "standard-icon", "search" } })),
                                    node("efl.toolbaritem", "tool-chat", props({ { "text", "Chat" }, { "standard-icon", "chat" } })),
                                    node("efl.toolbaritem", "tool-files",
                                         props({ { "text", "Files" }, { "standard-icon", "folder" }, { "selected", "true" } })) }));
    Json::Value segments = node("efl.segmentcontrol", "period", filling(),
                                kids({ node("efl.segmentcontrolitem", "day", props({ { "text", "Day" } })),
                                       node("efl.segmentcontrolitem", "week", props({ { "text", "Week" }, { "selected", "true" } })),
                                       node("efl.segmentcontrolitem", "month", props({ { "text", "Month" } })) }));
    Json::Value flip = node("efl.flipselector", "year", Json::Value(),
                            kids({ node("efl.flipselectoritem", "y2024", props({ { "text", "2024" } })),
                                   node("efl.flipselectoritem", "y2025", props({ { "text", "2025" }, { "selected", "true" } })) }));
    Json::Value disk = node("efl.diskselector", "months", Json::Value(),
                            kids({ node("efl.diskselectoritem", "jan", props({ { "text", "Jan" } })),
                                   node("efl.diskselectoritem", "feb", props({ { "text", "Feb" } })),
                                   node("efl.diskselectoritem", "mar", props({ { "text", "Mar" } })) }));
    Json::Value entry = node("efl.multibuttonentry", "to", filling({ { "text", "To:" } }),
                             kids({ node("efl.multibuttonentryitem", "to-ana", props({ { "text", "Ana" } })),
                                    node("efl.multibuttonentryitem", "to-ben", props({ { "text", "Ben" } })) }));
    Json::Value page = node("efl.box", "page",
                            props({ { "weight-x", "1" }, { "weight-y", "1" }, { "align-x", "FILL" }, { "align-y", "FILL" } }),
                            kids({ tools, segments, flip, disk, entry }));
    return node("zelva.doc", "doc", props({ { "color", "#ffffff" } }), kids({ page }));
}

Json::Value popupsTree()
{
    Json::Value page = node("efl.box", "page2", Json::Value(), kids({ node("efl.label", "behind", props({ { "text", "Behind" } })) }));
    Json::Value popup = node("efl.popup", "confirm", props({ { "title", "Delete drafts?" }, { "height", "100" } }),
                             kids({ node("efl.label", "confirm-text", props({ { "text", "All drafts will be deleted." } })) }));
    Json::Value menu = node("efl.ctxpopup", "menu", Json::Value(),
                            kids({ node("efl.ctxpopupitem", "copy", props({ { "text", "Copy" } })),
                                   node("efl.ctxpopupitem", "paste", props({ { "text", "Paste" } })),
                                   node("efl.ctxpopupitem", "share", props({ { "text", "Share" } }),
                                        kids({ node("efl.icon", "share-icon", props({ { "standard", "mail-send" } })) })) }));
    return node("zelva.doc", "doc2", props({ { "color", "#ffffff" } }), kids({ page, popup, menu }));
}

void collectWids(const Json::Value& n, std::vector<std::string>& out)
{
    out.push_back(n["wid"].asString());
    for (const Json::Value& child : n["children"])
        collectWids(child, out);
}

struct Rect {
    int x, y, w, h;
};

Rect rectOf(const Frame& f, const std::string& wid)
{
    for (const Json::Value& e : f.widgets)
        if (e["wid"] == wid) {
            const Json::Value& r = e["rectangle"];
            return { r["x"].asInt(), r["y"].asInt(), r["w"].asInt(), r["h"].asInt() };
        }
    ADD_FAILURE() << "no position for " << wid;
    return { 0, 0, 0, 0 };
}

// Every node of `tree`, in order, with a rectangle inside the window (the
// content area may sit a pixel outside the canvas).
void expectEveryWidPlaced(const Frame& f, const Json::Value& tree)
{
    std::vector<std::string> wids;
    collectWids(tree, wids);
    ASSERT_EQ(f.widgets.size(), wids.size());
    for (Json::ArrayIndex i = 0; i < f.widgets.size(); ++i) {
        SCOPED_TRACE(wids[i]);
        EXPECT_EQ(f.widgets[i]["wid"], wids[i]);
        Rect r = rectOf(f, wids[i]);
        EXPECT_GE(r.x, -1);
        EXPECT_GE(r.y, -1);
        EXPECT_LE(r.x + r.w, W + 1);
        EXPECT_LE(r.y + r.h, H + 1);
        EXPECT_GT(r.w * r.h, 0);
    }
}

bool inside(const Rect& inner, const Rect& outer)
{
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.w <= outer.x + outer.w
        && inner.y + inner.h <= outer.y + outer.h;
}

// Some of these widgets settle over several frames (the toolbar lays its
// items out again, icons and popups animate in, a popup's content slides
// into place), so a render is judged by its last frame before the window
// stops drawing, within the usual deadline.
bool renderSettled(client::Engine& engine, int id, const Json::Value& tree, Frame& out)
{
    if (!render(engine, id, W, H, tree, out))
        return false;
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(WAIT_MS);
    Frame f;
    while (std::chrono::steady_clock::now() < until && nextFrame(engine, id, f, 400))
        out = f;
    return true;
}

uint32_t pixel(const Frame& f, int x, int y) { return f.paint.pixels[size_t(y) * f.paint.width + x] & 0xffffff; }

TEST(Selectors, TwoWindowsOfSelectorsAndPopupsWithEveryNodePlaced)
{
    auto engine = startEngine();
    ASSERT_TRUE(engine);
    ASSERT_TRUE(createWindow(*engine, 1, W, H));
    ASSERT_TRUE(createWindow(*engine, 2, W, H));

    Json::Value selectors = selectorsTree();
    Frame first;
    ASSERT_TRUE(renderSettled(*engine, 1, selectors, first));
    expectEveryWidPlaced(first, selectors);
    // Tracking-object items report their own rectangles, side by side in
    // their container; carrier items report their container's.
    Rect tools = rectOf(first, "tools");
    std::set<int> toolX;
    for (const char* wid : { "tool-home", "tool-find", "tool-chat", "tool-files" }) {
        Rect r = rectOf(first, wid);
        EXPECT_TRUE(inside(r, tools)) << wid;
        EXPECT_LT(r.w, tools.w) << wid;
        toolX.insert(r.x);
    }
    EXPECT_EQ(toolX.size(), 4u);
    EXPECT_LT(rectOf(first, "to-ana").x, rectOf(first, "to-ben").x);
    Rect period = rectOf(first, "period"), week = rectOf(first, "week");
    EXPECT_EQ(week.x, period.x);
    EXPECT_EQ(week.w, period.w);
    savePng(first.paint, "e2e_selectors.png");

    Json::Value popups = popupsTree();
    Frame second;
    ASSERT_TRUE(renderSettled(*engine, 2, popups, second));
    expectEveryWidPlaced(second, popups);
    // Both popups cover the window as the toolkit lays them out.
    for (const char* wid : { "confirm", "menu" }) {
        Rect r = rectOf(second, wid);
        EXPECT_LE(r.x, 0) << wid;
        EXPECT_LE(r.y, 0) << wid;
        EXPECT_GE(r.w, W) << wid;
        EXPECT_GE(r.h, H) << wid;
    }
    Rect copy = rectOf(second, "copy"), paste = rectOf(second, "paste"), share = rectOf(second, "share");
    EXPECT_LT(copy.h, H / 4) << "a row of the menu, not the whole popup";
    EXPECT_EQ(paste.y, copy.y + copy.h);
    EXPECT_EQ(share.y, paste.y + paste.h);
    EXPECT_TRUE(inside(rectOf(second, "share-icon"), share));
    EXPECT_GE(rectOf(second, "confirm-text").h, 100) << "the popup's height reaches its content";
    savePng(second.paint, "e2e_popups.png");
    EXPECT_NE(pixel(second, W - 2, H / 2), 0xffffffu) << "the page behind is dimmed";
    EXPECT_NE(pixel(second, paste.x + paste.w / 2, paste.y + 2), 0xffffffu) << "the menu row is drawn";

    // The other window's tree is untouched by renders and the destroy of
    // this one.
    Frame again;
    ASSERT_TRUE(renderSettled(*engine, 1, selectors, again));
    EXPECT_EQ(again.widgets, first.widgets);
    ASSERT_TRUE(engine->sendRequest(2, "CMD_DESTROY", ""));
    ASSERT_TRUE(engine->waitEvent("EVENT_DESTROY", 2, WAIT_MS));
    ASSERT_TRUE(renderSettled(*engine, 1, selectors, again));
    EXPECT_EQ(again.widgets, first.widgets);
    EXPECT_EQ(engine->stderrText().find("render-engine:"), std::string::npos) << engine->stderrText();
    EXPECT_FALSE(engine->exited());
}

} // namespace
