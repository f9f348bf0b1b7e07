// The render pipeline in-process: adapter registry, shared properties,
// containers and placeholders, tree building, teardown and the position documents.
#include <json/json.h>

#include <vector>

#include "render_fixture.h"
#include "utils/json_util.h"

namespace {

using tree_json::compact;
using tree_json::node;

Json::Value parsed(char* text)
{
    Json::Value v;
    EXPECT_TRUE(text);
    if (text)
        json_util_parse(text, v);
    free(text);
    return v;
}

TEST(AdapterRegistry, NamesResolveExactly)
{
    EXPECT_NE(getAdapter("efl.bg"), nullptr);
    EXPECT_EQ(getAdapter("zelva.doc"), getAdapter("efl.bg"));
    EXPECT_EQ(getAdapter("zelva.content"), getAdapter("efl.bg"));
    EXPECT_NE(getAdapter("efl.box"), nullptr);
    EXPECT_NE(getAdapter("efl.table"), nullptr);
    EXPECT_NE(getAdapter("efl.grid"), nullptr);
    EXPECT_NE(getAdapter("efl.table"), getAdapter("efl.box"));
    EXPECT_EQ(getAdapter("efl.Box"), nullptr);
    EXPECT_EQ(getAdapter("efl.box "), nullptr);
    EXPECT_EQ(getAdapter("efl.nothing"), nullptr);
    EXPECT_EQ(getAdapter(""), nullptr);
}

class SharedProperties : public ToolkitTest {};

TEST_F(SharedProperties, AlignAndWeightApplyOncePairsAreComplete)
{
    Evas_Object* obj = elm_label_add(win);
    double x, y;
    common_set_property(obj, "align-x", "FILL");
    evas_object_size_hint_align_get(obj, &x, &y);
    EXPECT_DOUBLE_EQ(x, 0.5) << "half a pair sets nothing";
    common_set_property(obj, "align-y", "0.5");
    evas_object_size_hint_align_get(obj, &x, &y);
    EXPECT_DOUBLE_EQ(x, -1.0);
    EXPECT_DOUBLE_EQ(y, 0.5);

    common_set_property(obj, "weight-x", "");
    common_set_property(obj, "weight-y", "1");
    evas_object_size_hint_weight_get(obj, &x, &y);
    EXPECT_DOUBLE_EQ(x, 0.0) << "an empty weight-x is not stored";
    common_set_property(obj, "weight-x", "FILL");
    evas_object_size_hint_weight_get(obj, &x, &y);
    EXPECT_DOUBLE_EQ(x, 0.0) << "FILL means nothing for weights";
    EXPECT_DOUBLE_EQ(y, 1.0);
}

TEST_F(SharedProperties, TextStyleDisableVisible)
{
    Evas_Object* obj = elm_label_add(win);
    evas_object_show(obj);
    EXPECT_TRUE(common_set_property(obj, "text", "hello"));
    EXPECT_STREQ(elm_object_text_get(obj), "hello");
    common_set_property(obj, "disable", "true");
    EXPECT_TRUE(elm_object_disabled_get(obj));
    common_set_property(obj, "disable", "maybe");
    EXPECT_TRUE(elm_object_disabled_get(obj));
    common_set_property(obj, "disable", "false");
    EXPECT_FALSE(elm_object_disabled_get(obj));
    common_set_property(obj, "visible", "yes");
    EXPECT_TRUE(evas_object_visible_get(obj));
    common_set_property(obj, "visible", "false");
    EXPECT_FALSE(evas_object_visible_get(obj));
    common_set_property(obj, "style", "marker");
    EXPECT_STREQ(elm_object_style_get(obj), "marker");
    EXPECT_TRUE(common_set_property(obj, "unknown-name", "x"));
    EXPECT_FALSE(common_set_property(nullptr, "text", "x"));
}

TEST_F(SharedProperties, PlaceholderIsAHiddenFillingRectangle)
{
    Evas_Object* ph = makePlaceHolder(win);
    ASSERT_TRUE(ph);
    EXPECT_FALSE(evas_object_visible_get(ph));
    double x, y;
    evas_object_size_hint_weight_get(ph, &x, &y);
    EXPECT_EQ(x, 1.0);
    EXPECT_EQ(y, 1.0);
    evas_object_size_hint_align_get(ph, &x, &y);
    EXPECT_EQ(x, -1.0);
    EXPECT_EQ(y, -1.0);
    EXPECT_STREQ(evas_object_type_get(ph), "rectangle");
    evas_object_del(ph);
}

class Containers : public ToolkitTest {
protected:
    const WidgetAdapter* table = getAdapter("efl.table");
    const WidgetAdapter* box = getAdapter("efl.box");
    const WidgetAdapter* grid = getAdapter("efl.grid");

    Evas_Object* build(const WidgetAdapter* a, _WidgetInfo* n)
    {
        Evas_Object* obj = a->add(win);
        efl_util_tag_text(obj, "wid", n->wid.c_str());
        a->set_property(obj, n, "");
        deleteWidgetsInfo(n);
        return obj;
    }

    // Packs a fresh label into `container` as a child with these properties.
    Evas_Object* packChild(const WidgetAdapter* a, Evas_Object* container, const char* wid,
                           std::initializer_list<std::pair<const char*, const char*>> props)
    {
        Evas_Object* child = elm_label_add(container);
        efl_util_tag_text(child, "wid", wid);
        _WidgetInfo* n = makeNode("efl.label", wid, props);
        a->pack(container, child, n);
        deleteWidgetsInfo(n);
        return child;
    }

    static std::vector<std::string> placeholderWids(Evas_Object* container)
    {
        std::vector<std::string> out;
        const Eina_List* l;
        void* ph;
        EINA_LIST_FOREACH(efl_util_list_get(container, "placeholder"), l, ph) {
            auto* wid = static_cast<const char*>(evas_object_data_get(static_cast<Evas_Object*>(ph), "wid"));
            out.push_back(wid ? wid : "");
        }
        return out;
    }
};

TEST_F(Containers, TableCellsAreMarkedByTheChildAtTheirTopLeft)
{
    Evas_Object* t = build(table, makeNode("efl.table", "t", { { "col_count", "3" }, { "row_count", "2" } }));
    ASSERT_EQ(placeholderWids(t).size(), 6u);
    packChild(table, t, "c1", { { "pack-left", "1" }, { "pack-top", "1" }, { "pack-width", "2" }, { "pack-height", "1" } });
    EXPECT_EQ(placeholderWids(t), (std::vector<std::string> { "", "", "", "", "c1", "" }));
    Evas_Object* loose = packChild(table, t, "c2", { { "pack-left", "0" }, { "pack-top", "0" }, { "pack-width", "1" } });
    EXPECT_NE(evas_object_smart_parent_get(loose), t) << "a child without pack-height is not packed";
    packChild(table, t, "far", { { "pack-left", "0" }, { "pack-top", "9" }, { "pack-width", "1" }, { "pack-height", "1" } });
    EXPECT_EQ(placeholderWids(t)[0], "") << "an index past the end marks nothing";
}

TEST_F(Containers, NestedTablesMarkTheirOwnCells)
{
    Evas_Object* outer = build(table, makeNode("efl.table", "o", { { "col_count", "3" }, { "row_count", "2" } }));
    Evas_Object* inner = build(table, makeNode("efl.table", "i", { { "col_count", "2" }, { "row_count", "2" } }));
    _WidgetInfo* n = makeNode("efl.table", "i", { { "pack-left", "0" }, { "pack-top", "1" }, { "pack-width", "1" }, { "pack-height", "1" } });
    table->pack(outer, inner, n);
    deleteWidgetsInfo(n);
    EXPECT_EQ(placeholderWids(outer)[3], "i");
    EXPECT_EQ(placeholderWids(inner), (std::vector<std::string>(4, "")));
}

TEST_F(Containers, HalfGivenPairsApplyNothing)
{
    Evas_Object* t = build(table, makeNode("efl.table", "t", { { "col_count", "3" }, { "padding_h", "7" } }));
    EXPECT_TRUE(placeholderWids(t).empty());
    Evas_Coord h = -1, v = -1;
    elm_table_padding_get(t, &h, &v);
    EXPECT_EQ(h, 0);
    Evas_Object* b = build(box, makeNode("efl.box", "b", { { "padding_h", "5" }, { "horizontal", "yes" } }));
    elm_box_padding_get(b, &h, &v);
    EXPECT_EQ(h, 0);
    EXPECT_FALSE(elm_box_horizontal_get(b));
    Evas_Object* b2 = build(box, makeNode("efl.box", "b2", { { "padding_h", "5" }, { "padding_v", "6" }, { "horizontal", "true" } }));
    elm_box_padding_get(b2, &h, &v);
    EXPECT_EQ(h, 5);
    EXPECT_EQ(v, 6);
    EXPECT_TRUE(elm_box_horizontal_get(b2));
}

TEST_F(Containers, GridAllowsNegativePositionsBoxIgnoresPacking)
{
    Evas_Object* g = build(grid, makeNode("efl.grid", "g", { { "col_count", "100" }, { "row_count", "100" } }));
    Evas_Coord gw, gh;
    elm_grid_size_get(g, &gw, &gh);
    EXPECT_EQ(gw, 100);
    Evas_Object* c = packChild(grid, g, "c", { { "pack-left", "-5" }, { "pack-top", "3" }, { "pack-width", "10" }, { "pack-height", "10" } });
    Evas_Coord x, y, w, h;
    elm_grid_pack_get(c, &x, &y, &w, &h);
    EXPECT_EQ(x, -5);
    EXPECT_EQ(y, 3);
    Evas_Object* b = build(box, makeNode("efl.box", "b"));
    Evas_Object* first = packChild(box, b, "1", { { "pack-left", "4" } });
    Evas_Object* second = packChild(box, b, "2", {});
    Eina_List* kids = elm_box_children_get(b);
    ASSERT_EQ(eina_list_count(kids), 2u);
    EXPECT_EQ(eina_list_nth(kids, 0), first);
    EXPECT_EQ(eina_list_nth(kids, 1), second);
    eina_list_free(kids);
}

class RenderCommand : public RenderWindowTest {
protected:
    void render(const Json::Value& tree, int w = 480, int h = 800)
    {
        width = w;
        height = h;
        RenderWindowTest::render(tree);
    }
};

TEST_F(RenderCommand, ScaleTableIsExact)
{
    EXPECT_DOUBLE_EQ(getScaleFromWinSize(720, 1280), 2.3);
    EXPECT_DOUBLE_EQ(getScaleFromWinSize(1280, 720), 1.8);
    EXPECT_DOUBLE_EQ(getScaleFromWinSize(360, 360), 1.3);
    EXPECT_DOUBLE_EQ(getScaleFromWinSize(320, 320), 1.4);
    EXPECT_DOUBLE_EQ(getScaleFromWinSize(540, 960), 1.7);
    EXPECT_DOUBLE_EQ(getScaleFromWinSize(1, 1), 1.8);
    render(node("efl.bg", "bg"), 720, 1280);
    EXPECT_DOUBLE_EQ(elm_config_scale_get(), 2.3);
}

TEST_F(RenderCommand, PropertiesArriveSortedAndEscapesRestoredBelowTheRoot)
{
    CmdRender cmd;
    Json::Value props;
    props["b"] = "a\\\\\\b";
    props["a"] = "x\\xe2\\x84\\x89";
    Json::Value tree = node("efl.bg", "root", props, Json::Value(Json::arrayValue));
    tree["children"].append(node("efl.bg", "child", props));
    cmd.setRenderData(compact(tree));
    WidgetInfoPtr built = cmd.createWingetsInfo();
    _WidgetInfo* root = built.get();
    ASSERT_TRUE(root);
    auto values = [](_WidgetInfo* n) {
        std::vector<std::string> out;
        const Eina_List* l;
        void* p;
        EINA_LIST_FOREACH(n->properties, l, p)
            out.push_back(static_cast<Property*>(p)->name + "=" + static_cast<Property*>(p)->value);
        return out;
    };
    // The JSON text doubles each backslash; the root keeps one marker per character.
    const std::string m = "`U+2109``U+2109`";
    EXPECT_EQ(values(root), (std::vector<std::string> { "a=x" + m + "xe2" + m + "x84" + m + "x89", "b=a" + m + m + m + "b" }));
    auto* child = static_cast<_WidgetInfo*>(eina_list_data_get(root->children));
    ASSERT_TRUE(child);
    EXPECT_EQ(child->parent, root);
    EXPECT_EQ(values(child), (std::vector<std::string> { "a=x\xe2\x84\x89", "b=a\\b" }));
}

TEST_F(RenderCommand, MalformedNodesAreSkippedAndTheRestBuilt)
{
    Json::Value kids(Json::arrayValue);
    kids.append(node("efl.nosuchwidget", "ghost", Json::Value(), Json::Value(Json::arrayValue)));
    kids[0]["children"].append(node("efl.bg", "ghost-child"));
    kids.append(42);
    Json::Value badWid = node("efl.bg", "x");
    badWid["wid"] = 7;
    kids.append(badWid);
    Json::Value badProps = node("efl.bg", "props");
    badProps["properties"]["color"] = 5;
    badProps["properties"]["visible"] = "true";
    kids.append(badProps);
    Json::Value badKids = node("efl.box", "kids");
    badKids["children"] = "none";
    kids.append(badKids);
    render(node("efl.box", "root", Json::Value(), kids));
    ASSERT_TRUE(page());
    Json::Value doc = parsed(get_all_widget_positions(win, page()));
    ASSERT_EQ(doc.size(), 3u);
    EXPECT_EQ(doc[0]["wid"], "root");
    EXPECT_EQ(doc[1]["wid"], "props");
    EXPECT_EQ(doc[2]["wid"], "kids");
}

// The render command alone, without the flush the dispatcher runs before
// the next request.
void render_command_alone(int id, const Json::Value& tree)
{
    run_command_alone<CmdRender>(id, render_data(480, 800, compact(tree)));
}

// The replaced page goes after the frame, hidden until then, so the frame
// never shows it; a page with file pickers goes at once, before the build.
// Either way its teardown is batched: unbatched, every removed widget relaid
// out what was left of the page (1.2 s instead of 55 ms for 500 widgets).
TEST_F(RenderCommand, TheReplacedPageGoesBatchedAfterTheFrameUnlessItHoldsFilePickers)
{
    static int deletions = 0, batched = 0;
    auto watch = [](Evas_Object* page) {
        evas_object_event_callback_add(
            page, EVAS_CALLBACK_DEL,
            [](void*, Evas* canvas, Evas_Object*, void*) {
                ++deletions;
                batched += evas_event_freeze_get(canvas) > 0;
            },
            nullptr);
    };
    deletions = batched = 0;
    Json::Value kids(Json::arrayValue);
    kids.append(node("efl.button", "b"));
    render_command_alone(id, node("efl.box", "plain", Json::Value(), kids));
    Evas_Object* plain = page();
    ASSERT_TRUE(plain);
    watch(plain);

    Json::Value pickers(Json::arrayValue);
    pickers.append(node("efl.fileselectorbutton", "picker"));
    render_command_alone(id, node("efl.box", "with-picker", Json::Value(), pickers));
    EXPECT_EQ(deletions, 0) << "the plain page outlives the render";
    EXPECT_FALSE(evas_object_visible_get(plain)) << "and is hidden";
    retired_pages_flush();
    EXPECT_EQ(deletions, 1);

    Evas_Object* withPicker = page();
    ASSERT_TRUE(withPicker);
    watch(withPicker);
    render_command_alone(id, node("efl.bg", "after"));
    EXPECT_EQ(deletions, 2) << "the page with a file picker went before the build";
    retired_pages_flush();
    EXPECT_EQ(deletions, 2);
    EXPECT_EQ(batched, 2) << "both pages were torn down with recalculation batched";
}

// A frame leaves the flush of the page it replaced to the idle loop; a request
// that comes first flushes it itself, and the idle flush must then go too:
// left pending, it would delete the next replaced page before that render's
// frame and draw the frame as the quiet render of a deletion.
TEST_F(RenderCommand, AFlushBeforeARequestDropsTheOneLeftForTheIdleLoop)
{
    render_command_alone(id, node("efl.bg", "first"));
    render_command_alone(id, node("efl.bg", "second"));
    ASSERT_TRUE(retired_pages_pending());
    retired_pages_flush_when_idle(); // as after the frame
    retired_pages_flush();           // as before the next request
    render_command_alone(id, node("efl.bg", "third"));
    ASSERT_TRUE(retired_pages_pending());
    ASSERT_TRUE(run_until_idle());
    EXPECT_TRUE(retired_pages_pending()) << "a flush nobody asked for since ran on the idle loop";
    retired_pages_flush_when_idle();
    ASSERT_TRUE(run_until_idle());
    EXPECT_FALSE(retired_pages_pending());
}

// A frame still being drawn when a render command starts shows the old page:
// it must go out while the old page is still the window's, never carrying
// the positions of a new page not yet laid out.
TEST_F(RenderCommand, AFrameInFlightIsDoneBeforeTheNewPageIsTheWindows)
{
    render_command_alone(id, node("efl.bg", "old"));
    Evas_Object* old = page();
    ASSERT_TRUE(old);
    static Evas_Object* shownPage = nullptr;
    static int posts = 0;
    shownPage = nullptr;
    posts = 0;
    auto post = [](void* window, Evas*, void*) {
        ++posts;
        shownPage = static_cast<Evas_Object*>(evas_object_data_get(static_cast<Evas_Object*>(window), KEY_PAGE));
    };
    Evas* canvas = evas_object_evas_get(win);
    evas_event_callback_add(canvas, EVAS_CALLBACK_RENDER_POST, post, win);
    // As the toolkit's own idle render for an animation: drawn on its render
    // thread, its end delivered only when the main thread next takes it.
    ASSERT_TRUE(evas_render_async(canvas));
    render_command_alone(id, node("efl.bg", "new"));
    window_canvas_settle(win);
    evas_event_callback_del_full(canvas, EVAS_CALLBACK_RENDER_POST, post, win);
    ASSERT_GE(posts, 1);
    EXPECT_EQ(shownPage, old) << "the old page's frame went out as the new page's";
}

TEST_F(RenderCommand, NonJsonRenderDataLeavesTheWindowEmpty)
{
    render(node("efl.bg", "first"));
    ASSERT_TRUE(page());
    Json::Value data;
    data["width"] = 480;
    data["height"] = 800;
    data["render-data"] = "{ not json";
    CmdRender cmd;
    cmd.setId(id);
    cmd.deserialize(compact(data));
    cmd.doCmd();
    retired_pages_flush();
    EXPECT_EQ(page(), nullptr);
}

TEST_F(RenderCommand, DocChildrenFillTheWindowAndOthersArePacked)
{
    Json::Value kids(Json::arrayValue);
    kids.append(node("efl.bg", "full"));
    render(node("zelva.doc", "doc", Json::Value(), kids));
    Evas_Object* full = static_cast<Evas_Object*>(eina_list_data_get(efl_util_list_get(page(), "children")));
    ASSERT_TRUE(full);
    Evas_Coord x, y, w, h;
    evas_object_geometry_get(full, &x, &y, &w, &h);
    EXPECT_EQ(w, 480);
    EXPECT_EQ(h, 800);

    Json::Value boxKids(Json::arrayValue);
    boxKids.append(node("efl.bg", "inside", [] { Json::Value p; p["weight-x"] = "1"; p["weight-y"] = "1"; p["align-x"] = "FILL"; p["align-y"] = "FILL"; return p; }()));
    render(node("efl.box", "box", Json::Value(), boxKids));
    Evas_Object* inside = static_cast<Evas_Object*>(eina_list_data_get(efl_util_list_get(page(), "children")));
    Eina_List* packed = elm_box_children_get(page());
    EXPECT_EQ(eina_list_data_get(packed), inside);
    eina_list_free(packed);
}

// Packing a child and tearing a tree down use the record kept on each built
// object; an object no render built has none and teardown leaves it alone.
TEST_F(RenderCommand, EachBuiltObjectKeepsTheRecordThatBuiltIt)
{
    Json::Value cells(Json::arrayValue);
    cells.append(node("efl.bg", "cell", tree_json::props({ { "pack-left", "0" }, { "pack-top", "0" }, { "pack-width", "1" }, { "pack-height", "1" } })));
    Json::Value kids(Json::arrayValue);
    kids.append(node("efl.table", "table", Json::Value(), cells));
    kids.append(node("zelva.content", "content"));
    render(node("efl.box", "box", Json::Value(), kids));
    const Eina_List* built = efl_util_list_get(page(), KEY_CHILDREN);
    ASSERT_EQ(eina_list_count(built), 2u);
    auto* table = static_cast<Evas_Object*>(eina_list_nth(built, 0));
    auto* content = static_cast<Evas_Object*>(eina_list_nth(built, 1));
    auto* cell = static_cast<Evas_Object*>(eina_list_data_get(efl_util_list_get(table, KEY_CHILDREN)));
    EXPECT_EQ(adapter_of(page()), getAdapter("efl.box"));
    EXPECT_EQ(adapter_of(table), getAdapter("efl.table"));
    EXPECT_EQ(adapter_of(content), getAdapter("efl.bg")) << "an alias keeps the record its name maps to";
    EXPECT_EQ(adapter_of(cell), getAdapter("efl.bg"));
    EXPECT_EQ(elm_table_child_get(table, 0, 0), cell) << "packed by the table's own record";

    Evas_Object* stranger = elm_label_add(win);
    EXPECT_EQ(adapter_of(stranger), nullptr);
    EXPECT_EQ(adapter_of(nullptr), nullptr);
    int deleted = 0;
    auto count = [](void* data, Evas*, Evas_Object*, void*) { ++*static_cast<int*>(data); };
    evas_object_event_callback_add(stranger, EVAS_CALLBACK_DEL, count, &deleted);
    evas_object_event_callback_add(cell, EVAS_CALLBACK_DEL, count, &deleted);
    free_evas_object(stranger);
    EXPECT_EQ(deleted, 0);
    free_evas_object(static_cast<Evas_Object*>(evas_object_data_del(win, KEY_PAGE)));
    EXPECT_EQ(deleted, 1) << "the cell went with its tree";

    // A record whose remove keeps its object: reached twice, it is removed once.
    static int removed = 0;
    static const WidgetAdapter keeper = {
        .add = nullptr, .remove = [](Evas_Object*) { return ++removed > 0; }, .set_property = nullptr, .pack = nullptr, .unpack = nullptr
    };
    adapter_attach(stranger, &keeper);
    free_evas_object(stranger);
    free_evas_object(stranger);
    EXPECT_EQ(removed, 1);
    evas_object_del(stranger);
}

TEST_F(RenderCommand, RerenderLeavesExactlyOneTree)
{
    std::vector<Evas_Object*> deleted;
    render(node("efl.box", "old", Json::Value(), [] { Json::Value k; k.append(node("efl.bg", "old-child")); return k; }()));
    Evas_Object* oldPage = page();
    Evas_Object* oldChild = static_cast<Evas_Object*>(eina_list_data_get(efl_util_list_get(oldPage, "children")));
    auto record = [](void* data, Evas*, Evas_Object* obj, void*) { static_cast<std::vector<Evas_Object*>*>(data)->push_back(obj); };
    evas_object_event_callback_add(oldPage, EVAS_CALLBACK_DEL, record, &deleted);
    evas_object_event_callback_add(oldChild, EVAS_CALLBACK_DEL, record, &deleted);
    render(node("efl.bg", "new"));
    EXPECT_EQ(deleted, (std::vector<Evas_Object*> { oldChild, oldPage })) << "children go before their parent";
    Json::Value doc = parsed(get_all_widget_positions(win, page()));
    ASSERT_EQ(doc.size(), 1u);
    EXPECT_EQ(doc[0]["wid"], "new");
}

TEST_F(RenderCommand, ChildDeletedByTheToolkitDropsOutOfTheTree)
{
    Json::Value kids(Json::arrayValue);
    kids.append(node("efl.bg", "a"));
    kids.append(node("efl.bg", "b"));
    render(node("efl.box", "box", Json::Value(), kids));
    auto* a = static_cast<Evas_Object*>(eina_list_data_get(efl_util_list_get(page(), "children")));
    evas_object_del(a); // as a container does when it replaces its content
    Json::Value doc = parsed(get_all_widget_positions(win, page()));
    ASSERT_EQ(doc.size(), 2u);
    EXPECT_EQ(doc[1]["wid"], "b");
    // Teardown afterwards touches only live objects (checked under the sanitizer build).
    free_evas_object(static_cast<Evas_Object*>(evas_object_data_del(win, "page")));
}

TEST_F(RenderCommand, PositionDocumentsArePreOrderWithPlaceholders)
{
    Json::Value tableProps;
    tableProps["col_count"] = "3";
    tableProps["row_count"] = "2";
    tableProps["weight-x"] = "1";
    tableProps["weight-y"] = "1";
    tableProps["align-x"] = "FILL";
    tableProps["align-y"] = "FILL";
    Json::Value cell;
    cell["pack-left"] = "1";
    cell["pack-top"] = "1";
    cell["pack-width"] = "1";
    cell["pack-height"] = "1";
    Json::Value filling;
    filling["weight-x"] = "1";
    filling["weight-y"] = "1";
    filling["align-x"] = "FILL";
    filling["align-y"] = "FILL";
    Json::Value inCell = cell;
    for (const auto& k : filling.getMemberNames())
        inCell[k] = filling[k];
    Json::Value first(Json::arrayValue), rootKids(Json::arrayValue);
    first.append(node("efl.bg", "c1", cell));
    first.append(node("efl.table", "t", tableProps, [&] { Json::Value k; k.append(node("efl.bg", "in-cell", inCell)); return k; }()));
    rootKids.append(node("efl.box", "b1", filling, first));
    rootKids.append(node("efl.bg", "c2"));
    render(node("efl.box", "root", Json::Value(), rootKids));

    Json::Value widgets = parsed(get_all_widget_positions(win, page()));
    ASSERT_EQ(widgets.size(), 6u);
    const char* order[] = { "root", "b1", "c1", "t", "in-cell", "c2" };
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(widgets[i]["wid"], order[i]);
    const Json::Value& r0 = widgets[0]["rectangle"];
    EXPECT_EQ(r0.getMemberNames().size(), 12u);
    EXPECT_EQ(r0["w"], 480);
    EXPECT_EQ(r0["height"], 800);
    EXPECT_EQ(r0["l"], 0);
    EXPECT_FALSE(widgets[1].isMember("placeholders"));
    ASSERT_EQ(widgets[3]["placeholders"].size(), 6u);
    EXPECT_EQ(widgets[3]["placeholders"][4]["wid"], "in-cell");
    EXPECT_FALSE(widgets[3]["placeholders"][0].isMember("wid"));
    EXPECT_EQ(widgets[3]["placeholders"][0]["rectangle"].getMemberNames().size(), 4u);
    const Json::Value& t = widgets[3]["rectangle"];
    const Json::Value& child = widgets[4]["rectangle"];
    EXPECT_GE(child["x"].asInt(), t["x"].asInt());
    EXPECT_LE(child["x"].asInt() + child["w"].asInt(), t["x"].asInt() + t["w"].asInt());
    EXPECT_GT(child["w"].asInt(), 0);

    Json::Value placeholders = parsed(get_placeholder_positions(page(), "0"));
    ASSERT_EQ(placeholders.size(), 1u);
    EXPECT_EQ(placeholders[0]["wid"], "t");
    EXPECT_EQ(placeholders[0]["ph_cnt"], 6);
    EXPECT_EQ(placeholders[0]["ph_list"][4]["wid"], "in-cell");
    EXPECT_EQ(placeholders[0]["ph_list"][4]["rectangle"], widgets[3]["placeholders"][4]["rectangle"]);
}

TEST_F(RenderCommand, NoPlaceholdersBelowTheRootIsNull)
{
    Json::Value props;
    props["col_count"] = "1";
    props["row_count"] = "1";
    render(node("efl.table", "root-table", props, [] { Json::Value k; k.append(node("efl.bg", "c")); return k; }()));
    char* text = get_placeholder_positions(page(), "0");
    ASSERT_TRUE(text);
    EXPECT_STREQ(text, "null\n") << "the root's own placeholders are not listed";
    free(text);
    Json::Value widgets = parsed(get_all_widget_positions(win, page()));
    EXPECT_EQ(widgets[0]["placeholders"].size(), 1u);
    EXPECT_EQ(get_all_widget_positions(win, nullptr), nullptr);
}

} // namespace
