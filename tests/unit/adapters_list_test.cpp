// The list adapters (genlist, gengrid, list, index and their items), driven
// through their records on real widgets and read back through the toolkit.
#include <Ecore.h>
#include <Elementary.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "components/adapters/Adapter.h"
#include "components/adapters/item_shared.h"
#include "components/adapters/widget_adapter/list_shared.h"
#include "render_fixture.h"
#include "utils/efl_util.h"

// elm_list_go has no visible effect to read back (the list also lays itself
// out on render), so its calls are counted here and passed on.
namespace {
std::map<Evas_Object*, int> g_list_go_calls;
}
extern "C" void elm_list_go(Evas_Object* obj)
{
    ++g_list_go_calls[obj];
    static auto real = reinterpret_cast<void (*)(Evas_Object*)>(dlsym(RTLD_NEXT, "elm_list_go"));
    real(obj);
}

namespace {

using Props = std::vector<std::pair<const char*, const char*>>;

// Shipped with the toolkit's data.
const char* const IMAGE = "/usr/share/elementary/images/icon_00.png";
const char* const OTHER_IMAGE = "/usr/share/elementary/images/icon_01.png";

class ListAdapters : public ToolkitTest {
protected:
    void TearDown() override
    {
        ToolkitTest::TearDown();
        genlist_item_classes().releaseUnused();
        gengrid_item_classes().releaseUnused();
    }

    // add, tags, show and set_property, as the render command runs them.
    static Evas_Object* build(const char* type, Evas_Object* parent, const Props& props = {}, bool* applied = nullptr)
    {
        const WidgetAdapter* a = getAdapter(type);
        Evas_Object* obj = a ? a->add(parent) : nullptr;
        if (!obj)
            return nullptr;
        adapter_attach(obj, a);
        efl_util_tag_text(obj, KEY_WID, type);
        efl_util_tag_text(obj, KEY_WIDGET_TYPE, type);
        evas_object_show(obj);
        _WidgetInfo* n = new _WidgetInfo;
        n->widgetType = type;
        for (const auto& p : props)
            n->properties = eina_list_append(n->properties, new Property { p.first, p.second });
        bool ok = a->set_property(obj, n, "");
        if (applied)
            *applied = ok;
        deleteWidgetsInfo(n);
        return obj;
    }

    Evas_Object* filling(const char* type, const Props& props = {})
    {
        Evas_Object* obj = build(type, win, props);
        evas_object_size_hint_weight_set(obj, 1, 1);
        elm_win_resize_object_add(win, obj);
        return obj;
    }

    static const Elm_Gen_Item_Class* cls(Evas_Object* carrier)
    {
        Elm_Object_Item* item = node_item(carrier);
        if (widget_is(elm_object_item_widget_get(item), "Elm_Gengrid"))
            return elm_gengrid_item_item_class_get(item);
        return elm_genlist_item_item_class_get(item);
    }
    static void* data(Evas_Object* carrier) { return elm_object_item_data_get(node_item(carrier)); }

    static std::string text(Evas_Object* carrier, const char* part)
    {
        char* t = cls(carrier)->func.text_get(data(carrier), elm_object_item_widget_get(node_item(carrier)), part);
        std::string s = t ? t : "<null>";
        free(t);
        return s;
    }

    // "file:<path>", "standard:<name>" or "" for the content of `part`.
    static std::string icon(Evas_Object* carrier, const char* part)
    {
        Evas_Object* list = elm_object_item_widget_get(node_item(carrier));
        Evas_Object* icon = cls(carrier)->func.content_get(data(carrier), list, part);
        if (!icon)
            return "";
        const char* file = nullptr;
        elm_image_file_get(icon, &file, nullptr);
        const char* name = elm_icon_standard_get(icon);
        // A theme icon is loaded from the theme file: its name tells it apart.
        std::string s = name ? std::string("standard:") + name : std::string("file:") + (file ? file : "");
        evas_object_del(icon);
        return s;
    }

    static std::vector<std::string> genlistTexts(Evas_Object* genlist)
    {
        std::vector<std::string> out;
        for (Elm_Object_Item* it = elm_genlist_first_item_get(genlist); it; it = elm_genlist_item_next_get(it))
            out.push_back(static_cast<ItemRecord*>(elm_object_item_data_get(it))->text);
        return out;
    }
};

TEST_F(ListAdapters, ListWidgetRecordsKeepTheContract)
{
    expectAdapterContract("efl.genlist", "Elm_Genlist");
    expectAdapterContract("efl.gengrid", "Elm_Gengrid");
    expectAdapterContract("efl.list", "Elm_List");
    expectAdapterContract("efl.index", "Elm_Index");
}

TEST_F(ListAdapters, GenlistItemTextsFollowTheirParts)
{
    Evas_Object* gl = filling("efl.genlist");
    Evas_Object* item = build("efl.genlistitem", gl, { { "label", "A" }, { "sub-label", "B" } });
    EXPECT_EQ(text(item, "elm.text"), "A");
    EXPECT_EQ(text(item, "elm.text.sub"), "B");
    EXPECT_EQ(text(item, "elm.text.1"), "B");
    EXPECT_EQ(text(item, "elm.text.2"), "");
    Evas_Object* plain = build("efl.genlistitem", gl, { { "text", "T" }, { "label", "" } });
    EXPECT_EQ(text(plain, "elm.text"), "T") << "an empty value is skipped";
    EXPECT_EQ(text(plain, "elm.text.sub"), "");

    // 254 ASCII bytes then a three-byte character: the cut drops the
    // character whole instead of leaving its first byte.
    std::string longText = std::string(254, 'x') + "\xE2\x82\xAC" + "tail";
    Evas_Object* cut = build("efl.genlistitem", gl, { { "label", longText.c_str() } });
    EXPECT_EQ(text(cut, "elm.text"), std::string(254, 'x'));
}

TEST_F(ListAdapters, GenlistItemIconsTakeTheFileFirstThenTheEndIcon)
{
    Evas_Object* gl = filling("efl.genlist");
    Evas_Object* both = build("efl.genlistitem", gl, { { "image-path", IMAGE }, { "standard-icon", "home" } });
    EXPECT_EQ(icon(both, "elm.swallow.icon"), std::string("file:") + IMAGE);
    EXPECT_EQ(icon(both, "elm.icon"), std::string("file:") + IMAGE) << "never the theme name";
    EXPECT_EQ(icon(both, "elm.swallow.end"), "") << "no end icon given";

    Evas_Object* named = build("efl.genlistitem", gl, { { "standard-icon", "home" } });
    EXPECT_EQ(icon(named, "elm.swallow.icon"), "standard:home");
    EXPECT_EQ(icon(named, "elm.icon"), "");

    Evas_Object* ends = build("efl.genlistitem", gl,
                              { { "end-image-path", OTHER_IMAGE }, { "end-standard-icon", "close" }, { "standard-icon", "home" } });
    EXPECT_EQ(icon(ends, "elm.swallow.end"), std::string("file:") + OTHER_IMAGE);
    EXPECT_EQ(icon(ends, "elm.swallow.icon"), "standard:home");
    Evas_Object* endName = build("efl.genlistitem", gl, { { "end-standard-icon", "close" } });
    EXPECT_EQ(icon(endName, "elm.swallow.end"), "standard:close");
    EXPECT_EQ(icon(endName, "elm.swallow.icon"), "");

    Evas_Object* list = elm_object_item_widget_get(node_item(both));
    Evas_Object* shown = cls(both)->func.content_get(data(both), list, "elm.swallow.icon");
    int w, h;
    evas_object_size_hint_min_get(shown, &w, &h);
    EXPECT_EQ(w, int(30 / elm_app_base_scale_get() * elm_config_scale_get()));
    EXPECT_EQ(h, w);
    evas_object_del(shown);
}

TEST_F(ListAdapters, ItemTypeRecreatesInPlaceKeepingTheOrder)
{
    Evas_Object* gl = filling("efl.genlist");
    Evas_Object* a = build("efl.genlistitem", gl, { { "label", "a" } });
    Evas_Object* b = build("efl.genlistitem", gl, { { "item-type", "2" }, { "label", "b" }, { "sub-label", "s" } });
    Evas_Object* c = build("efl.genlistitem", gl, { { "item-type", "1" }, { "label", "c" } });
    Elm_Object_Item* before = node_item(a);
    Evas_Object* d = build("efl.genlistitem", gl, { { "label", "d" } });
    Elm_Object_Item* kept = node_item(d);
    bool ok = false;
    build("efl.genlistitem", gl, {}, &ok);
    EXPECT_TRUE(ok);
    const WidgetAdapter* itemAdapter = getAdapter("efl.genlistitem");
    _WidgetInfo* three = ToolkitTest::makeNode("efl.genlistitem", "d", { { "item-type", "3" } });
    EXPECT_TRUE(itemAdapter->set_property(d, three, ""));
    deleteWidgetsInfo(three);

    EXPECT_EQ(node_item(a), before);
    EXPECT_EQ(node_item(d), kept) << "item-type 3 changes nothing";
    EXPECT_EQ(elm_genlist_item_type_get(node_item(b)), ELM_GENLIST_ITEM_GROUP);
    EXPECT_EQ(elm_genlist_item_select_mode_get(node_item(b)), ELM_OBJECT_SELECT_MODE_DISPLAY_ONLY);
    EXPECT_EQ(elm_genlist_item_type_get(node_item(c)), ELM_GENLIST_ITEM_TREE);
    EXPECT_EQ(text(b, "elm.text.sub"), "s") << "texts survive the re-creation";
    EXPECT_EQ(genlistTexts(gl), (std::vector<std::string> { "a", "b", "c", "d", "" }));
}

TEST_F(ListAdapters, StyleRecreatesWithTheClassOfThatStyle)
{
    Evas_Object* gl = filling("efl.genlist");
    ASSERT_EQ(genlist_item_classes().live(), 0u);
    Evas_Object* first = build("efl.genlistitem", gl, { { "style", "no-such-style" } });
    EXPECT_STREQ(cls(first)->item_style, "default") << "an unknown name, even first, reaches the default class";
    elm_object_item_del(node_item(first));
    Evas_Object* plain = build("efl.genlistitem", gl, { { "label", "p" }, { "style", "default" } });
    const Elm_Gen_Item_Class* defaultClass = cls(plain);
    EXPECT_STREQ(defaultClass->item_style, "default");
    Evas_Object* group = build("efl.genlistitem", gl, { { "label", "g" }, { "style", "groupindex" } });
    EXPECT_STREQ(cls(group)->item_style, "groupindex");
    EXPECT_EQ(elm_genlist_item_type_get(node_item(group)), ELM_GENLIST_ITEM_GROUP);
    EXPECT_EQ(elm_genlist_item_select_mode_get(node_item(group)), ELM_OBJECT_SELECT_MODE_DISPLAY_ONLY);
    Evas_Object* grouped = build("efl.genlistitem", gl, { { "style", "group_index" } });
    EXPECT_EQ(elm_genlist_item_type_get(node_item(grouped)), ELM_GENLIST_ITEM_GROUP);
    Evas_Object* unknown = build("efl.genlistitem", gl, { { "label", "u" }, { "style", "no-such-style" } });
    EXPECT_EQ(cls(unknown), defaultClass) << "unknown names resolve to the default class";
    EXPECT_EQ(elm_genlist_item_type_get(node_item(unknown)), ELM_GENLIST_ITEM_NONE);
    Evas_Object* two = build("efl.genlistitem", gl, { { "label", "t" }, { "style", "double_label" } });
    EXPECT_STREQ(cls(two)->item_style, "double_label");
    EXPECT_EQ(cls(build("efl.genlistitem", gl, { { "style", "double_label" } })), cls(two)) << "one class per style";
    EXPECT_EQ(genlistTexts(gl), (std::vector<std::string> { "p", "g", "", "u", "t", "" }));

    // Applied again to a made item, a style re-makes it at the end, texts kept.
    _WidgetInfo* again = ToolkitTest::makeNode("efl.genlistitem", "p", { { "style", "groupindex" } });
    EXPECT_TRUE(getAdapter("efl.genlistitem")->set_property(plain, again, ""));
    deleteWidgetsInfo(again);
    EXPECT_STREQ(cls(plain)->item_style, "groupindex");
    EXPECT_EQ(genlistTexts(gl), (std::vector<std::string> { "g", "", "u", "t", "", "p" }));
}

TEST_F(ListAdapters, NestedItemsAreTreeChildrenUntilRestyled)
{
    Evas_Object* gl = filling("efl.genlist");
    Evas_Object* parent = build("efl.genlistitem", gl, { { "label", "parent" } });
    Evas_Object* child = build("efl.genlistitem", parent, { { "item-type", "1" }, { "label", "child" } });
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(elm_genlist_item_parent_get(node_item(child)), node_item(parent)) << "item-type keeps the parent";
    EXPECT_EQ(node_container(child), gl);
    Evas_Object* grandchild = build("efl.genlistitem", child, { { "label", "grandchild" } });
    EXPECT_EQ(elm_genlist_item_parent_get(node_item(grandchild)), node_item(child));
    Evas_Object* restyled = build("efl.genlistitem", parent, { { "style", "double_label" } });
    EXPECT_EQ(elm_genlist_item_parent_get(node_item(restyled)), nullptr) << "a style re-creation is top level";
}

// Items under parents that cannot hold them are refused with a reason; an
// item node that lost its toolkit item ignores its properties with one line.
TEST_F(ListAdapters, UnusableParentsAndLostItemsAreReported)
{
    Evas_Object* box = elm_box_add(win);
    Evas_Object* gl = filling("efl.genlist");
    Evas_Object* list = build("efl.list", win);
    struct Case {
        const char* type;
        Evas_Object* parent;
        const char* reason;
    } cases[] = {
        { "efl.genlistitem", box, "genlist" },     { "efl.genlistitem", list, "genlist" },
        { "efl.listitem", gl, "Elm_List" },        { "efl.gengriditem", list, "Elm_Gengrid" },
        { "efl.indexitem", box, "Elm_Index" },     { "efl.genlistitem", nullptr, "genlist" },
    };
    for (const Case& c : cases) {
        adapter_take_refusal();
        EXPECT_EQ(getAdapter(c.type)->add(c.parent), nullptr) << c.type;
        EXPECT_NE(adapter_take_refusal().find(c.reason), std::string::npos) << c.type;
    }

    Evas_Object* orphan = build("efl.genlistitem", gl);
    Evas_Object* nested = build("efl.genlistitem", orphan);
    elm_genlist_clear(gl);
    EXPECT_EQ(node_item(orphan), nullptr) << "the toolkit deleting the item clears the carrier";
    EXPECT_EQ(node_item(nested), nullptr);
    adapter_take_refusal();
    EXPECT_EQ(getAdapter("efl.genlistitem")->add(orphan), nullptr) << "its parent lost its item";
    EXPECT_NE(adapter_take_refusal(), "");
    testing::internal::CaptureStderr();
    bool ok = true;
    _WidgetInfo* n = ToolkitTest::makeNode("efl.genlistitem", "orphan", { { "label", "x" } });
    ok = getAdapter("efl.genlistitem")->set_property(orphan, n, "");
    deleteWidgetsInfo(n);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(ok);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_TRUE(getAdapter("efl.genlistitem")->remove(orphan));
    evas_object_del(box);
}

// Whichever of carrier and item goes first, the other keeps no pointer to it.
TEST_F(ListAdapters, CarrierAndRecordUnlinkWhicheverGoesFirst)
{
    Evas_Object* gl = filling("efl.genlist");
    Evas_Object* carrier = build("efl.genlistitem", gl, { { "label", "x" } });
    Elm_Object_Item* item = node_item(carrier);
    auto* rec = static_cast<ItemRecord*>(elm_object_item_data_get(item));
    ASSERT_EQ(rec->carrier, carrier);
    evas_object_del(carrier);
    EXPECT_EQ(rec->carrier, nullptr);
    renderOnce();
    ecore_main_loop_iterate(); // realizing the carrier-less item must not reach the deleted box
    elm_object_item_del(item);

    Evas_Object* grid = filling("efl.gengrid");
    Evas_Object* cell = build("efl.gengriditem", grid, { { "label", "c" } });
    evas_object_del(grid);
    EXPECT_EQ(node_item(cell), nullptr);
    EXPECT_EQ(carrier_record(cell), nullptr);
    evas_object_del(cell);

    // Removing an item node leaves the item to its list, which the teardown
    // removes next and which then takes the item.
    Evas_Object* kept = build("efl.genlistitem", gl, { { "label", "kept" } });
    EXPECT_TRUE(getAdapter("efl.genlistitem")->remove(kept));
    EXPECT_EQ(genlistTexts(gl), (std::vector<std::string> { "kept" }));
    EXPECT_TRUE(getAdapter("efl.genlist")->remove(gl));
}

TEST_F(ListAdapters, ScrollerPolicyAndBounceSchemes)
{
    Elm_Scroller_Policy h, v;
    Eina_Bool bh, bv;
    for (const char* type : { "efl.genlist", "efl.gengrid", "efl.list" }) {
        SCOPED_TRACE(type);
        Evas_Object* w = build(type, win, { { "h-bounce", "false" }, { "policy-h", "0" }, { "policy-v", "1" }, { "v-bounce", "true" } });
        elm_scroller_policy_get(w, &h, &v);
        EXPECT_EQ(h, ELM_SCROLLER_POLICY_OFF) << "0 reads as off";
        EXPECT_EQ(v, ELM_SCROLLER_POLICY_ON);
        elm_scroller_bounce_get(w, &bh, &bv);
        EXPECT_FALSE(bh);
        EXPECT_TRUE(bv);
        Evas_Object* half = build(type, win, { { "h-bounce", "false" }, { "policy-v", "1" }, { "v-bounce", "yes" } });
        elm_scroller_policy_get(half, &h, &v);
        EXPECT_EQ(h, ELM_SCROLLER_POLICY_OFF) << "the untouched half starts off";
        Eina_Bool dh, dv;
        Evas_Object* fresh = elm_genlist_add(win);
        elm_scroller_bounce_get(fresh, &dh, &dv);
        elm_scroller_bounce_get(half, &bh, &bv);
        EXPECT_EQ(bh, dh) << "bounce needs two proper booleans";
        evas_object_del(fresh);
    }
}

TEST_F(ListAdapters, GengridItemSizeTakesBothHalves)
{
    Evas_Object* fresh = build("efl.gengrid", win);
    Evas_Coord w0, h0, w, h;
    elm_gengrid_item_size_get(fresh, &w0, &h0);
    elm_gengrid_item_size_get(build("efl.gengrid", win, { { "item-size-w", "123" } }), &w, &h);
    EXPECT_EQ(std::make_pair(w, h), std::make_pair(w0, h0));
    elm_gengrid_item_size_get(build("efl.gengrid", win, { { "item-size-h", "45" }, { "item-size-w", "123" } }), &w, &h);
    EXPECT_EQ(std::make_pair(w, h), std::make_pair(123, 45));
}

TEST_F(ListAdapters, GengridItemsKeepTheirTextsAndStyles)
{
    Evas_Object* grid = filling("efl.gengrid");
    Evas_Object* cell = build("efl.gengriditem", grid,
                              { { "image-path", IMAGE }, { "label", "L" }, { "selected", "true" }, { "style", "album-preview" } });
    Elm_Object_Item* item = node_item(cell);
    EXPECT_EQ(text(cell, "elm.text"), "L");
    EXPECT_EQ(text(cell, "any.part"), "L");
    EXPECT_EQ(icon(cell, "elm.swallow.icon"), std::string("file:") + IMAGE);
    EXPECT_EQ(icon(cell, "elm.swallow.end"), "");
    EXPECT_TRUE(elm_gengrid_item_selected_get(item));
    const Elm_Gen_Item_Class* album = elm_gengrid_item_item_class_get(item);
    EXPECT_STREQ(album->item_style, "album-preview");
    EXPECT_EQ(album->refcount, 2u) << "the table's reference and the item's";
    EXPECT_EQ(gengrid_item_classes().get("default")->refcount, 1u) << "the updated-away class is released";
    EXPECT_TRUE(elm_object_item_disabled_get(node_item(build("efl.gengriditem", grid, { { "disabled", "true" } }))));
}

TEST_F(ListAdapters, ListItemsSetTheirItemAndAlwaysLayTheListOut)
{
    Evas_Object* list = filling("efl.list");
    g_list_go_calls.clear();
    Evas_Object* bare = build("efl.listitem", list);
    Evas_Object* rich = build("efl.listitem", list, { { "label", "Wi-Fi" }, { "selected", "true" }, { "separator", "false" } });
    Evas_Object* sep = build("efl.listitem", list, { { "separator", "true" }, { "text", "" } });
    EXPECT_EQ(g_list_go_calls[list], 3) << "one layout per item node, with or without properties";
    EXPECT_EQ(node_container(bare), list);
    EXPECT_STREQ(elm_object_item_part_text_get(node_item(rich), nullptr), "Wi-Fi");
    EXPECT_TRUE(elm_list_item_selected_get(node_item(rich)));
    EXPECT_TRUE(elm_list_item_separator_get(node_item(sep)));

    const WidgetAdapter* a = getAdapter("efl.listitem");
    Evas_Object* child = elm_icon_add(win);
    EXPECT_TRUE(a->pack(rich, child, nullptr));
    EXPECT_EQ(elm_object_item_part_content_get(node_item(rich), "start"), child);
    Evas_Aspect_Control aspect;
    Evas_Coord aw, ah;
    evas_object_size_hint_aspect_get(child, &aspect, &aw, &ah);
    EXPECT_EQ(aspect, EVAS_ASPECT_CONTROL_VERTICAL);
    EXPECT_TRUE(a->unpack(rich, child, nullptr));
    EXPECT_EQ(elm_object_item_part_content_get(node_item(rich), "start"), nullptr);
    EXPECT_FALSE(a->pack(rich, nullptr, nullptr));
    evas_object_del(child);
    EXPECT_TRUE(a->remove(rich));
}

TEST_F(ListAdapters, IndexItemsAreRecreatedWithTheirLetterAndTracked)
{
    Evas_Object* index = filling("efl.index", { { "autohide-disabled", "true" } });
    EXPECT_TRUE(elm_index_autohide_disabled_get(index));
    Evas_Object* a = build("efl.indexitem", index, { { "label", "A" } });
    Evas_Object* empty = build("efl.indexitem", index, { { "label", "" } });
    Evas_Object* b = build("efl.indexitem", index, { { "label", "B" }, { "selected", "true" } });
    EXPECT_STREQ(elm_index_item_letter_get(node_item(a)), "A");
    EXPECT_STREQ(elm_index_item_letter_get(node_item(empty)), "") << "an empty letter still re-creates the item";
    EXPECT_EQ(elm_index_selected_item_get(index, 0), node_item(b));
    renderOnce();
    for (Evas_Object* carrier : { a, empty, b })
        EXPECT_NE(evas_object_data_get(carrier, KEY_ITEM_TRACK), nullptr) << "levelled items are tracked";
    int ya, yb;
    evas_object_geometry_get(static_cast<Evas_Object*>(evas_object_data_get(a, KEY_ITEM_TRACK)), nullptr, &ya, nullptr, nullptr);
    evas_object_geometry_get(static_cast<Evas_Object*>(evas_object_data_get(b, KEY_ITEM_TRACK)), nullptr, &yb, nullptr, nullptr);
    EXPECT_LT(ya, yb);

    // An index deleted with its items: a later index's levelling must not
    // reach their carriers.
    evas_object_del(index);
    Evas_Object* next = filling("efl.index");
    Evas_Object* c = build("efl.indexitem", next, { { "label", "C" } });
    EXPECT_STREQ(elm_index_item_letter_get(node_item(c)), "C");
    EXPECT_TRUE(getAdapter("efl.indexitem")->remove(c));
}

// --- Through the render command --------------------------------------------

class ListRender : public RenderWindowTest {
protected:
    // Lays out and draws until `done` holds, bounded by a deadline: items
    // realize in the main loop after the layout that places them.
    template <class F>
    bool settle(Evas_Object* window, F done)
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < deadline) {
            ecore_main_loop_iterate();
            ecore_evas_manual_render(ecore_evas_ecore_evas_get(evas_object_evas_get(window)));
            if (done())
                return true;
        }
        return false;
    }

    // A heading and a genlist of `n` items, the first two in list styles, and
    // a gengrid of two cells in the album style.
    static Json::Value listsTree(int n)
    {
        using namespace tree_json;
        Json::Value items = kids({ node("efl.genlistitem", "g0", props({ { "label", "group" }, { "style", "groupindex" } })),
                                   node("efl.genlistitem", "i1", props({ { "label", "double" }, { "style", "double_label" } })) });
        for (int i = 2; i < n; ++i)
            items.append(node("efl.genlistitem", "i" + std::to_string(i), props({ { "label", "item " + std::to_string(i) } })));
        Json::Value cell = props({ { "label", "cell" }, { "style", "album-preview" } });
        return node("efl.box", "page", fill(),
                    kids({ node("efl.label", "heading", props({ { "text", "heading" } })),
                           node("efl.genlist", "list", fill(), items),
                           node("efl.gengrid", "grid", fill(),
                                kids({ node("efl.gengriditem", "c0", cell), node("efl.gengriditem", "c1", cell) })) }));
    }

    static Json::Value positions(Evas_Object* window, Evas_Object* page)
    {
        char* text = get_all_widget_positions(window, page);
        Json::Value v = tree_json::parse(text ? text : "");
        free(text);
        return v;
    }
};

// Items on screen report their own rectangles once realized; items scrolled
// out report the list's.
TEST_F(ListRender, RealizedItemsReportTheirOwnRectangles)
{
    render(listsTree(60));
    auto rect = [](const Json::Value& e) {
        const Json::Value& r = e["rectangle"];
        return std::vector<int> { r["x"].asInt(), r["y"].asInt(), r["w"].asInt(), r["h"].asInt() };
    };
    Json::Value doc;
    auto firstItemsPlaced = [&] {
        doc = positions(win, page());
        return doc.size() == 66u && rect(doc[3]) != rect(doc[2]) && rect(doc[4]) != rect(doc[2]);
    };
    ASSERT_TRUE(settle(win, firstItemsPlaced)) << tree_json::compact(doc);
    ASSERT_EQ(doc[2]["wid"], "list");
    std::vector<int> list = rect(doc[2]);
    std::vector<int> g0 = rect(doc[3]), i1 = rect(doc[4]);
    EXPECT_GE(g0[1], list[1]);
    EXPECT_LT(g0[1], i1[1]) << "in node order";
    EXPECT_LE(i1[1] + i1[3], list[1] + list[3]);
    EXPECT_EQ(doc[62]["wid"], "i59");
    EXPECT_EQ(rect(doc[62]), list) << "an item out of view reports its list";
    EXPECT_NE(rect(doc[64]), rect(doc[63])) << "gengrid cells are tracked too";
}

// The class tables are shared by every genlist and gengrid of the process: a
// list removed in one window must not free a class (or its style text) that
// another window's items still show.
TEST_F(ListRender, ClassesOutliveAListRemovedInAnotherWindow)
{
    int otherWidth = 480, otherHeight = 800;
    const int otherId = 902;
    Evas_Object* other = elm_win_util_standard_add("", "");
    evas_object_resize(other, otherWidth, otherHeight);
    evas_object_show(other);
    WindowManager::getInstance()->add(otherId, other, "/p", "mobile");
    evas_object_data_set(other, "project-path", (void*)"/p");
    evas_object_data_set(other, "win-width", &otherWidth);
    evas_object_data_set(other, "win-height", &otherHeight);
    auto renderOther = [&](const Json::Value& tree) { renderTextIn(otherId, tree_json::compact(tree)); };
    auto otherPage = [&] { return static_cast<Evas_Object*>(evas_object_data_get(other, KEY_PAGE)); };

    for (int round = 0; round < 3; ++round) {
        render(listsTree(6));
        renderOther(listsTree(6));
        render(tree_json::node("efl.bg", "plain")); // removes this window's lists
        Evas_Object* otherList = nullptr;
        for (const Eina_List* l = efl_util_list_get(otherPage(), KEY_CHILDREN); l; l = eina_list_next(l))
            if (!strcmp(static_cast<const char*>(evas_object_data_get((Evas_Object*)eina_list_data_get(l), KEY_WID)), "list"))
                otherList = static_cast<Evas_Object*>(eina_list_data_get(l));
        ASSERT_NE(otherList, nullptr);
        Elm_Object_Item* group = elm_genlist_first_item_get(otherList);
        Elm_Object_Item* two = elm_genlist_item_next_get(group);
        for (auto [item, style] : { std::pair(group, "groupindex"), std::pair(two, "double_label") }) {
            const Elm_Gen_Item_Class* c = elm_genlist_item_item_class_get(item);
            EXPECT_FALSE(c->delete_me) << style;
            EXPECT_STREQ(c->item_style, style);
            EXPECT_TRUE(genlist_item_classes().holds(c)) << style;
        }
        EXPECT_TRUE(settle(other, [&] { return elm_genlist_realized_items_get(otherList) != nullptr; }));
        Eina_List* realized = elm_genlist_realized_items_get(otherList);
        EXPECT_GE(eina_list_count(realized), 6u);
        eina_list_free(realized);
        Json::Value doc = positions(other, otherPage());
        EXPECT_EQ(doc.size(), 12u);
    }
    Evas* otherCanvas = evas_object_evas_get(other);
    free_evas_object(static_cast<Evas_Object*>(evas_object_data_del(other, KEY_PAGE)));
    render(tree_json::node("efl.bg", "plain"));
    EXPECT_EQ(genlist_item_classes().live(), 0u) << "unused classes are released with the last list";
    EXPECT_EQ(gengrid_item_classes().live(), 0u);

    // The removed items' carriers wait for the next render of their window,
    // which takes them again, and go with their window. A render builds the
    // new page before the old one goes, so the pool keeps one page's worth.
    EXPECT_EQ(carriers_pooled(otherCanvas), 16u);
    renderOther(listsTree(6));
    EXPECT_EQ(carriers_pooled(otherCanvas), 8u);
    EXPECT_EQ(positions(other, otherPage()).size(), 12u);
    free_evas_object(static_cast<Evas_Object*>(evas_object_data_del(other, KEY_PAGE)));
    EXPECT_EQ(carriers_pooled(otherCanvas), 16u);
    WindowManager::getInstance()->remove(otherId);
    evas_object_del(other);
    // The toolkit frees a deleted window's canvas, and its objects, in the
    // main loop.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (carriers_pooled(otherCanvas) > 0 && std::chrono::steady_clock::now() < deadline)
        ecore_main_loop_iterate();
    EXPECT_EQ(carriers_pooled(otherCanvas), 0u);
    EXPECT_EQ(carriers_pooled(evas_object_evas_get(win)), 8u) << "another window's carriers are left alone";
}

} // namespace
