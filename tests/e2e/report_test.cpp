// The visual report as a reviewer gets it: render-snapshot writes it for a
// batch compared with goldens, and a real browser opens it from disk.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "e2e_support.h"
#include "html_scan.h"
#include "image/image.h"
#include "run_program.h"

namespace {

using namespace e2e;
namespace fs = std::filesystem;
using html_scan::Element;

const std::string TOOL = std::string(BUILD_DIR) + "/render-snapshot";
const std::string BROWSER = "/usr/bin/chromium";

class Report : public testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::path(BUILD_DIR) / "report_e2e" / info->name();
        fs::remove_all(dir);
        fs::create_directories(dir / "trees");
    }

    void writeTree(const std::string& name, const std::string& text)
    {
        std::ofstream(dir / "trees" / (name + ".json"), std::ios::binary | std::ios::trunc) << text;
    }

    // A grid holding a panel and an OK button at column `left`.
    static Json::Value buttonAt(int left)
    {
        auto at = [](int l, int t, int w, int h) {
            Json::Value p;
            p["pack-left"] = std::to_string(l);
            p["pack-top"] = std::to_string(t);
            p["pack-width"] = std::to_string(w);
            p["pack-height"] = std::to_string(h);
            return p;
        };
        Json::Value grid = tree_json::fill();
        grid["col_count"] = "100";
        grid["row_count"] = "100";
        Json::Value panel = at(0, 0, 100, 100);
        panel["color"] = "#1e88e5";
        Json::Value ok = at(left, 40, 40, 20);
        ok["text"] = "OK";
        return node("efl.grid", "grid", grid,
                    tree_json::kids({ node("efl.bg", "panel", panel), node("efl.button", "ok", ok) }));
    }

    ProgramRun tool(std::vector<std::string> args)
    {
        for (const char* name : { "same", "moved", "broken" })
            args.push_back((dir / "trees" / (std::string(name) + ".json")).string());
        args.insert(args.end(), { "--size", "240x320", "--windows", "1" });
        return runProgram(TOOL, args, dir, 60000);
    }

    ProgramRun browser(std::vector<std::string> args)
    {
        std::vector<std::string> all = { "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                                         "--no-first-run", "--disable-background-networking",
                                         "--disable-component-update", "--disable-sync",
                                         "--user-data-dir=" + (dir / "browser-profile").string() };
        all.insert(all.end(), args.begin(), args.end());
        return runProgram(BROWSER, all, dir, 60000);
    }

    // Renders goldens, moves the button, renders again into a report.
    std::vector<Element> makeReport()
    {
        Json::Value bg = tree_json::fill();
        bg["color"] = "#43a047";
        writeTree("same", compact(node("efl.bg", "still", bg)));
        writeTree("moved", compact(buttonAt(10)));
        writeTree("broken", "{ \"widgetType\": ");
        ProgramRun golden = tool({ "--out-dir", (dir / "golden").string() });
        EXPECT_EQ(golden.status, 2) << golden.err;  // the broken tree fails
        writeTree("moved", compact(buttonAt(50)));
        ProgramRun run = tool({ "--out-dir", (dir / "new").string(), "--compare", (dir / "golden").string(),
                                "--report", (dir / "report").string() });
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_NE(run.err.find("report written to"), std::string::npos) << run.err;
        return html_scan::scan(readFile(dir / "report/index.html"));
    }

    fs::path dir;
};

const Element* byId(const std::vector<Element>& page, const std::string& id)
{
    auto it = std::find_if(page.begin(), page.end(), [&](const Element& e) { return e.attr("id") == id; });
    return it == page.end() ? nullptr : &*it;
}

// The elements of the section named `name`, up to the next section.
std::vector<Element> section(const std::vector<Element>& page, const std::string& name)
{
    std::vector<Element> out;
    bool inside = false;
    for (const Element& e : page) {
        if (e.tag == "section")
            inside = e.attr("data-name") == name;
        if (inside)
            out.push_back(e);
    }
    return out;
}

std::vector<std::string> imageSources(const std::vector<Element>& elements)
{
    std::vector<std::string> out;
    for (const Element& e : elements)
        if (e.tag == "img")
            out.push_back(e.attr("src"));
    return out;
}

TEST_F(Report, CountsSectionsPicturesAndTheMovedButton)
{
    std::vector<Element> page = makeReport();
    const Element* summary = byId(page, "summary");
    ASSERT_NE(summary, nullptr) << "no report page";
    EXPECT_EQ(summary->attr("data-trees"), "3");
    EXPECT_EQ(summary->attr("data-same"), "1");
    EXPECT_EQ(summary->attr("data-changed"), "1");
    EXPECT_EQ(summary->attr("data-failed"), "1");
    EXPECT_EQ(summary->attr("data-new"), "0");

    std::vector<std::string> order;
    for (const Element& e : page)
        if (e.tag == "section")
            order.push_back(e.attr("data-name") + ":" + e.attr("data-status"));
    EXPECT_EQ(order, (std::vector<std::string> { "same:same", "moved:changed", "broken:failed" }));

    // Golden, new and difference of the changed tree, each a file beside the page.
    std::vector<Element> moved = section(page, "moved");
    std::vector<std::string> pictures = imageSources(moved);
    ASSERT_EQ(pictures.size(), 3u);
    for (const std::string& src : pictures)
        EXPECT_TRUE(fs::is_regular_file(dir / "report" / src)) << src;
    image::Image golden, fresh;
    std::string error;
    ASSERT_TRUE(image::readPng((dir / "report" / pictures[0]).string(), golden, &error)) << error;
    ASSERT_TRUE(image::readPng((dir / "report" / pictures[1]).string(), fresh, &error)) << error;
    EXPECT_NE(golden.pixels, fresh.pixels) << "the golden must be the old picture, not a copy of the new one";
    EXPECT_EQ(imageSources(section(page, "same")).size(), 2u) << "an unchanged tree has no difference picture";
    EXPECT_TRUE(imageSources(section(page, "broken")).empty());

    // Only the button moved, 40 columns of a 240-pixel grid to the right.
    std::vector<Element> rows;
    for (const Element& e : moved)
        if (e.hasClass("moved-widget"))
            rows.push_back(e);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].attr("data-wid"), "ok");
    auto cell = std::find_if(moved.begin(), moved.end(), [](const Element& e) { return e.hasClass("before"); });
    ASSERT_NE(cell, moved.end());
    int bx = 0, ax = 0;
    EXPECT_EQ(sscanf(cell->text.c_str(), "%d,", &bx), 1) << cell->text;
    EXPECT_EQ(sscanf(std::next(cell)->text.c_str(), "%d,", &ax), 1) << std::next(cell)->text;
    EXPECT_NEAR(ax - bx, 96, 3);

    // Every widget of the new frame is drawn over the new picture, the moved one marked.
    auto isWidget = [](const Element& e) { return e.tag == "rect" && e.hasClass("widget"); };
    EXPECT_EQ(std::count_if(moved.begin(), moved.end(), isWidget), 3);
    EXPECT_EQ(std::count_if(moved.begin(), moved.end(), [&](const Element& e) { return isWidget(e) && e.hasClass("moved"); }),
              1);
}

TEST_F(Report, OpensInABrowserWithEveryPictureAndTheRectangleToggle)
{
    ASSERT_TRUE(fs::exists(BROWSER)) << "scripts/setup installs chromium";
    ASSERT_NE(byId(makeReport(), "summary"), nullptr);
    std::string url = "file://" + (dir / "report/index.html").string();

    // The page marks the body once every picture had its chance to load.
    ProgramRun dom = browser({ "--virtual-time-budget=5000", "--dump-dom", url });
    ASSERT_EQ(dom.status, 0) << dom.err;
    std::vector<Element> loaded = html_scan::scan(dom.out);
    auto body = std::find_if(loaded.begin(), loaded.end(), [](const Element& e) { return e.tag == "body"; });
    ASSERT_NE(body, loaded.end());
    EXPECT_EQ(body->attr("data-images"), "5") << "golden, new and diff of the changed tree, golden and new of the other";
    EXPECT_EQ(body->attr("data-broken-images"), "0");

    auto shot = [&](const std::string& name, const std::string& target) {
        fs::path png = dir / name;
        ProgramRun r = browser({ "--window-size=1000,1400", "--screenshot=" + png.string(), target });
        EXPECT_EQ(r.status, 0) << r.err;
        image::Image img;
        std::string error;
        EXPECT_TRUE(image::readPng(png.string(), img, &error)) << error;
        return img;
    };
    image::Image plain = shot("report.png", url), withRects = shot("report-rects.png", url + "#rects");
    std::set<uint32_t> colours(plain.pixels.begin(), plain.pixels.end());
    EXPECT_GT(colours.size(), 50u) << "the page rendered blank";
    EXPECT_NE(plain.pixels, withRects.pixels) << "the toggle draws no rectangles";
}

} // namespace
