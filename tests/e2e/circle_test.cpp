// Round-screen widgets and date-time fields, rendered by the real engine.
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

TEST(Circle, RoundPageDrawsArcsThatFollowTheValues)
{
    auto engine = startEngine();
    ASSERT_TRUE(engine);
    ASSERT_TRUE(createWindow(*engine, 1, SIDE, SIDE));
    Json::Value tree = round_page();
    ASSERT_TRUE(find(tree, "progress") && find(tree, "volume") && find(tree, "date"));

    Frame first;
    ASSERT_TRUE(render(*engine, 1, SIDE, SIDE, tree, first));
    savePng(first.paint, "e2e_round_page.png");
    std::vector<std::string> wids;
    collect_wids(tree, wids);
    ASSERT_EQ(first.widgets.size(), wids.size()) << engine->stderrText();
    for (Json::ArrayIndex i = 0; i < first.widgets.size(); ++i)
        EXPECT_EQ(first.widgets[i]["wid"], wids[i]);
    // 30% and 70% of [0, 100]; round caps reach a few degrees further.
    EXPECT_NEAR(sweep(first.paint, blue), 108, 6);
    EXPECT_NEAR(sweep(first.paint, orange), 252, 6);

    (*find(tree, "progress"))["properties"]["value"] = "80";
    (*find(tree, "volume"))["properties"]["value"] = "20";
    Frame second;
    ASSERT_TRUE(render(*engine, 1, SIDE, SIDE, tree, second));
    savePng(second.paint, "e2e_round_page_changed.png");
    EXPECT_NE(first.paint.pixels, second.paint.pixels);
    EXPECT_NEAR(sweep(second.paint, blue), 288, 6);
    EXPECT_NEAR(sweep(second.paint, orange), 72, 6);
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
    auto page = [](const char* year, const char* month, const char* date) {
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
        return node("zelva.doc", "doc", doc, kids);
    };
    Frame leap, autumn, again;
    ASSERT_TRUE(render(*engine, 2, SIDE, SIDE, page("2024", "2", "29"), leap));
    ASSERT_TRUE(render(*engine, 2, SIDE, SIDE, page("2023", "11", "5"), autumn));
    ASSERT_TRUE(render(*engine, 2, SIDE, SIDE, page("2024", "2", "29"), again));
    savePng(leap.paint, "e2e_datetime_2024_02_29.png");
    savePng(autumn.paint, "e2e_datetime_2023_11_05.png");
    std::vector<uint32_t> a = pixels_of(leap, "when"), b = pixels_of(autumn, "when");
    ASSERT_FALSE(a.empty());
    EXPECT_NE(a, b) << "two dates, two pictures";
    EXPECT_EQ(a, pixels_of(again, "when")) << "the same date draws the same fields";
}

} // namespace
