// The selector, toolbar and popup adapters and their items, driven through
// their records on real widgets and read back through the toolkit's getters.
#include <Elementary.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "components/adapters/Adapter.h"
#include "components/adapters/item_shared.h"
#include "render_fixture.h"
#include "toolkit_fixture.h"
#include "utils/efl_util.h"

namespace {

using Props = std::initializer_list<std::pair<const char*, const char*>>;

class SelectorAdapters : public ToolkitTest {
protected:
    std::vector<_WidgetInfo*> nodes;

    void TearDown() override
    {
        for (_WidgetInfo* n : nodes)
            deleteWidgetsInfo(n);
        ToolkitTest::TearDown();
    }

    _WidgetInfo* node(const char* type, Props props)
    {
        nodes.push_back(makeNode(type, "s1", props));
        return nodes.back();
    }

    // What the render command does for one node: add, tag, show, set_property.
    Evas_Object* build(const char* type, Evas_Object* parent, Props props = {})
    {
        const WidgetAdapter* a = getAdapter(type);
        EXPECT_NE(a, nullptr) << type;
        if (!a)
            return nullptr;
        Evas_Object* obj = a->add(parent);
        EXPECT_NE(obj, nullptr) << type << ": " << adapter_take_refusal();
        if (!obj)
            return nullptr;
        adapter_attach(obj, a);
        efl_util_tag_text(obj, KEY_WID, "s1");
        efl_util_tag_text(obj, KEY_WIDGET_TYPE, type);
        evas_object_show(obj);
        EXPECT_TRUE(a->set_property(obj, node(type, props), "")) << type;
        return obj;
    }

    Evas_Object* build(const char* type, Props props = {}) { return build(type, win, props); }

    // Builds and returns what the adapters wrote on standard error.
    std::string buildReporting(const char* type, Evas_Object* parent, Props props, Evas_Object** out = nullptr)
    {
        testing::internal::CaptureStderr();
        Evas_Object* obj = build(type, parent, props);
        if (out)
            *out = obj;
        return testing::internal::GetCapturedStderr();
    }

    static bool pack(const char* parentType, Evas_Object* parent, Evas_Object* child)
    {
        return getAdapter(parentType)->pack(parent, child, nullptr);
    }
};

std::string text_of(const char* text) { return text ? text : "(null)"; }

int lines_in(const std::string& s)
{
    int n = 0;
    for (char c : s)
        n += c == '\n';
    return n;
}

// Counts the deletions of an object.
void count_del(Evas_Object* obj, int* counter)
{
    evas_object_event_callback_add(
        obj, EVAS_CALLBACK_DEL, [](void* c, Evas*, Evas_Object*, void*) { ++*static_cast<int*>(c); }, counter);
}

struct ItemKind {
    const char* item;
    const char* container;
    const char* toolkitType;
    bool tracked; // tracking-object node, else a carrier box
};

const ItemKind ITEM_KINDS[] = {
    { "efl.ctxpopupitem", "efl.ctxpopup", "Elm_Ctxpopup", true },
    { "efl.toolbaritem", "efl.toolbar", "Elm_Toolbar", true },
    { "efl.multibuttonentryitem", "efl.multibuttonentry", "Elm_Multibuttonentry", true },
    { "efl.diskselectoritem", "efl.diskselector", "Elm_Diskselector", false },
    { "efl.flipselectoritem", "efl.flipselector", "Elm_Flipselector", false },
    { "efl.segmentcontrolitem", "efl.segmentcontrol", "Elm_Segment_Control", false },
};

// --- Records -------------------------------------------------------------------

TEST_F(SelectorAdapters, ContainersBuildTheirToolkitWidgets)
{
    const std::pair<const char*, const char*> kinds[] = {
        { "efl.ctxpopup", "Elm_Ctxpopup" },       { "efl.diskselector", "Elm_Diskselector" },
        { "efl.flipselector", "Elm_Flipselector" }, { "efl.multibuttonentry", "Elm_Multibuttonentry" },
        { "efl.segmentcontrol", "Elm_Segment_Control" }, { "efl.toolbar", "Elm_Toolbar" },
        { "efl.popup", "Elm_Popup" },
    };
    for (const auto& [name, type] : kinds)
        expectAdapterContract(name, type);
    for (const char* name : { "efl.ctxpopup", "efl.flipselector", "efl.popup" })
        EXPECT_EQ(getAdapter(name)->add(nullptr), nullptr) << name;
}

// An item under any other parent never reaches the toolkit: the add is
// refused with a reason naming the container it needs. Under its own, the
// node is the item's tracking object or a carrier box holding the item.
TEST_F(SelectorAdapters, ItemNodesOnlyUnderTheirOwnContainer)
{
    Evas_Object* box = elm_box_add(win);
    Evas_Object* segments = elm_segment_control_add(win);
    for (const ItemKind& k : ITEM_KINDS) {
        SCOPED_TRACE(k.item);
        const WidgetAdapter* a = getAdapter(k.item);
        ASSERT_NE(a, nullptr);
        adapter_take_refusal();
        for (Evas_Object* wrong : { box, strcmp(k.toolkitType, "Elm_Segment_Control") ? segments : box, (Evas_Object*)nullptr }) {
            EXPECT_EQ(a->add(wrong), nullptr);
            EXPECT_NE(adapter_take_refusal().find(k.toolkitType), std::string::npos);
        }
        EXPECT_EQ(elm_segment_control_item_count_get(segments), 0);

        Evas_Object* container = build(k.container);
        Evas_Object* obj = build(k.item, container);
        EXPECT_EQ(elm_object_item_widget_get(node_item(obj)), container);
        EXPECT_STREQ(k.tracked ? evas_object_type_get(obj) : elm_object_widget_type_get(obj),
                     k.tracked ? "rectangle" : "Elm_Box");
        // Only the context popup item names its container.
        EXPECT_EQ(node_container(obj), strcmp(k.item, "efl.ctxpopupitem") ? nullptr : container);

        EXPECT_FALSE(a->set_property(nullptr, node(k.item, { { "text", "x" } }), ""));
        EXPECT_FALSE(a->set_property(obj, nullptr, ""));
        EXPECT_TRUE(a->set_property(obj, node(k.item, {}), ""));
        EXPECT_FALSE(a->set_property(box, node(k.item, { { "text", "x" } }), "")) << "no \"widgetitem\"";
    }
}

TEST_F(SelectorAdapters, ItemTextAndSelectionReachTheToolkit)
{
    Evas_Object* flip = build("efl.flipselector");
    build("efl.flipselectoritem", flip, { { "text", "one" } });
    Elm_Object_Item* two = node_item(build("efl.flipselectoritem", flip, { { "label", "two" }, { "selected", "true" } }));
    EXPECT_EQ(text_of(elm_object_item_text_get(two)), "two");
    EXPECT_EQ(elm_flipselector_selected_item_get(flip), two);

    Evas_Object* segments = build("efl.segmentcontrol");
    Elm_Object_Item* day = node_item(build("efl.segmentcontrolitem", segments, { { "text", "Day" } }));
    Elm_Object_Item* week =
        node_item(build("efl.segmentcontrolitem", segments, { { "text", "Week" }, { "selected", "true" } }));
    EXPECT_EQ(text_of(elm_object_item_text_get(day)), "Day");
    EXPECT_EQ(elm_segment_control_item_selected_get(segments), week);

    Evas_Object* entry = build("efl.multibuttonentry");
    Elm_Object_Item* ana = node_item(build("efl.multibuttonentryitem", entry, { { "text", "Ana" } }));
    Elm_Object_Item* ben =
        node_item(build("efl.multibuttonentryitem", entry, { { "label", "Ben" }, { "selected", "true" } }));
    EXPECT_EQ(text_of(elm_object_item_text_get(ana)), "Ana");
    EXPECT_FALSE(elm_multibuttonentry_item_selected_get(ana));
    EXPECT_TRUE(elm_multibuttonentry_item_selected_get(ben));

    Evas_Object* disk = build("efl.diskselector");
    Elm_Object_Item* jan = node_item(build("efl.diskselectoritem", disk, { { "text", "January" } }));
    EXPECT_EQ(text_of(elm_object_item_text_get(jan)), "January");

    Evas_Object* menu = build("efl.ctxpopup");
    Elm_Object_Item* copy = node_item(build("efl.ctxpopupitem", menu, { { "label", "Copy" } }));
    EXPECT_EQ(text_of(elm_object_item_text_get(copy)), "Copy");

    // The toolbar shows a new label after an animation; its item is found
    // by the label it holds at once.
    Evas_Object* toolbar = build("efl.toolbar");
    Elm_Object_Item* home = node_item(build("efl.toolbaritem", toolbar,
                                            { { "text", "Home" }, { "standard-icon", "home" }, { "selected", "true" } }));
    Elm_Object_Item* files =
        node_item(build("efl.toolbaritem", toolbar, { { "label", "Files" }, { "disable", "true" } }));
    EXPECT_EQ(elm_toolbar_item_find_by_label(toolbar, "Home"), home);
    EXPECT_EQ(elm_toolbar_item_find_by_label(toolbar, "Files"), files);
    EXPECT_TRUE(elm_toolbar_item_selected_get(home));
    EXPECT_EQ(text_of(elm_toolbar_item_icon_get(home)), "home");
    EXPECT_NE(elm_toolbar_item_icon_object_get(home), nullptr);
    EXPECT_TRUE(elm_object_item_disabled_get(files));
    EXPECT_FALSE(elm_object_item_disabled_get(home));
}

// The empty text is skipped, names an item does not know are ignored (the
// shared widget properties too), and booleans are exactly "true"/"false".
TEST_F(SelectorAdapters, ItemsIgnoreEmptyTextsAndForeignNames)
{
    Evas_Object* flip = build("efl.flipselector");
    Evas_Object* obj = build("efl.flipselectoritem", flip, { { "text", "kept" } });
    Elm_Object_Item* item = node_item(obj);
    getAdapter("efl.flipselectoritem")
        ->set_property(obj, node("efl.flipselectoritem", { { "text", "" }, { "visible", "false" }, { "disable", "true" } }),
                       "");
    EXPECT_EQ(text_of(elm_object_item_text_get(item)), "kept");
    EXPECT_TRUE(evas_object_visible_get(obj));
    EXPECT_FALSE(elm_object_disabled_get(obj));

    Evas_Object* toolbar = build("efl.toolbar");
    Evas_Object* track = build("efl.toolbaritem", toolbar, { { "selected", "yes" }, { "disable", "1" } });
    EXPECT_FALSE(elm_toolbar_item_selected_get(node_item(track)));
    EXPECT_FALSE(elm_object_item_disabled_get(node_item(track)));
}

TEST_F(SelectorAdapters, ItemIconsGoToTheItemsIconPart)
{
    Evas_Object* menu = build("efl.ctxpopup");
    Evas_Object* share = build("efl.ctxpopupitem", menu, { { "text", "Share" } });
    Evas_Object* icon = elm_icon_add(win);
    ASSERT_TRUE(pack("efl.ctxpopupitem", share, icon));
    EXPECT_EQ(elm_object_item_part_content_get(node_item(share), "icon"), icon);
    Evas_Aspect_Control aspect;
    Evas_Coord aw, ah;
    evas_object_size_hint_aspect_get(icon, &aspect, &aw, &ah);
    EXPECT_EQ(aspect, EVAS_ASPECT_CONTROL_VERTICAL);
    EXPECT_EQ(aw, 1);
    EXPECT_EQ(ah, 1);
    EXPECT_TRUE(getAdapter("efl.ctxpopupitem")->unpack(share, icon, nullptr));
    EXPECT_EQ(elm_object_item_part_content_get(node_item(share), "icon"), nullptr);
    EXPECT_FALSE(getAdapter("efl.ctxpopupitem")->unpack(share, icon, nullptr)) << "no longer held";
    evas_object_del(icon);

    // These two cannot give an icon back without deleting it: it stays.
    for (const char* kind : { "diskselector", "segmentcontrol" }) {
        std::string container = std::string("efl.") + kind, itemType = container + "item";
        SCOPED_TRACE(itemType);
        Evas_Object* item = build(itemType.c_str(), build(container.c_str()));
        Evas_Object* child = elm_icon_add(win);
        EXPECT_FALSE(pack(itemType.c_str(), nullptr, child));
        ASSERT_TRUE(pack(itemType.c_str(), item, child));
        EXPECT_EQ(elm_object_item_part_content_get(node_item(item), "icon"), child);
        evas_object_size_hint_aspect_get(child, &aspect, &aw, &ah);
        EXPECT_EQ(aspect, EVAS_ASPECT_CONTROL_NONE);
        EXPECT_FALSE(getAdapter(itemType.c_str())->unpack(item, child, nullptr));
        EXPECT_EQ(elm_object_item_part_content_get(node_item(item), "icon"), child);
    }
    for (const char* itemType : { "efl.flipselectoritem", "efl.multibuttonentryitem", "efl.toolbaritem" })
        EXPECT_FALSE(pack(itemType, elm_box_add(win), elm_icon_add(win))) << itemType;
}

// Tracking objects are released exactly once, with their item; carrier
// boxes go alone and their items stay until the container goes.
TEST_F(SelectorAdapters, ItemRemovalLeavesNothingBehind)
{
    Evas_Object* toolbar = build("efl.toolbar");
    Evas_Object* entry = build("efl.multibuttonentry");
    Evas_Object* menu = build("efl.ctxpopup");
    const std::pair<const char*, Evas_Object*> tracked[] = {
        { "efl.toolbaritem", toolbar }, { "efl.multibuttonentryitem", entry }, { "efl.ctxpopupitem", menu } };
    for (const auto& [type, container] : tracked) {
        SCOPED_TRACE(type);
        Evas_Object* obj = build(type, container, { { "text", "x" } });
        int deletions = 0;
        count_del(obj, &deletions);
        EXPECT_TRUE(getAdapter(type)->remove(obj));
        EXPECT_EQ(deletions, 1);
    }
    EXPECT_EQ(elm_toolbar_items_count(toolbar), 0u);
    EXPECT_EQ(elm_multibuttonentry_items_get(entry), nullptr);
    EXPECT_EQ(elm_ctxpopup_items_get(menu), nullptr);
    Evas_Object* list = elm_object_content_get(menu);
    EXPECT_EQ(list ? elm_list_items_get(list) : nullptr, nullptr) << "the popup's row goes with its item";

    Evas_Object* segments = build("efl.segmentcontrol");
    Evas_Object* carrier = build("efl.segmentcontrolitem", segments, { { "text", "Day" } });
    Elm_Object_Item* day = node_item(carrier);
    EXPECT_TRUE(getAdapter("efl.segmentcontrolitem")->remove(carrier));
    EXPECT_EQ(elm_segment_control_item_count_get(segments), 1);
    EXPECT_EQ(elm_segment_control_item_get(segments, 0), day);
    EXPECT_EQ(elm_object_item_data_get(day), nullptr) << "the item no longer points at the carrier";
    evas_object_del(segments);

    // The container first: the carrier is left without its item.
    Evas_Object* flip = build("efl.flipselector");
    carrier = build("efl.flipselectoritem", flip, { { "text", "1" } });
    evas_object_del(flip);
    EXPECT_EQ(node_item(carrier), nullptr);
    EXPECT_FALSE(getAdapter("efl.flipselectoritem")->set_property(carrier, node("x", { { "text", "2" } }), ""));
    EXPECT_TRUE(getAdapter("efl.flipselectoritem")->remove(carrier));
}

// A context popup item follows the row the popup draws it as.
TEST_F(SelectorAdapters, ContextPopupItemsFollowTheirRows)
{
    Evas_Object* menu = build("efl.ctxpopup", { { "horizontal", "" } });
    evas_object_resize(menu, 480, 800);
    Evas_Object* copy = build("efl.ctxpopupitem", menu, { { "text", "Copy" } });
    Evas_Object* paste = build("efl.ctxpopupitem", menu, { { "text", "Paste" } });
    EXPECT_FALSE(elm_ctxpopup_horizontal_get(menu));
    Elm_Ctxpopup_Direction first, second, third, fourth;
    elm_ctxpopup_direction_priority_get(menu, &first, &second, &third, &fourth);
    EXPECT_EQ(first, ELM_CTXPOPUP_DIRECTION_DOWN);
    EXPECT_EQ(second, ELM_CTXPOPUP_DIRECTION_UNKNOWN);
    EXPECT_EQ(fourth, ELM_CTXPOPUP_DIRECTION_UNKNOWN);
    EXPECT_TRUE(evas_object_visible_get(menu));
    renderOnce();
    int x1, y1, w1, h1, x2, y2, w2, h2;
    evas_object_geometry_get(copy, &x1, &y1, &w1, &h1);
    evas_object_geometry_get(paste, &x2, &y2, &w2, &h2);
    EXPECT_GT(w1 * h1, 0);
    EXPECT_EQ(w1, w2);
    EXPECT_EQ(y2, y1 + h1) << "the second row is below the first";

    // A window resize does not dismiss it.
    evas_object_resize(win, 360, 480);
    renderOnce();
    EXPECT_TRUE(evas_object_visible_get(menu));

    Evas_Object* wide = build("efl.ctxpopup", { { "horizontal", "true" } });
    EXPECT_TRUE(elm_ctxpopup_horizontal_get(wide));
}

// --- Containers ----------------------------------------------------------------

TEST_F(SelectorAdapters, ToolbarHomogeneityFollowsTheRememberedShrinkMode)
{
    // Hide, menu and expand modes leave homogeneity as the toolkit has it
    // (menu turns it off), whatever "homogeneous" says.
    for (const char* mode : { "1", "3", "4" }) {
        Evas_Object* t = build("efl.toolbar", { { "homogeneous", "true" }, { "shrink-mode", mode } });
        EXPECT_EQ(elm_toolbar_shrink_mode_get(t), atoi(mode));
        EXPECT_FALSE(elm_toolbar_homogeneous_get(t)) << mode;
    }
    Evas_Object* menu = build("efl.toolbar", { { "homogeneous", "false" }, { "shrink-mode", "3" } });
    EXPECT_FALSE(elm_toolbar_homogeneous_get(menu));
    // Other modes apply the flag, which starts true for every node.
    Evas_Object* scroll = build("efl.toolbar", { { "homogeneous", "false" }, { "shrink-mode", "2" } });
    EXPECT_FALSE(elm_toolbar_homogeneous_get(scroll));
    EXPECT_EQ(elm_toolbar_shrink_mode_get(scroll), ELM_TOOLBAR_SHRINK_SCROLL);
    // Made homogeneous, the toolkit drops the scroll mode itself.
    Evas_Object* plain = build("efl.toolbar", { { "shrink-mode", "2" } });
    EXPECT_TRUE(elm_toolbar_homogeneous_get(plain));
    EXPECT_EQ(elm_toolbar_shrink_mode_get(plain), ELM_TOOLBAR_SHRINK_NONE);
    EXPECT_TRUE(elm_toolbar_homogeneous_get(build("efl.toolbar", { { "homogeneous", "maybe" }, { "shrink-mode", "0" } })));
}

TEST_F(SelectorAdapters, ToolbarAlignIsReadAsAnInteger)
{
    Evas_Object* t = build("efl.toolbar");
    EXPECT_DOUBLE_EQ(elm_toolbar_align_get(t), 0.5) << "the toolkit's default";
    getAdapter("efl.toolbar")->set_property(t, node("efl.toolbar", { { "align", "0.5" } }), "");
    EXPECT_DOUBLE_EQ(elm_toolbar_align_get(t), 0.0);
    getAdapter("efl.toolbar")->set_property(t, node("efl.toolbar", { { "align", "1.9" } }), "");
    EXPECT_DOUBLE_EQ(elm_toolbar_align_get(t), 1.0);
    testing::internal::CaptureStderr();
    getAdapter("efl.toolbar")->set_property(t, node("efl.toolbar", { { "align", "2" }, { "align", "-1" } }), "");
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_DOUBLE_EQ(elm_toolbar_align_get(t), 1.0);
    EXPECT_EQ(lines_in(err), 2) << err;
    EXPECT_NE(err.find("\"s1\""), std::string::npos) << "names the node: " << err;
}

// Numbers the toolkit would store and misuse are refused with a line each;
// those it checks itself, or that are in range, reach it unchanged.
TEST_F(SelectorAdapters, ToolbarNumbersInTheToolkitsRange)
{
    Evas_Object* t = nullptr;
    std::string err = buildReporting("efl.toolbar", win,
                                     { { "shrink-mode", "7" }, { "icon-size", "-5" }, { "icon-size", "100000" } }, &t);
    EXPECT_EQ(lines_in(err), 3) << err;
    EXPECT_EQ(elm_toolbar_shrink_mode_get(t), ELM_TOOLBAR_SHRINK_NONE);
    EXPECT_GE(elm_toolbar_icon_size_get(t), 0);
    EXPECT_NE(elm_toolbar_icon_size_get(t), 100000);

    err = buildReporting("efl.toolbar", win,
                         { { "shrink-mode", "2" }, { "select-mode", "2" }, { "icon-size", "48" }, { "icon-order-lookup", "9" },
                           { "transverse-expanded", "true" }, { "homogeneous", "false" }, { "horizontal", "false" },
                           { "standard-priority", "-3" } },
                         &t);
    EXPECT_EQ(err, "");
    EXPECT_EQ(elm_toolbar_shrink_mode_get(t), ELM_TOOLBAR_SHRINK_SCROLL);
    EXPECT_EQ(elm_toolbar_select_mode_get(t), ELM_OBJECT_SELECT_MODE_NONE);
    EXPECT_EQ(elm_toolbar_icon_size_get(t), 48);
    EXPECT_TRUE(elm_toolbar_transverse_expanded_get(t));
    EXPECT_FALSE(elm_toolbar_horizontal_get(t));
    EXPECT_EQ(elm_toolbar_standard_priority_get(t), -3);
    // The toolkit refuses select modes outside its enumeration itself.
    err = buildReporting("efl.toolbar", win, { { "select-mode", "9" } }, &t);
    EXPECT_EQ(err, "");
    EXPECT_EQ(elm_toolbar_select_mode_get(t), ELM_OBJECT_SELECT_MODE_DEFAULT);
}

// Opening a pipe would block the main loop for good: a toolbar icon is
// loaded only from a regular file. SIGALRM's default action (the toolkit
// installs its own handler) ends a hung run.
TEST_F(SelectorAdapters, ToolbarIconsLoadOnlyFromRegularFiles)
{
    char dir[] = "/tmp/adapters_selector_XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    std::string fifo = std::string(dir) + "/pipe", image = std::string(dir) + "/red.ppm";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    FILE* f = fopen(image.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    fputs("P6\n2 2\n255\n", f);
    for (int i = 0; i < 4; ++i)
        fwrite("\xff\x00\x00", 1, 3, f);
    fclose(f);

    Evas_Object* toolbar = build("efl.toolbar");
    void (*toolkitHandler)(int) = signal(SIGALRM, SIG_DFL);
    alarm(20);
    Evas_Object* a = nullptr;
    std::string err = buildReporting("efl.toolbaritem", toolbar, { { "image-path", fifo.c_str() } }, &a);
    Evas_Object* b = nullptr;
    err += buildReporting("efl.toolbaritem", toolbar, { { "standard-icon", fifo.c_str() } }, &b);
    Evas_Object* c = nullptr;
    err += buildReporting("efl.toolbaritem", toolbar, { { "image-path", dir } }, &c);
    alarm(0);
    signal(SIGALRM, toolkitHandler);
    EXPECT_EQ(lines_in(err), 3) << err;
    EXPECT_EQ(elm_toolbar_item_icon_object_get(node_item(a)), nullptr);
    EXPECT_EQ(elm_toolbar_item_icon_object_get(node_item(b)), nullptr);

    Evas_Object* d = build("efl.toolbaritem", toolbar, { { "image-path", image.c_str() } });
    EXPECT_NE(elm_toolbar_item_icon_object_get(node_item(d)), nullptr);
    getAdapter("efl.toolbaritem")->set_property(d, node("efl.toolbaritem", { { "image-path", "" } }), "");
    EXPECT_EQ(elm_toolbar_item_icon_object_get(node_item(d)), nullptr) << "the empty path clears the icon";

    remove(fifo.c_str());
    remove(image.c_str());
    rmdir(dir);
}

TEST_F(SelectorAdapters, PopupHeightCarriesOverToLaterPopups)
{
    // The render sets both scales; here they differ to show the conversion.
    double scale = elm_config_scale_get(), base = elm_app_base_scale_get();
    elm_config_scale_set(2.3);
    elm_app_base_scale_set(1.8);
    const int scaled = int(100 / 1.8 * 2.3); // 127

    Evas_Object* first = build("efl.popup", { { "title", "Delete?" }, { "height", "100" } });
    EXPECT_EQ(text_of(elm_object_part_text_get(first, "title,text")), "Delete?");
    double ax, ay, wx, wy;
    elm_popup_align_get(first, &ax, &ay);
    evas_object_size_hint_weight_get(first, &wx, &wy);
    EXPECT_DOUBLE_EQ(ax, -1.0);
    EXPECT_DOUBLE_EQ(ay, 1.0);
    EXPECT_DOUBLE_EQ(wx, 1.0);
    EXPECT_DOUBLE_EQ(wy, 1.0);
    Evas_Object* content = elm_label_add(first);
    ASSERT_TRUE(pack("efl.popup", first, content));
    EXPECT_EQ(elm_object_content_get(first), content);
    EXPECT_EQ(efl_gfx_hint_size_min_get(content).h, scaled);

    Evas_Object* second = build("efl.popup", { { "title", "Again" } });
    Evas_Object* later = elm_label_add(second);
    pack("efl.popup", second, later);
    EXPECT_EQ(efl_gfx_hint_size_min_get(later).h, scaled) << "no \"height\": the last one given";
    renderOnce();
    int x, y, w, h;
    evas_object_geometry_get(later, &x, &y, &w, &h);
    EXPECT_GE(h, scaled) << "the content is laid out at least that high";
    EXPECT_TRUE(getAdapter("efl.popup")->unpack(second, later, nullptr));
    EXPECT_EQ(elm_object_content_get(second), nullptr);
    evas_object_del(later);

    // Out of range: refused, the remembered height stays.
    Evas_Object* third = nullptr;
    std::string err = buildReporting("efl.popup", win, { { "height", "-5" }, { "height", "20000" } }, &third);
    EXPECT_EQ(lines_in(err), 2) << err;
    Evas_Object* kept = elm_label_add(third);
    pack("efl.popup", third, kept);
    EXPECT_EQ(efl_gfx_hint_size_min_get(kept).h, scaled);

    // -1 forgets it.
    Evas_Object* fourth = build("efl.popup", { { "height", "-1" } });
    Evas_Object* free = elm_label_add(fourth);
    pack("efl.popup", fourth, free);
    EXPECT_EQ(efl_gfx_hint_size_min_get(free).h, 0);

    elm_config_scale_set(scale);
    elm_app_base_scale_set(base);
}

// The entry's "disable" waits for an item: an entry without items keeps its
// state, and the text carries over to later entries.
TEST_F(SelectorAdapters, MultibuttonentryDisableAppliesWhenAnItemIsAdded)
{
    Evas_Object* empty = build("efl.multibuttonentry", { { "disable", "true" }, { "text", "To:" } });
    EXPECT_FALSE(elm_object_disabled_get(empty));
    EXPECT_EQ(text_of(elm_object_text_get(empty)), "To:");

    Evas_Object* entry = build("efl.multibuttonentry", { { "disable", "true" }, { "editable", "false" } });
    EXPECT_FALSE(elm_multibuttonentry_editable_get(entry));
    EXPECT_FALSE(elm_object_disabled_get(entry));
    build("efl.multibuttonentryitem", entry, { { "text", "Ana" } });
    EXPECT_TRUE(elm_object_disabled_get(entry));
    // The toolkit collapses an entry only once it holds items.
    getAdapter("efl.multibuttonentry")->set_property(entry, node("efl.multibuttonentry", { { "expanded", "false" } }), "");
    EXPECT_FALSE(elm_multibuttonentry_expanded_get(entry));

    Evas_Object* later = build("efl.multibuttonentry", { { "label", "Cc:" } });
    build("efl.multibuttonentryitem", later);
    EXPECT_TRUE(elm_object_disabled_get(later)) << "carried over from the last entry with \"disable\"";

    Evas_Object* other = build("efl.multibuttonentry", { { "disable", "perhaps" } });
    elm_object_disabled_set(other, EINA_TRUE);
    build("efl.multibuttonentryitem", other);
    EXPECT_TRUE(elm_object_disabled_get(other)) << "other texts change nothing";

    Evas_Object* enabled = build("efl.multibuttonentry", { { "disable", "false" } });
    elm_object_disabled_set(enabled, EINA_TRUE);
    build("efl.multibuttonentryitem", enabled);
    EXPECT_FALSE(elm_object_disabled_get(enabled));
}

TEST_F(SelectorAdapters, DiskselectorIgnoresEvenSharedProperties)
{
    Evas_Object* disk = build("efl.diskselector", { { "visible", "false" },
                                                    { "disable", "true" },
                                                    { "style", "nonexistent" },
                                                    { "align-x", "0.2" },
                                                    { "align-y", "0.2" } });
    EXPECT_TRUE(evas_object_visible_get(disk));
    EXPECT_FALSE(elm_object_disabled_get(disk));
    EXPECT_EQ(text_of(elm_object_style_get(disk)), "default");
    double x, y;
    evas_object_size_hint_align_get(disk, &x, &y);
    EXPECT_DOUBLE_EQ(x, 0.5);
}

TEST_F(SelectorAdapters, FlipselectorAndSegmentControlTakeSharedProperties)
{
    Evas_Object* flip = build("efl.flipselector", { { "disable", "true" } });
    EXPECT_DOUBLE_EQ(elm_flipselector_first_interval_get(flip), 0.01);
    EXPECT_TRUE(elm_object_disabled_get(flip));
    Evas_Object* segments = build("efl.segmentcontrol", { { "visible", "false" } });
    EXPECT_FALSE(evas_object_visible_get(segments));
}

// --- Whole trees ---------------------------------------------------------------

class SelectorTrees : public RenderWindowTest {};

using tree_json::kids;
using tree_json::node;
using tree_json::props;

size_t count_positions(Evas_Object* win, Evas_Object* page)
{
    char* text = get_all_widget_positions(win, page);
    Json::Value v = tree_json::parse(text ? text : "");
    free(text);
    return v.size();
}

// An item under the wrong container is skipped with one line naming it; the
// rest of the tree is built.
TEST_F(SelectorTrees, MisplacedItemsAreSkippedWithOneLineEach)
{
    Json::Value tree = node("efl.box", "root", Json::Value(),
                            kids({ node("efl.toolbaritem", "stray-tool", props({ { "text", "x" } })),
                                   node("efl.toolbar", "tools", Json::Value(),
                                        kids({ node("efl.segmentcontrolitem", "stray-segment"),
                                               node("efl.toolbaritem", "tool", props({ { "text", "ok" } })) })),
                                   node("efl.label", "after") }));
    testing::internal::CaptureStderr();
    render(tree);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(lines_in(err), 2) << err;
    EXPECT_NE(err.find("\"stray-tool\""), std::string::npos) << err;
    EXPECT_NE(err.find("\"stray-segment\""), std::string::npos) << err;
    EXPECT_NE(err.find("Elm_Toolbar"), std::string::npos) << err;
    EXPECT_NE(err.find("Elm_Segment_Control"), std::string::npos) << err;
    EXPECT_EQ(count_positions(win, page()), 4u) << "root, toolbar, its good item, label";
}

int top_level_objects(Evas_Object* window)
{
    int n = 0;
    for (Evas_Object* o = evas_object_bottom_get(evas_object_evas_get(window)); o; o = evas_object_above_get(o))
        ++n;
    return n;
}

Json::Value every_kind_tree()
{
    Json::Value icon = node("efl.icon", "icon", props({ { "standard", "home" } }));
    return node(
        "efl.box", "root", Json::Value(),
        kids({ node("efl.toolbar", "tb", Json::Value(),
                    kids({ node("efl.toolbaritem", "t1", props({ { "text", "A" }, { "standard-icon", "home" } })),
                           node("efl.toolbaritem", "t2", props({ { "text", "B" } })) })),
               node("efl.segmentcontrol", "sc", Json::Value(),
                    kids({ node("efl.segmentcontrolitem", "s1", props({ { "text", "1" } }), kids({ icon })),
                           node("efl.segmentcontrolitem", "s2", props({ { "text", "2" }, { "selected", "true" } })) })),
               node("efl.flipselector", "fs", Json::Value(),
                    kids({ node("efl.flipselectoritem", "f1", props({ { "selected", "true" } })) })),
               node("efl.diskselector", "ds", Json::Value(),
                    kids({ node("efl.diskselectoritem", "d1", props({ { "text", "1" } }), kids({ icon })) })),
               node("efl.multibuttonentry", "mb", Json::Value(),
                    kids({ node("efl.multibuttonentryitem", "m1", props({ { "text", "Ana" } })) })),
               node("efl.popup", "pp", props({ { "title", "T" } }),
                    kids({ node("efl.label", "pl", props({ { "text", "body" } })) })),
               node("efl.ctxpopup", "cp", Json::Value(),
                    kids({ node("efl.ctxpopupitem", "c1", props({ { "text", "Copy" } }), kids({ icon })) })) }));
}

// Each render tears the last tree down: tracking objects, carriers and
// widgets all go, in this window only. (Resident memory over a thousand
// renders in the real engine: bench/item_memory.cpp.)
TEST_F(SelectorTrees, RerenderingEveryKindLeavesNothingBehindInEitherWindow)
{
    Evas_Object* other = elm_win_util_standard_add("", "");
    evas_object_resize(other, 360, 480);
    evas_object_show(other);
    const int otherId = id + 1;
    WindowManager::getInstance()->add(otherId, other, "/p", "mobile");
    renderTextIn(otherId, tree_json::compact(every_kind_tree()));
    auto* otherPage = static_cast<Evas_Object*>(evas_object_data_get(other, KEY_PAGE));
    ASSERT_NE(otherPage, nullptr);
    EXPECT_EQ(count_positions(other, otherPage), 20u) << "every node built";
    const int otherObjects = top_level_objects(other);

    testing::internal::CaptureStderr();
    render(every_kind_tree());
    const int objects = top_level_objects(win);
    for (int i = 0; i < 20; ++i)
        render(every_kind_tree());
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(top_level_objects(win), objects);
    EXPECT_EQ(count_positions(win, page()), 20u);
    EXPECT_EQ(err.find("render-engine"), std::string::npos) << err;

    EXPECT_EQ(top_level_objects(other), otherObjects) << "the other window's tree is untouched";
    EXPECT_EQ(count_positions(other, otherPage), 20u);

    free_evas_object(static_cast<Evas_Object*>(evas_object_data_del(other, KEY_PAGE)));
    WindowManager::getInstance()->remove(otherId);
    evas_object_del(other);
}

} // namespace
