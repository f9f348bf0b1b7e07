// The circle genlist and its items through the render command: policies
// reach each list's own indicator, the round item classes and label rule,
// and the process-wide indicator pointer across lists and windows.
#include <Elementary.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "components/adapters/Adapter.h"
#include "components/adapters/item_shared.h"
#include "components/adapters/widget_adapter/circle_shared.h"
#include "components/adapters/widget_adapter/list_shared.h"
#include "render_fixture.h"
#include "utils/efl_util.h"

namespace {

using namespace tree_json;

// The object built for `wid` anywhere below `obj`.
Evas_Object* find_wid(Evas_Object* obj, const char* wid)
{
    if (!obj)
        return nullptr;
    auto* own = static_cast<const char*>(evas_object_data_get(obj, KEY_WID));
    if (own && strcmp(own, wid) == 0)
        return obj;
    for (const Eina_List* l = efl_util_list_get(obj, KEY_CHILDREN); l; l = eina_list_next(l))
        if (Evas_Object* hit = find_wid(static_cast<Evas_Object*>(eina_list_data_get(l)), wid))
            return hit;
    return nullptr;
}

Elm_Scroller_Policy h_policy(Evas_Object* list)
{
    Elm_Scroller_Policy h = ELM_SCROLLER_POLICY_LAST;
    elm_scroller_policy_get(list, &h, nullptr);
    return h;
}

class CircleGenlists : public RenderWindowTest {
protected:
    CircleGenlists()
    {
        width = 480;
        height = 240;
    }

    void TearDown() override
    {
        RenderWindowTest::TearDown();
        circle_genlist_item_classes().releaseUnused();
    }

    Evas_Object* obj(const char* wid) { return find_wid(page(), wid); }

    // A circle genlist filling one grid cell of `col` (0 left, 1 right), with
    // `n` items without texts (nothing bright but its indicator).
    static Json::Value list(const std::string& wid, int col, Json::Value p, int n = 30)
    {
        p["pack-left"] = std::to_string(col * 50);
        p["pack-top"] = "0";
        p["pack-width"] = "50";
        p["pack-height"] = "100";
        Json::Value items(Json::arrayValue);
        for (int i = 0; i < n; ++i)
            items.append(node("efl.circlegenlistitem", wid + std::to_string(i)));
        return node("efl.circlegenlist", wid, p, items);
    }

    static Json::Value grid(Json::Value children)
    {
        return node("efl.grid", "grid", fill(props({ { "col_count", "100" }, { "row_count", "100" } })), children);
    }

    // Bright pixels on the right-hand side of the ring inscribed in `list`,
    // where its indicator runs, after the frame that follows the layout.
    int thumb_pixels(Evas_Object* list)
    {
        renderOnce();
        renderOnce();
        auto* px = static_cast<const uint32_t*>(
            ecore_evas_buffer_pixels_get(ecore_evas_ecore_evas_get(evas_object_evas_get(win))));
        int x, y, w, h;
        evas_object_geometry_get(list, &x, &y, &w, &h);
        double cx = x + w / 2.0, cy = y + h / 2.0, r = std::min(w, h) / 2.0;
        int n = 0;
        for (int py = y; py < y + h; ++py)
            for (int px_ = x + w / 2; px_ < x + w; ++px_) {
                double d = std::hypot(px_ + 0.5 - cx, py + 0.5 - cy);
                uint32_t c = px[size_t(py) * width + px_];
                bool bright = (c >> 16 & 0xff) > 180 && (c >> 8 & 0xff) > 180 && (c & 0xff) > 180;
                n += bright && d > r * 0.8 && d <= r + 1 ? 1 : 0;
            }
        return n;
    }

    static const Elm_Gen_Item_Class* cls(Evas_Object* carrier) { return elm_genlist_item_item_class_get(node_item(carrier)); }

    static std::string text(Evas_Object* carrier, const char* part)
    {
        Elm_Object_Item* item = node_item(carrier);
        char* t = cls(carrier)->func.text_get(elm_object_item_data_get(item), elm_object_item_widget_get(item), part);
        std::string s = t ? t : "<null>";
        free(t);
        return s;
    }
};

TEST_F(CircleGenlists, RecordKeepsTheContractAndStartsInScrollModeWithoutIndicator)
{
    expectAdapterContract("efl.circlegenlist", "Elm_Genlist");
    EXPECT_EQ(circle_genlist, nullptr) << "the removed list took its indicator along";
    render(grid(kids({ list("plain", 0, props({})) })));
    Evas_Object* gl = obj("plain");
    ASSERT_NE(gl, nullptr);
    EXPECT_EQ(elm_genlist_mode_get(gl), ELM_LIST_SCROLL);
    EXPECT_NE(circle_genlist, nullptr);
    EXPECT_EQ(h_policy(gl), ELM_SCROLLER_POLICY_OFF);
    EXPECT_EQ(thumb_pixels(gl), 0) << "both policies start off";
}

// Each list's properties are applied right after its add, so each list's
// policies reach its own indicator; bounce goes to the list after the walk.
TEST_F(CircleGenlists, TwoListsEachGetTheirOwnPolicy)
{
    render(grid(kids({
        list("a", 0, props({ { "policy-v", "1" }, { "policy-h", "0" }, { "h-bounce", "true" }, { "v-bounce", "false" } })),
        list("b", 1, props({ { "policy-h", "1" }, { "policy-v", "0" }, { "h-bounce", "maybe" }, { "v-bounce", "true" } })),
    })));
    Evas_Object* a = obj("a");
    Evas_Object* b = obj("b");
    ASSERT_TRUE(a && b);
    EXPECT_GT(thumb_pixels(a), 50) << "a: vertical ON shows its indicator";
    EXPECT_EQ(thumb_pixels(b), 0) << "b: vertical 0 reads as off";
    EXPECT_EQ(h_policy(a), ELM_SCROLLER_POLICY_OFF);
    EXPECT_EQ(h_policy(b), ELM_SCROLLER_POLICY_ON);
    Eina_Bool bh = EINA_FALSE, bv = EINA_TRUE;
    elm_scroller_bounce_get(a, &bh, &bv);
    EXPECT_TRUE(bh);
    EXPECT_FALSE(bv);
    Evas_Object* fresh = elm_genlist_add(win);
    Eina_Bool fh, fv;
    elm_scroller_bounce_get(fresh, &fh, &fv);
    evas_object_del(fresh);
    elm_scroller_bounce_get(b, &bh, &bv);
    EXPECT_TRUE(bh == fh && bv == fv) << "b: a bounce text other than true/false leaves both as they were";

    // Set again later, a list's policies go to the most recent list's
    // indicator, not to its own.
    _WidgetInfo* n = ToolkitTest::makeNode("efl.circlegenlist", "a", { { "policy-v", "1" } });
    EXPECT_TRUE(getAdapter("efl.circlegenlist")->set_property(a, n, ""));
    deleteWidgetsInfo(n);
    EXPECT_EQ(h_policy(b), ELM_SCROLLER_POLICY_OFF) << "b: h starts off in that walk";
    EXPECT_GT(thumb_pixels(b), 50) << "b: v ON";
    EXPECT_GT(thumb_pixels(a), 50) << "a keeps what it had";
}

// The pointer follows the most recent circle genlist and is cleared when that
// list goes, whichever window it is in; another window's teardown leaves it.
TEST_F(CircleGenlists, PointerIsClearedWhenItsListGoesInAnyWindow)
{
    render(grid(kids({ list("first", 0, props({})) })));
    Evas_Object* firstIndicator = circle_genlist;
    ASSERT_NE(firstIndicator, nullptr);

    Evas_Object* other = elm_win_util_standard_add("", "");
    Evas_Object* second = getAdapter("efl.circlegenlist")->add(other);
    ASSERT_NE(second, nullptr);
    Evas_Object* secondIndicator = circle_genlist;
    EXPECT_NE(secondIndicator, firstIndicator);

    // This window's next render removes the first list: the pointer, which
    // is the other window's, stays.
    render(node("efl.bg", "plain"));
    EXPECT_EQ(circle_genlist, secondIndicator);

    render(grid(kids({ list("third", 0, props({})) })));
    evas_object_del(other);
    EXPECT_NE(circle_genlist, nullptr) << "the other window's list is no longer the latest";
    render(node("efl.bg", "plain"));
    EXPECT_EQ(circle_genlist, nullptr);

    // With no latest list, policies reach no indicator and nothing fails.
    render(grid(kids({ list("kept", 0, props({})) })));
    Evas_Object* kept = obj("kept");
    Evas_Object* later = getAdapter("efl.circlegenlist")->add(win);
    EXPECT_TRUE(getAdapter("efl.circlegenlist")->remove(later));
    EXPECT_EQ(circle_genlist, nullptr);
    _WidgetInfo* n = ToolkitTest::makeNode("efl.circlegenlist", "kept", { { "policy-h", "1" }, { "policy-v", "1" } });
    EXPECT_TRUE(getAdapter("efl.circlegenlist")->set_property(kept, n, ""));
    deleteWidgetsInfo(n);
    EXPECT_EQ(h_policy(kept), ELM_SCROLLER_POLICY_OFF);
    EXPECT_EQ(thumb_pixels(kept), 0);
}

TEST_F(CircleGenlists, ItemsTakeTheRoundClassesWithTheirOwnGroupStyle)
{
    auto item = [](const char* wid, Json::Value p) { return node("efl.circlegenlistitem", wid, p); };
    render(node("efl.circlegenlist", "gl", fill(), kids({
        item("plain", props({ { "label", "p" }, { "style", "default" } })),
        item("group", props({ { "label", "g" }, { "style", "groupindex" } })),
        item("under", props({ { "label", "u" }, { "style", "group_index" } })),
        item("title", props({ { "label", "t" }, { "style", "title" } })),
        item("typed", props({ { "label", "y" }, { "item-type", "2" }, { "selected", "true" } })),
        item("two", props({ { "label", "A" }, { "sub-label", "B" }, { "style", "2text" } })),
    })));
    Evas_Object* gl = page();
    ASSERT_EQ(elm_genlist_items_count(gl), 6u);

    EXPECT_STREQ(cls(obj("plain"))->item_style, "default");
    EXPECT_EQ(elm_genlist_item_type_get(node_item(obj("group"))), ELM_GENLIST_ITEM_GROUP);
    EXPECT_EQ(elm_genlist_item_select_mode_get(node_item(obj("group"))), ELM_OBJECT_SELECT_MODE_DISPLAY_ONLY);
    EXPECT_STREQ(cls(obj("group"))->item_style, "groupindex");
    EXPECT_EQ(cls(obj("under")), cls(obj("plain"))) << "group_index is no round style: the default class";
    EXPECT_EQ(elm_genlist_item_type_get(node_item(obj("under"))), ELM_GENLIST_ITEM_NONE) << "and no group";
    EXPECT_STREQ(cls(obj("title"))->item_style, "title");
    EXPECT_EQ(elm_genlist_item_type_get(node_item(obj("typed"))), ELM_GENLIST_ITEM_NONE) << "no item-type here";
    EXPECT_TRUE(elm_genlist_item_selected_get(node_item(obj("typed"))));
    EXPECT_TRUE(circle_genlist_item_classes().holds(cls(obj("group"))));
    EXPECT_FALSE(genlist_item_classes().holds(cls(obj("group")))) << "a table of its own";

    // Label rule: the sub text shows in "elm.text.1" only.
    Evas_Object* two = obj("two");
    EXPECT_EQ(text(two, "elm.text"), "A");
    EXPECT_EQ(text(two, "elm.text.1"), "B");
    EXPECT_EQ(text(two, "elm.text.sub"), "");
    EXPECT_EQ(text(two, "elm.text.2"), "");

    render(node("efl.bg", "plain"));
    EXPECT_EQ(circle_genlist_item_classes().live(), 0u) << "released with the last circle list";
}

// Round lists are flat: an item under another item, or outside a genlist, is
// refused with its reason; the render goes on without it.
TEST_F(CircleGenlists, ItemsNestNowhere)
{
    render(node("efl.circlegenlist", "gl", fill(), kids({
        node("efl.circlegenlistitem", "top", props({ { "label", "top" } }),
             kids({ node("efl.circlegenlistitem", "nested", props({ { "label", "nested" } })) })),
    })));
    EXPECT_EQ(elm_genlist_items_count(page()), 1u);
    EXPECT_EQ(obj("nested"), nullptr);
    const WidgetAdapter* a = getAdapter("efl.circlegenlistitem");
    adapter_take_refusal();
    EXPECT_EQ(a->add(obj("top")), nullptr);
    EXPECT_NE(adapter_take_refusal().find("nesting"), std::string::npos);
    Evas_Object* box = elm_box_add(win);
    EXPECT_EQ(a->add(box), nullptr);
    EXPECT_NE(adapter_take_refusal().find("not a genlist"), std::string::npos);
    EXPECT_EQ(a->add(nullptr), nullptr);
    EXPECT_NE(adapter_take_refusal(), "");
    evas_object_del(box);
}

} // namespace
