// The page containers (scrollers, naviframe, panes, panel, conformant, tab
// bar, view) on real widgets, read back through the toolkit's getters and
// through the position documents of the render command.
#include <Ecore.h>
#include <json/json.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "components/adapters/container_adapter/container_shared.h"
#include "components/adapters/item_shared.h"
#include "render_fixture.h"
#include "theme_files.h"
#include "utils/json_util.h"

namespace {

using tree_json::kids;
using tree_json::node;
using tree_json::props;
using Props = std::vector<std::pair<std::string, std::string>>;

Json::Value parsed(char* text)
{
    Json::Value v;
    if (text)
        json_util_parse(text, v);
    free(text);
    return v;
}

class PageAdapters : public RenderWindowTest {
protected:
    std::vector<_WidgetInfo*> nodes;

    void TearDown() override
    {
        for (_WidgetInfo* n : nodes)
            deleteWidgetsInfo(n);
        RenderWindowTest::TearDown();
    }

    bool apply(Evas_Object* obj, const char* type, const Props& list)
    {
        auto* n = new _WidgetInfo;
        n->widgetType = type;
        for (const auto& [name, value] : list)
            n->properties = eina_list_append(n->properties, new Property { name, value });
        nodes.push_back(n);
        return getAdapter(type)->set_property(obj, n, "");
    }

    // add, tag, show and set_property, as the render command does.
    Evas_Object* build(const char* type, const Props& list = {}, Evas_Object* parent = nullptr)
    {
        const WidgetAdapter* a = getAdapter(type);
        Evas_Object* obj = a->add(parent ? parent : win);
        EXPECT_NE(obj, nullptr) << type;
        adapter_attach(obj, a);
        efl_util_tag_text(obj, KEY_WID, type);
        evas_object_show(obj);
        EXPECT_TRUE(apply(obj, type, list)) << type;
        return obj;
    }

    std::string renderReporting(const Json::Value& tree)
    {
        testing::internal::CaptureStderr();
        render(tree);
        return testing::internal::GetCapturedStderr();
    }

    Json::Value widgets() { return parsed(get_all_widget_positions(win, page())); }
    Json::Value placeholders() { return parsed(get_placeholder_positions(page(), "0")); }

    std::vector<std::string> wids()
    {
        std::vector<std::string> out;
        for (const Json::Value& w : widgets())
            out.push_back(w["wid"].asString());
        return out;
    }

    // The first built child of `obj` (children lists hold built nodes only).
    static Evas_Object* child(Evas_Object* obj, unsigned n = 0)
    {
        return static_cast<Evas_Object*>(eina_list_nth(efl_util_list_get(obj, KEY_CHILDREN), n));
    }
};

// A label set on an existing toolbar item reaches its getter once the
// theme's label transition has run: run the main loop until it has.
std::vector<std::string> toolbarLabels(Evas_Object* toolbar, size_t expected)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    std::vector<std::string> out;
    do {
        ecore_main_loop_iterate();
        out.clear();
        for (Elm_Object_Item* it = elm_toolbar_first_item_get(toolbar); it; it = elm_toolbar_item_next_get(it)) {
            const char* text = elm_object_item_text_get(it);
            if (text)
                out.push_back(text);
        }
    } while (out.size() < expected && std::chrono::steady_clock::now() < deadline);
    return out;
}

TEST_F(PageAdapters, EveryNameBuildsItsToolkitWidget)
{
    const std::pair<const char*, const char*> kinds[] = {
        { "efl.scroller", "Elm_Scroller" },     { "efl.circlescroller", "Elm_Scroller" },
        { "efl.naviframe", "Elm_Naviframe" },   { "efl.panes", "Elm_Panes" },
        { "efl.panel", "Elm_Panel" },           { "efl.conformant", "Elm_Conformant" },
        { "zelva.popup", "Elm_Conformant" },    { "efl.tabbar", "Elm_Naviframe" },
        { "zelva.view", "Elm_Conformant" },
    };
    for (const auto& [name, type] : kinds)
        expectAdapterContract(name, type);
    EXPECT_EQ(getAdapter("zelva.popup"), getAdapter("efl.conformant"));
    EXPECT_NE(getAdapter("efl.tabbaritem"), nullptr);
}

// --- Scrollers --------------------------------------------------------------

TEST_F(PageAdapters, ScrollerPairsTakeTheRememberedOtherHalf)
{
    for (const char* kind : { "efl.scroller", "efl.circlescroller" }) {
        SCOPED_TRACE(kind);
        Evas_Object* sc = build(kind, { { "policy-h", "1" } });
        Elm_Scroller_Policy ph, pv;
        elm_scroller_policy_get(sc, &ph, &pv);
        EXPECT_EQ(ph, 1);
        EXPECT_EQ(pv, 0) << "the other half starts at 0";
        apply(sc, kind, { { "policy-h", "1" }, { "policy-v", "2" } });
        elm_scroller_policy_get(sc, &ph, &pv);
        EXPECT_EQ(pv, 2);
        // An out-of-range half is refused alone; the toolkit would drop the pair.
        testing::internal::CaptureStderr();
        apply(sc, kind, { { "policy-h", "7" }, { "policy-v", "1" } });
        EXPECT_NE(testing::internal::GetCapturedStderr().find("\"policy-h\" 7"), std::string::npos);
        elm_scroller_policy_get(sc, &ph, &pv);
        EXPECT_EQ(ph, 0);
        EXPECT_EQ(pv, 1);

        Evas_Coord w, h;
        apply(sc, kind, { { "page-size-h", "100" } });
        elm_scroller_page_size_get(sc, &w, &h);
        EXPECT_EQ(std::make_pair(w, h), std::make_pair(100, 0));
        apply(sc, kind, { { "page-size-h", "100" }, { "page-size-v", "200" }, { "page-size-v", "" } });
        elm_scroller_page_size_get(sc, &w, &h);
        EXPECT_EQ(std::make_pair(w, h), std::make_pair(100, 200)) << "an empty value is skipped";

        double rh, rv;
        apply(sc, kind, { { "h-pagerel", "0.5" }, { "v-pagerel", "0.25" } });
        elm_scroller_page_relative_get(sc, &rh, &rv);
        EXPECT_EQ(std::make_pair(rh, rv), std::make_pair(0.5, 0.25));
        int lh, lv;
        apply(sc, kind, { { "page-limit-h", "2" }, { "page-limit-v", "3" } });
        elm_scroller_page_scroll_limit_get(sc, &lh, &lv);
        EXPECT_EQ(std::make_pair(lh, lv), std::make_pair(2, 3));

        // Page snapping is applied, paired like the minimum limit.
        Eina_Bool sh, sv;
        apply(sc, kind, { { "page-h-snap", "true" } });
        elm_scroller_page_snap_get(sc, &sh, &sv);
        EXPECT_TRUE(sh);
        EXPECT_FALSE(sv);
        apply(sc, kind, { { "page-v-snap", "yes" } });
        elm_scroller_page_snap_get(sc, &sh, &sv);
        EXPECT_TRUE(sh) << "a half that is no boolean leaves snapping alone";

        apply(sc, kind, { { "single-direction", "2" }, { "movement-block", "4" }, { "propagate-events", "false" } });
        EXPECT_EQ(elm_scroller_single_direction_get(sc), ELM_SCROLLER_SINGLE_DIRECTION_HARD);
        EXPECT_EQ(elm_scroller_movement_block_get(sc), ELM_SCROLLER_MOVEMENT_BLOCK_HORIZONTAL);
        EXPECT_FALSE(elm_scroller_propagate_events_get(sc));
    }
}

TEST_F(PageAdapters, ScrollerBounceGravityAndMinimumLimitNeedBothHalves)
{
    Evas_Object* sc = build("efl.scroller", { { "disable", "true" } });
    EXPECT_TRUE(elm_object_disabled_get(sc)) << "other names reach the shared properties";
    elm_scroller_bounce_set(sc, EINA_FALSE, EINA_FALSE);
    Eina_Bool bh, bv;
    apply(sc, "efl.scroller", { { "h-bounce", "true" } });
    elm_scroller_bounce_get(sc, &bh, &bv);
    EXPECT_FALSE(bh) << "one bounce name alone changes nothing";
    apply(sc, "efl.scroller", { { "h-bounce", "true" }, { "v-bounce", "false" } });
    elm_scroller_bounce_get(sc, &bh, &bv);
    EXPECT_TRUE(bh);
    EXPECT_FALSE(bv);

    double gx, gy;
    apply(sc, "efl.scroller", { { "gravity-x", "0.5" }, { "gravity-y", "1.0" } });
    elm_scroller_gravity_get(sc, &gx, &gy);
    EXPECT_EQ(std::make_pair(gx, gy), std::make_pair(0.5, 1.0));
    apply(sc, "efl.scroller", { { "gravity-x", "-1" }, { "gravity-y", "0" } });
    elm_scroller_gravity_get(sc, &gx, &gy);
    EXPECT_EQ(std::make_pair(gx, gy), std::make_pair(0.5, 1.0)) << "-1 counts as absent";

    // The minimum limit makes the scroller as wide as its content.
    auto scrollerMinWidth = [&](Evas_Object* sc) {
        evas_smart_objects_calculate(evas_object_evas_get(win));
        Evas_Coord mw, mh;
        evas_object_size_hint_min_get(sc, &mw, &mh);
        return mw;
    };
    auto withWideContent = [&](Evas_Object* sc) {
        Evas_Object* wide = evas_object_rectangle_add(evas_object_evas_get(win));
        evas_object_size_hint_min_set(wide, 300, 300);
        elm_object_content_set(sc, wide);
        return sc;
    };
    Evas_Object* limited = withWideContent(build("efl.scroller"));
    apply(limited, "efl.scroller", { { "min-limit-w", "true" } });
    EXPECT_GE(scrollerMinWidth(limited), 300) << "\"min-limit-w\" true alone limits the width";
    apply(limited, "efl.scroller", { { "min-limit-h", "yes" } });
    EXPECT_GE(scrollerMinWidth(limited), 300) << "a half that is no boolean leaves the limit untouched";
    Evas_Object* unlimited = withWideContent(build("efl.scroller", { { "min-limit-h", "yes" } }));
    EXPECT_LT(scrollerMinWidth(unlimited), 300);
}

// --- One child per slot ---------------------------------------------------------

// Whatever the container, a second child replaces the first: the first and
// its subtree leave the tree's lists as the toolkit deletes them, so the
// positions never name them and the next teardown never touches them.
TEST_F(PageAdapters, OneChildContainersKeepTheLastChildOnly)
{
    Json::Value first = node("efl.box", "first", props({}), kids({ node("efl.label", "first-label", props({ { "text", "a" } })) }));
    Json::Value second = node("efl.bg", "second", props({ { "color", "#00ff00" } }));
    struct Case {
        Json::Value tree;
        std::vector<std::string> wids;
    };
    Json::Value left = props({ { "pack-left", "0" } });
    Json::Value firstLeft = first, secondLeft = second;
    firstLeft["properties"] = left;
    secondLeft["properties"] = left;
    std::vector<Case> cases;
    for (const char* kind : { "efl.scroller", "efl.circlescroller", "efl.naviframe", "efl.panel", "efl.conformant",
                              "zelva.popup", "zelva.view" })
        cases.push_back({ node(kind, "root", props({}), kids({ first, second })), { "root", "second" } });
    cases.push_back({ node("efl.panes", "root", props({ { "fixed", "true" } }), kids({ firstLeft, secondLeft })),
                      { "root", "second" } });
    cases.push_back({ node("efl.tabbar", "root", props({}),
                           kids({ node("efl.tabbaritem", "t1", props({ { "label", "1" } }), kids({ first })),
                                  node("efl.tabbaritem", "t2", props({ { "label", "2" } }), kids({ second })) })),
                      { "root", "t1", "t2", "second" } });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tree["widgetType"].asString());
        std::string err = renderReporting(c.tree);
        EXPECT_NE(err.find("\"second\" replaces \"first\""), std::string::npos) << err;
        EXPECT_EQ(wids(), c.wids);
        render(node("efl.bg", "next")); // tears the tree down: the first child must not be deleted again
        EXPECT_EQ(wids(), std::vector<std::string> { "next" });
    }
}

// --- Naviframe, panes, panel, conformant -----------------------------------------

TEST_F(PageAdapters, NaviframePagesCarryTheTitles)
{
    render(node("efl.naviframe", "nf", props({ { "title", "Home" }, { "subtitle", "Start" }, { "item-title-enabled", "false" } }),
                kids({ node("efl.label", "page") })));
    Elm_Object_Item* top = elm_naviframe_top_item_get(page());
    ASSERT_TRUE(top);
    EXPECT_EQ(elm_object_item_content_get(top), child(page()));
    EXPECT_STREQ(elm_object_item_part_text_get(top, "default"), "Home");
    EXPECT_STREQ(elm_object_item_part_text_get(top, "subtitle"), "Start");
    EXPECT_FALSE(elm_naviframe_item_title_enabled_get(top));

    for (const char* enabled : std::initializer_list<const char*> { "maybe", nullptr }) {
        Json::Value p = props({ { "title", "Inbox" } });
        if (enabled)
            p["item-title-enabled"] = enabled;
        render(node("efl.naviframe", "nf", p, kids({ node("efl.label", "a"), node("efl.label", "b") })));
        top = elm_naviframe_top_item_get(page());
        EXPECT_TRUE(elm_naviframe_item_title_enabled_get(top)) << "the toolkit's default title bar";
        EXPECT_STREQ(elm_object_item_part_text_get(top, "default"), "Inbox");
        EXPECT_EQ(eina_list_count(elm_naviframe_items_get(page())), 1u) << "one page at a time";
    }
}

TEST_F(PageAdapters, PanesPlaceholdersFollowTheFilledSides)
{
    auto panes = [](const char* side, Json::Value extra = props({ { "horizontal", "true" } })) {
        return node("zelva.doc", "doc", props({}),
                    kids({ node("efl.panes", "panes", extra, kids({ node("efl.bg", "kid", props({ { "pack-left", side } })) })) }));
    };
    render(panes("1"));
    Json::Value ph = placeholders();
    ASSERT_EQ(ph.size(), 1u);
    EXPECT_EQ(ph[0]["wid"], "panes");
    EXPECT_EQ(ph[0]["ph_cnt"], 2);
    EXPECT_FALSE(ph[0]["ph_list"][0].isMember("wid"));
    EXPECT_EQ(ph[0]["ph_list"][1]["wid"], "kid");
    Evas_Object* p = child(page());
    EXPECT_TRUE(elm_panes_horizontal_get(p));
    int x, y, w, h;
    evas_object_geometry_get(child(p), &x, &y, &w, &h);
    EXPECT_EQ(ph[0]["ph_list"][1]["rectangle"]["h"], h) << "a filled side reports the child itself";

    render(panes("0", props({ { "fixed", "true" }, { "right-size", "0.25" } })));
    ph = placeholders();
    EXPECT_EQ(ph[0]["ph_list"][0]["wid"], "kid");
    EXPECT_FALSE(ph[0]["ph_list"][1].isMember("wid"));
    EXPECT_TRUE(elm_panes_fixed_get(child(page())));
    EXPECT_DOUBLE_EQ(elm_panes_content_right_size_get(child(page())), 0.25);

    render(panes("2"));
    ph = placeholders();
    EXPECT_EQ(ph[0]["ph_cnt"], 2);
    EXPECT_FALSE(ph[0]["ph_list"][0].isMember("wid") || ph[0]["ph_list"][1].isMember("wid")) << "side 2 places nothing";
    EXPECT_NE(elm_object_part_content_get(child(page()), "left"), child(child(page())));

    render(panes("0", Json::Value()));
    EXPECT_EQ(placeholders(), Json::Value()) << "panes without properties get no placeholders";
}

TEST_F(PageAdapters, PanelOrientAndHiddenApplyAfterTheWalk)
{
    Evas_Object* plain = build("efl.panel", { { "scrollable", "false" } });
    EXPECT_EQ(elm_panel_orient_get(plain), ELM_PANEL_ORIENT_TOP);
    EXPECT_FALSE(elm_panel_hidden_get(plain));
    EXPECT_FALSE(elm_panel_scrollable_get(plain));

    Evas_Object* left = build("efl.panel", { { "hidden", "true" }, { "orient", "2" } });
    EXPECT_EQ(elm_panel_orient_get(left), ELM_PANEL_ORIENT_LEFT);
    EXPECT_TRUE(elm_panel_hidden_get(left));
    apply(left, "efl.panel", { { "hidden", "yes" } });
    EXPECT_TRUE(elm_panel_hidden_get(left)) << "a text other than true/false sets nothing";

    testing::internal::CaptureStderr();
    Evas_Object* odd = build("efl.panel", { { "orient", "9" } });
    EXPECT_NE(testing::internal::GetCapturedStderr().find("\"orient\" 9"), std::string::npos);
    EXPECT_EQ(elm_panel_orient_get(odd), ELM_PANEL_ORIENT_TOP) << "the toolkit knows four edges only";
}

TEST_F(PageAdapters, IndicatorSignalsReachTheConformantKinds)
{
    for (const char* kind : { "efl.conformant", "zelva.popup", "zelva.view" }) {
        SCOPED_TRACE(kind);
        Evas_Object* obj = build(kind);
        std::vector<std::string> seen;
        elm_object_signal_callback_add(
            obj, "elm,state,indicator,*", "elm",
            [](void* data, Evas_Object*, const char* emission, const char* source) {
                static_cast<std::vector<std::string>*>(data)->push_back(std::string(emission) + " " + source);
            },
            &seen);
        for (const char* value : { "true", "maybe", "false" })
            apply(obj, kind, { { "indicator", value } });
        edje_message_signal_process();
        EXPECT_EQ(seen, (std::vector<std::string> { "elm,state,indicator,show elm", "elm,state,indicator,opaque elm",
                                                   "elm,state,indicator,hide elm" }));
    }
}

// --- Tab bar and view -------------------------------------------------------------

Json::Value tabbarTree(const std::string& prefix, const char* align = "1")
{
    return node("efl.tabbar", prefix + "bar", props({ { "align", align }, { "homogeneous", "true" } }),
                kids({ node("efl.tabbaritem", prefix + "1", props({ { "label", prefix + "A" }, { "standard-icon", "home" } })),
                       node("efl.tabbaritem", prefix + "2", props({ { "text", prefix + "B" }, { "style", "odd" } })),
                       node("efl.tabbaritem", prefix + "3", props({ { "label", prefix + "C" }, { "image-path", "" } }),
                            kids({ node("efl.bg", prefix + "content", props({ { "color", "#0000ff" } })) })) }));
}

TEST_F(PageAdapters, TabBarTabsAreToolbarItemsInNodeOrder)
{
    render(tabbarTree("x"));
    Evas_Object* bar = page();
    Evas_Object* toolbar = tabbar_toolbar(bar);
    ASSERT_TRUE(toolbar);
    EXPECT_STREQ(elm_object_widget_type_get(toolbar), "Elm_Toolbar");
    EXPECT_EQ(toolbarLabels(toolbar, 3), (std::vector<std::string> { "xA", "xB", "xC" }));
    Elm_Object_Item* first = elm_toolbar_first_item_get(toolbar);
    EXPECT_STREQ(elm_toolbar_item_icon_get(first), "home");
    EXPECT_EQ(elm_toolbar_item_icon_object_get(elm_toolbar_last_item_get(toolbar)), nullptr) << "empty image-path";
    EXPECT_DOUBLE_EQ(elm_toolbar_align_get(toolbar), 1.0);
    EXPECT_TRUE(elm_toolbar_homogeneous_get(toolbar));

    renderOnce();
    Json::Value w = widgets();
    int tx, ty, tw, th;
    evas_object_geometry_get(toolbar, &tx, &ty, &tw, &th);
    ASSERT_EQ(w.size(), 5u);
    for (int i : { 1, 2, 3 })
        EXPECT_EQ(w[i]["rectangle"]["w"], tw) << "a tab reports its toolbar's rectangle";
    const Json::Value& content = w[4]["rectangle"];
    EXPECT_GE(content["y"].asInt(), ty + th) << "the tab content is the page below the toolbar";
    EXPECT_GT(content["h"].asInt(), 0);

    render(tabbarTree("y", "0.7"));
    EXPECT_DOUBLE_EQ(elm_toolbar_align_get(tabbar_toolbar(page())), 0.0) << "align is read as an integer";
}

TEST_F(PageAdapters, TabBarUsesTheThemesTabbarPartWhenThereIsOne)
{
    Elm_Theme* theme = elm_theme_new();
    elm_theme_overlay_add(theme, theme_files::theme("tabbar_page").c_str());
    elm_object_theme_set(win, theme);
    render(tabbarTree("t"));
    Elm_Object_Item* top = elm_naviframe_top_item_get(page());
    EXPECT_EQ(elm_object_item_part_content_get(top, "tabbar"), tabbar_toolbar(page()));
    EXPECT_EQ(elm_object_item_content_get(top), child(child(page(), 2))) << "the tab content is the page content";
    render(node("efl.bg", "bg"));
    elm_object_theme_set(win, nullptr);
    elm_theme_free(theme);
}

// Each tab bar removes its own toolbar only; a tab joins its parent tab bar,
// else the last one if it is alive and in the same window, else is skipped.
TEST_F(PageAdapters, TabsNeedALiveTabBarInTheirWindow)
{
    const WidgetAdapter* bar = getAdapter("efl.tabbar");
    const WidgetAdapter* tab = getAdapter("efl.tabbaritem");
    Evas_Object* first = bar->add(win);
    Evas_Object* last = bar->add(win);
    Evas_Object* lastToolbar = tabbar_toolbar(last);
    EXPECT_TRUE(tab->add(first)) << "a tab joins the tab bar it is packed in";
    EXPECT_EQ(elm_toolbar_items_count(tabbar_toolbar(first)), 1u);
    EXPECT_TRUE(bar->remove(first));
    EXPECT_EQ(tabbar_toolbar(last), lastToolbar) << "removing one tab bar leaves the other's toolbar";

    Evas_Object* box = elm_box_add(win);
    Evas_Object* stray = tab->add(box);
    ASSERT_TRUE(stray) << "outside any tab bar: the last one, in the same window";
    EXPECT_EQ(node_container(stray), last);
    EXPECT_TRUE(bar->remove(last));
    adapter_take_refusal();
    EXPECT_EQ(tab->add(box), nullptr);
    EXPECT_EQ(adapter_take_refusal(), "no tab bar to join");

    Evas_Object* other = elm_win_util_standard_add("", "");
    Evas_Object* elsewhere = bar->add(other);
    EXPECT_EQ(tab->add(box), nullptr);
    EXPECT_EQ(adapter_take_refusal(), "the last tab bar is in another window");
    EXPECT_TRUE(bar->remove(elsewhere));
    evas_object_del(other);
}

TEST_F(PageAdapters, ViewShowsItsChildInAPageWithoutTitleBar)
{
    render(node("zelva.doc", "doc", props({}),
                kids({ node("zelva.view", "view", props({ { "indicator", "false" } }),
                            kids({ node("efl.label", "old"), node("efl.label", "hello", props({ { "text", "Hi" } })) })) })));
    Evas_Object* view = child(page());
    Evas_Object* nf = elm_object_part_content_get(view, "elm.swallow.content");
    ASSERT_STREQ(elm_object_widget_type_get(nf), "Elm_Naviframe");
    Elm_Object_Item* top = elm_naviframe_top_item_get(nf);
    EXPECT_EQ(eina_list_count(elm_naviframe_items_get(nf)), 1u);
    EXPECT_EQ(elm_object_item_content_get(top), child(view));
    EXPECT_FALSE(elm_naviframe_item_title_enabled_get(top));
    EXPECT_EQ(wids(), (std::vector<std::string> { "doc", "view", "hello" }));
}

// Two windows rendered in turns: each keeps its own tab bar and view, and no
// render of one reaches the other's toolbar.
TEST_F(PageAdapters, TwoWindowsKeepTheirOwnTabsOverManyRenders)
{
    const int otherId = id + 1;
    Evas_Object* other = elm_win_util_standard_add("", "");
    evas_object_resize(other, width, height);
    WindowManager::getInstance()->add(otherId, other, "/p", "mobile");
    evas_object_data_set(other, "project-path", (void*)"/p");
    auto renderInto = [&](int target, const Json::Value& tree) { renderTextIn(target, tree_json::compact(tree)); };
    auto viewTree = [](const std::string& p) {
        return node("zelva.doc", "doc", props({}), kids({ node("zelva.view", p + "view", props({}), kids({ tabbarTree(p) })) }));
    };
    auto toolbarOf = [](Evas_Object* window) {
        Evas_Object* doc = static_cast<Evas_Object*>(evas_object_data_get(window, KEY_PAGE));
        return tabbar_toolbar(child(child(doc)));
    };
    // The end-to-end test renders 100 rounds and compares the pictures; here
    // the toolbars themselves are counted after every round.
    for (int round = 0; round < 25; ++round) {
        renderInto(id, viewTree("a"));
        renderInto(otherId, viewTree("b"));
        ASSERT_EQ(elm_toolbar_items_count(toolbarOf(win)), 3u) << round;
        ASSERT_EQ(elm_toolbar_items_count(toolbarOf(other)), 3u) << round;
    }
    EXPECT_EQ(toolbarLabels(toolbarOf(win), 3), (std::vector<std::string> { "aA", "aB", "aC" }));
    EXPECT_EQ(toolbarLabels(toolbarOf(other), 3), (std::vector<std::string> { "bA", "bB", "bC" }));
    if (auto* p = static_cast<Evas_Object*>(evas_object_data_del(other, KEY_PAGE)))
        free_evas_object(p);
    WindowManager::getInstance()->remove(otherId);
    evas_object_del(other);
}

} // namespace
