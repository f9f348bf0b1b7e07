// Round-screen widgets and date-time fields, rendered by the real engine.
#include <chrono>
#include <cmath>
#include <fstream>
#include <functional>
#include <sstream>

#include "e2e_support.h"

namespace {

using namespace e2e;

const int SIDE = 360;

Json::Value round_page()
{
    std::ifstream in(std::string(SOURCE_DIR) + "/examples/round_page.json");
    std::stringstream text;
    text << in.rdbuf();
    return parse(text.str());
}

// The node with `wid` anywhere below `tree`.
Json::Value* find(Json::Value& tree, const std::string& wid)
{
    if (tree["wid"].asString() == wid)
        return &tree;
    for (Json::Value& child : tree["children"])
        if (Json::Value* hit = find(child, wid))
            return hit;
    return nullptr;
}

struct Rgb {
    int r, g, b;
};

Rgb rgb_at(const client::Paint& p, int i) { return { int(p.pixels[i] >> 16 & 0xff), int(p.pixels[i] >> 8 & 0xff), int(p.pixels[i] & 0xff) }; }

bool blue(Rgb c) { return c.b > 200 && c.r < 110 && c.g > 120 && c.g < 200; }
bool orange(Rgb c) { return c.r > 220 && c.g > 110 && c.g < 190 && c.b < 90; }

// Degrees that pixels passing `test` cover without a gap, clockwise from
// twelve o'clock around the window's centre.
int sweep(const client::Paint& p, const std::function<bool(Rgb)>& test)
{
    bool bins[360] = {};
    for (int i = 0; i < p.width * p.height; ++i) {
        if (!test(rgb_at(p, i)))
            continue;
        double dx = i % p.width + 0.5 - p.width / 2.0, dy = i / p.width + 0.5 - p.height / 2.0;
        double a = atan2(dx, -dy) * 180.0 / M_PI;
        bins[int(a < 0 ? a + 360.0 : a) % 360] = true;
    }
    int run = 0;
    while (run < 360 && bins[run])
        ++run;
    return run;
}

void collect_wids(const Json::Value& node, std::vector<std::string>& out)
{
    out.push_back(node["wid"].asString());
    for (const Json::Value& child : node["children"])
        collect_wids(child, out);
}

struct Box {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const Box&) const = default;
};

Box box_of(const Frame& f, const std::string& wid)
{
    for (const Json::Value& w : f.widgets)
        if (w["wid"].asString() == wid) {
            const Json::Value& r = w["rectangle"];
            return { r["x"].asInt(), r["y"].asInt(), r["w"].asInt(), r["h"].asInt() };
        }
    return {};
}

// The circle list's items, in node order, once each reports a rectangle of
// its own below the one before (items are placed after the frame that lays
// the list out): "" then, else what is wrong.
std::string items_placed(const Frame& f, const Json::Value& list)
{
    Box l = box_of(f, list["wid"].asString()), prev;
    for (const Json::Value& item : list["children"]) {
        Box r = box_of(f, item["wid"].asString());
        if (r == l || r.w <= 0 || r.h <= 0)
            return item["wid"].asString() + " is not placed";
        if (prev.h > 0 && r.y <= prev.y)
            return item["wid"].asString() + " is not below the item before it";
        prev = r;
    }
    Box top = box_of(f, list["children"][0]["wid"].asString());
    return top.y == l.y ? "" : "the first item is not at the list's top";
}

// Near-white pixels (list texts are grey) on the right-hand side of the ring inscribed in
// `b`, where a circle list's scroll indicator runs.
int indicator_pixels(const client::Paint& p, const Box& b)
{
    double cx = b.x + b.w / 2.0, cy = b.y + b.h / 2.0, r = std::min(b.w, b.h) / 2.0;
    int n = 0;
    for (int y = std::max(0, b.y); y < std::min(p.height, b.y + b.h); ++y)
        for (int x = b.x + b.w / 2; x < std::min(p.width, b.x + b.w); ++x) {
            Rgb c = rgb_at(p, y * p.width + x);
            double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            n += c.r > 200 && c.g > 200 && c.b > 200 && d > r * 0.8 && d <= r + 1 ? 1 : 0;
        }
    return n;
}

// Follows the frames after a render until `done` holds, bounded by a deadline.
bool frames_until(client::Engine& engine, int id, Frame& f, const std::function<bool(const Frame&)>& done)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(WAIT_MS);
    while (!done(f)) {
        if (std::chrono::steady_clock::now() > deadline || !nextFrame(engine, id, f))
            return false;
    }
    return true;
}

TEST(Circle, RoundPageDrawsArcsThatFollowTheValues)
{
    auto engine = startEngine();
    ASSERT_TRUE(engine);
    ASSERT_TRUE(createWindow(*engine, 1, SIDE, SIDE));
    Json::Value tree = round_page();
    ASSERT_TRUE(find(tree, "progress") && find(tree, "volume") && find(tree, "date") && find(tree, "alarms"));
    const Json::Value list = *find(tree, "alarms");
    ASSERT_EQ(list["children"].size(), 5u);

    Frame first;
    ASSERT_TRUE(render(*engine, 1, SIDE, SIDE, tree, first));
    std::string fault;
    ASSERT_TRUE(frames_until(*engine, 1, first, [&](const Frame& f) { return (fault = items_placed(f, list)).empty(); }))
        << fault;
    savePng(first.paint, "e2e_round_page.png");
    std::vector<std::string> wids;
    collect_wids(tree, wids);
    ASSERT_EQ(first.widgets.size(), wids.size()) << engine->stderrText();
    for (Json::ArrayIndex i = 0; i < first.widgets.size(); ++i)
        EXPECT_EQ(first.widgets[i]["wid"], wids[i]);
    // The list asks for its indicator always on.
    EXPECT_GT(indicator_pixels(first.paint, box_of(first, "alarms")), 100);
    // 30% and 70% of [0, 100]; round caps reach a few degrees further.
    EXPECT_NEAR(sweep(first.paint, blue), 108, 6);
    EXPECT_NEAR(sweep(first.paint, orange), 252, 6);

    (*find(tree, "progress"))["properties"]["value"] = "80";
    (*find(tree, "volume"))["properties"]["value"] = "20";
    (*find(tree, "alarms"))["properties"]["policy-v"] = "2";
    // Frames of the first tree may still be on their way: the new root's
    // name tells the second tree's apart.
    tree["wid"] = "round-changed";
    Frame second;
    ASSERT_TRUE(render(*engine, 1, SIDE, SIDE, tree, second));
    ASSERT_TRUE(frames_until(*engine, 1, second, [&](const Frame& f) {
        fault = f.widgets[0]["wid"] != tree["wid"] ? "still the first tree" : items_placed(f, list);
        return fault.empty();
    })) << fault;
    savePng(second.paint, "e2e_round_page_changed.png");
    EXPECT_NE(first.paint.pixels, second.paint.pixels);
    EXPECT_NEAR(sweep(second.paint, blue), 288, 6);
    EXPECT_NEAR(sweep(second.paint, orange), 72, 6);
    EXPECT_EQ(indicator_pixels(second.paint, box_of(second, "alarms")), 0) << "policy off hides the indicator";
    EXPECT_EQ(engine->stderrText().find("render-engine:"), std::string::npos) << "no node was refused";
}

// The pixels inside the rectangle reported for `wid`.
std::vector<uint32_t> pixels_of(const Frame& f, const std::string& wid)
{
    std::vector<uint32_t> out;
    for (const Json::Value& w : f.widgets) {
        if (w["wid"].asString() != wid)
            continue;
        const Json::Value& r = w["rectangle"];
        for (int y = std::max(0, r["y"].asInt()); y < std::min(f.paint.height, r["y"].asInt() + r["h"].asInt()); ++y)
            for (int x = std::max(0, r["x"].asInt()); x < std::min(f.paint.width, r["x"].asInt() + r["w"].asInt()); ++x)
                out.push_back(f.paint.pixels[size_t(y) * f.paint.width + x]);
    }
    return out;
}

TEST(Circle, DatetimeShowsTheDateItWasGiven)
{
    auto engine = startEngine();
    ASSERT_TRUE(engine);
    ASSERT_TRUE(createWindow(*engine, 2, SIDE, SIDE));
    // Each page has a root of its own: frames of the page before may still
    // be on their way, and the first frame may come before the fields are laid out.
    auto page = [](const char* root, const char* year, const char* month, const char* date) {
        Json::Value p;
        // Date fields only: a page drawn a second later must look the same.
        p["style"] = "date_layout";
        p["year"] = year;
        p["month"] = month;
        p["date"] = date;
        Json::Value kids(Json::arrayValue);
        kids.append(node("efl.datetime", "when", p));
        Json::Value doc;
        doc["color"] = "#202020";
        return node("zelva.doc", root, doc, kids);
    };
    auto show = [&](const Json::Value& tree, Frame& f) {
        return render(*engine, 2, SIDE, SIDE, tree, f) && frames_until(*engine, 2, f, [&](const Frame& g) {
            return g.widgets[0]["wid"] == tree["wid"] && !pixels_of(g, "when").empty();
        });
    };
    Frame leap, autumn, again;
    ASSERT_TRUE(show(page("leap", "2024", "2", "29"), leap));
    ASSERT_TRUE(show(page("autumn", "2023", "11", "5"), autumn));
    ASSERT_TRUE(show(page("again", "2024", "2", "29"), again));
    savePng(leap.paint, "e2e_datetime_2024_02_29.png");
    savePng(autumn.paint, "e2e_datetime_2023_11_05.png");
    std::vector<uint32_t> a = pixels_of(leap, "when"), b = pixels_of(autumn, "when");
    ASSERT_FALSE(a.empty());
    EXPECT_NE(a, b) << "two dates, two pictures";
    EXPECT_EQ(a, pixels_of(again, "when")) << "the same date draws the same fields";
}

} // namespace
