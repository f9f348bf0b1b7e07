// The visual report's page: statuses, pictures, rectangles and moved widgets.
#include <gtest/gtest.h>

#include <algorithm>

#include "html_scan.h"
#include "report.h"

namespace {

using namespace snapshot::report;

Json::Value widget(const std::string& wid, int x, int y, int w, int h)
{
    Json::Value v;
    v["wid"] = wid;
    Json::Value& r = v["rectangle"];
    r["x"] = x;
    r["y"] = y;
    r["w"] = w;
    r["h"] = h;
    return v;
}

Json::Value doc(std::initializer_list<Json::Value> widgets)
{
    Json::Value a(Json::arrayValue);
    for (const Json::Value& w : widgets)
        a.append(w);
    return a;
}

TEST(ReportMoves, MovedResizedAddedAndRemovedWidgetsInNewOrder)
{
    Json::Value golden = doc({ widget("root", 0, 0, 100, 100), widget("a", 0, 0, 10, 10), widget("b", 5, 5, 10, 10),
                               widget("gone", 1, 1, 1, 1) });
    Json::Value current = doc({ widget("root", 0, 0, 100, 100), widget("b", 5, 5, 12, 10), widget("a", 0, 3, 10, 10),
                                widget("added", 2, 2, 2, 2) });
    std::vector<Moved> m = movedWidgets(golden, current);
    ASSERT_EQ(m.size(), 4u);
    EXPECT_EQ(m[0].wid, "b");
    EXPECT_EQ(*m[0].before, (Rect { 5, 5, 10, 10 }));
    EXPECT_EQ(*m[0].after, (Rect { 5, 5, 12, 10 }));
    EXPECT_EQ(m[1].wid, "a");
    EXPECT_EQ(m[1].after->y, 3);
    EXPECT_EQ(m[2].wid, "added");
    EXPECT_FALSE(m[2].before);
    EXPECT_EQ(m[3].wid, "gone");
    EXPECT_FALSE(m[3].after);
    EXPECT_TRUE(movedWidgets(current, current).empty());
    EXPECT_TRUE(movedWidgets(Json::Value(), Json::Value()).empty());
    EXPECT_EQ(movedWidgets(Json::Value("junk"), current).size(), 4u) << "a broken golden document: all are new";
}

Entry entry(const std::string& name, Status status, const std::string& detail, const std::string& fresh,
            const std::string& golden, const std::string& diff)
{
    Entry e;
    e.name = name;
    e.width = 100;
    e.height = 200;
    e.status = status;
    e.detail = detail;
    e.newImage = fresh;
    e.goldenImage = golden;
    e.diffImage = diff;
    return e;
}

std::vector<html_scan::Element> withClass(const std::vector<html_scan::Element>& all, const std::string& c)
{
    std::vector<html_scan::Element> out;
    std::copy_if(all.begin(), all.end(), std::back_inserter(out), [&](auto& e) { return e.hasClass(c); });
    return out;
}

TEST(ReportPage, SectionsSummaryOverlayAndEscaping)
{
    Entry same = entry("plain", Status::Same, "100x200, 1 widgets", "plain.png", "g/plain.png", "");
    Entry changed = entry("<moved>", Status::Changed, "DIFFERS", "m.png", "g/m.png", "m.diff.png");
    changed.widgets = doc({ widget("root", 0, 0, 100, 200), widget("btn\"1", 10, 20, 30, 40) });
    Json::Value ph;
    ph["rectangle"] = widget("", 1, 2, 3, 4)["rectangle"];
    ph["wid"] = "btn\"1";
    changed.widgets[0]["placeholders"].append(ph);
    changed.moved = { { "btn\"1", Rect { 10, 10, 30, 40 }, Rect { 10, 20, 30, 40 } } };
    Entry failed = entry("broken", Status::Failed, "error: not JSON", "", "", "");
    std::vector<html_scan::Element> page = html_scan::scan(renderHtml({ same, changed, failed }));

    auto summary = std::find_if(page.begin(), page.end(), [](auto& e) { return e.attr("id") == "summary"; });
    ASSERT_NE(summary, page.end());
    EXPECT_EQ(summary->attr("data-trees"), "3");
    EXPECT_EQ(summary->attr("data-same"), "1");
    EXPECT_EQ(summary->attr("data-changed"), "1");
    EXPECT_EQ(summary->attr("data-failed"), "1");
    EXPECT_EQ(summary->attr("data-new"), "0");

    auto sections = withClass(page, "tree");
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[1].attr("data-name"), "<moved>") << "names are escaped and read back whole";
    EXPECT_EQ(sections[1].attr("data-status"), "changed");
    EXPECT_EQ(sections[2].attr("data-status"), "failed");

    // Golden, new and difference of the changed tree, in that order; the
    // failed tree shows no picture at all.
    std::vector<std::string> srcs;
    for (auto& e : page)
        if (e.tag == "img")
            srcs.push_back(e.attr("src"));
    EXPECT_EQ(srcs, (std::vector<std::string> { "g/plain.png", "plain.png", "g/m.png", "m.png", "m.diff.png" }));

    auto widgets = withClass(page, "widget");
    ASSERT_EQ(widgets.size(), 2u);
    EXPECT_TRUE(widgets[1].hasClass("moved"));
    EXPECT_EQ(widgets[1].attr("y"), "20");
    auto was = withClass(page, "was");
    ASSERT_EQ(was.size(), 1u) << "the golden shows where the moved widget was";
    EXPECT_EQ(was[0].attr("y"), "10");
    auto placeholders = withClass(page, "placeholder");
    ASSERT_EQ(placeholders.size(), 1u);
    EXPECT_EQ(placeholders[0].attr("width"), "3");

    auto rows = withClass(page, "moved-widget");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].attr("data-wid"), "btn\"1");
}

} // namespace
