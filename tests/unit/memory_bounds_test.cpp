// What a removed widget leaves behind on the window's canvas.
#define EFL_BETA_API_SUPPORT // the group class, to tell smart objects from the rest
#include <Edje.h>
#include <dlfcn.h>
#include <malloc.h>
#ifdef __SANITIZE_ADDRESS__
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

#include <algorithm>
#include <cstring>
#include <vector>

#include "components/adapters/widget_adapter/memory_bounds.h"
#include "resident.h"
#include "toolkit_fixture.h"
#include "utils/clipped_data.h"

namespace {

class MemoryBoundsTest : public ToolkitTest {
protected:
    // Top-level canvas objects besides the window's own.
    int strayObjects()
    {
        int n = 0;
        for (Evas_Object* o = evas_object_bottom_get(evas_object_evas_get(win)); o; o = evas_object_above_get(o))
            if (o != win && !evas_object_visible_get(o))
                ++n;
        return n;
    }

    Evas_Object* build(const char* type, std::initializer_list<std::pair<const char*, const char*>> props)
    {
        const WidgetAdapter* a = getAdapter(type);
        Evas_Object* obj = a->add(win);
        _WidgetInfo* node = makeNode(type, "w", props);
        EXPECT_TRUE(a->set_property(obj, node, ""));
        deleteWidgetsInfo(node);
        return obj;
    }

    static void counted(void* data, Evas*, Evas_Object*, void*) { ++*static_cast<int*>(data); }
};

// Every mode hides some of the palette, the colour bars and the picker; what
// it hides must still go with the selector, and what it shows must stay.
TEST_F(MemoryBoundsTest, ColourSelectorModesLeaveNothingBehind)
{
    // The toolkit makes one object of its own on the first selector's way.
    getAdapter("efl.colorselector")->remove(build("efl.colorselector", { { "mode", "0" } }));
    renderOnce();
    for (const char* mode : { "0", "1", "2", "3", "4", "7" }) {
        int before = strayObjects();
        Evas_Object* cs = build("efl.colorselector", { { "mode", mode } });
        evas_object_resize(cs, 300, 300);
        evas_object_show(cs);
        renderOnce();
        EXPECT_EQ(elm_colorselector_mode_get(cs), static_cast<Elm_Colorselector_Mode>(atoi(mode))) << mode;
        int deleted = 0;
        for (const char* part : { "elm.palette", "elm.selector", "elm.picker", "palette", "selector", "picker" })
            if (Evas_Object* shown = elm_layout_content_get(cs, part))
                evas_object_event_callback_add(shown, EVAS_CALLBACK_DEL, counted, &deleted);
        int shownParts = deleted;
        EXPECT_TRUE(getAdapter("efl.colorselector")->remove(cs));
        renderOnce();
        EXPECT_EQ(strayObjects(), before) << "mode " << mode << " left hidden parts on the canvas";
        EXPECT_GE(deleted, shownParts) << mode;
    }
}

} // namespace

namespace {

// Heap in use once every deferred free has been done (the sanitizers bring
// their own allocator, which the C library's figures do not see).
size_t heapInUse()
{
    eina_freeq_clear(eina_freeq_main_get());
#ifdef __SANITIZE_ADDRESS__
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

// Theme objects, pans and canvas tables keep their clipper in a block the
// toolkit forgets when they are deleted. Handed over, it is freed with the
// object; the objects themselves work on as before.
TEST_F(MemoryBoundsTest, DeletedThemeObjectsLeaveNoClipperBlockBehind)
{
    Evas* canvas = evas_object_evas_get(win);
    // The toolkit's own maker, which the engine's definition wraps.
    using AddFn = Evas_Object* (*)(Evas*);
    auto toolkit_add = reinterpret_cast<AddFn>(dlsym(RTLD_NEXT, "edje_object_add"));
    ASSERT_NE(toolkit_add, nullptr);
    ASSERT_NE(toolkit_add, &edje_object_add);
    auto makeAndDelete = [&](int count, AddFn add, bool walk) {
        std::vector<Evas_Object*> objects;
        for (int i = 0; i < count; ++i)
            objects.push_back(add(canvas));
        if (walk)
            clipped_data_adopt_canvas(canvas);
        for (Evas_Object* o : objects)
            evas_object_del(o);
        renderOnce(); // deleted objects are freed by the next render
    };
    makeAndDelete(100, toolkit_add, true);
    makeAndDelete(100, toolkit_add, false);
    makeAndDelete(100, edje_object_add, false);

    const size_t count = 600;
    size_t before = heapInUse();
    makeAndDelete(count, toolkit_add, false);
    size_t kept = heapInUse() - before;
    EXPECT_GE(kept, count * 16) << "the toolkit alone keeps a block per object";

    before = heapInUse();
    makeAndDelete(count, toolkit_add, true);
    size_t walked = heapInUse() - before;
    EXPECT_LT(walked * 4, kept) << "handed over by a walk, the blocks go with their objects: " << walked << " bytes kept";

    before = heapInUse();
    makeAndDelete(count, edje_object_add, false);
    size_t made = heapInUse() - before;
    EXPECT_LT(made * 4, kept) << "handed over when made, the blocks go with their objects: " << made << " bytes kept";

    // The toolkit's libraries reach the engine's maker: a layout's theme
    // object is handed over before anything could walk the canvas.
    Evas_Object* layout = elm_layout_add(win);
    EXPECT_TRUE(clipped_data_adopted(elm_layout_edje_get(layout)));

    Evas_Object* kept_alive = toolkit_add(canvas);
    Evas_Object* clipper = evas_object_smart_clipped_clipper_get(kept_alive);
    void* block = evas_object_smart_data_get(kept_alive);
    clipped_data_adopt_canvas(canvas);
    clipped_data_adopt_canvas(canvas); // once only
    EXPECT_NE(evas_object_smart_data_get(kept_alive), block);
    EXPECT_EQ(evas_object_smart_clipped_clipper_get(kept_alive), clipper);
    evas_object_move(kept_alive, 40, 50);
    int x = 0, y = 0;
    evas_object_geometry_get(clipper, &x, &y, nullptr, nullptr);
    EXPECT_EQ(x, -100000) << "the clipper still spans the canvas";
    evas_object_del(kept_alive);
    evas_object_del(layout);
    renderOnce();
}

// Every member of `root`, all levels, that `pick` accepts.
template <class Pick>
void collect(Evas_Object* root, Pick pick, std::vector<Evas_Object*>& out)
{
    if (!efl_isa(root, EFL_CANVAS_GROUP_CLASS))
        return;
    if (pick(root))
        out.push_back(root);
    Eina_List* members = evas_object_smart_members_get(root);
    void* m;
    EINA_LIST_FREE(members, m)
        collect(static_cast<Evas_Object*>(m), pick, out);
}

// Scroller pans and canvas tables lose their block like theme objects do;
// boxes put their own data where the block was and must be left alone.
TEST_F(MemoryBoundsTest, PansAndTablesAreHandedOverBoxesAreNot)
{
    Evas_Object* scroller = elm_scroller_add(win);
    elm_object_content_set(scroller, elm_label_add(win)); // the pan comes with content
    Evas_Object* table = elm_table_add(win);
    Evas_Object* box = elm_box_add(win);
    for (Evas_Object* o : { scroller, table, box }) {
        evas_object_resize(o, 200, 200);
        evas_object_show(o);
    }
    Evas_Object* a = elm_button_add(win);
    Evas_Object* b = elm_button_add(win);
    elm_box_pack_end(box, a);
    elm_box_pack_end(box, b);
    clipped_data_adopt_canvas(evas_object_evas_get(win));

    auto adoptedOfType = [](Evas_Object* root, const char* type) {
        std::vector<Evas_Object*> found;
        collect(root, [type](Evas_Object* o) { return strcmp(evas_object_type_get(o), type) == 0; }, found);
        int adopted = 0;
        for (Evas_Object* o : found)
            adopted += clipped_data_adopted(o);
        return std::make_pair(int(found.size()), adopted);
    };
    EXPECT_EQ(adoptedOfType(scroller, "elm_pan"), std::make_pair(1, 1)) << "the scroller's pan";
    EXPECT_EQ(adoptedOfType(table, "Evas_Object_Table"), std::make_pair(1, 1)) << "the table's canvas table";
    EXPECT_EQ(adoptedOfType(box, "Evas_Object_Box"), std::make_pair(1, 0)) << "the box's canvas box";

    // The box still lays its children out one below the other.
    renderOnce();
    int ay = 0, by = 0, ah = 0;
    evas_object_geometry_get(a, nullptr, &ay, nullptr, &ah);
    evas_object_geometry_get(b, nullptr, &by, nullptr, nullptr);
    EXPECT_GT(ah, 0);
    EXPECT_GE(by, ay + ah);
    for (Evas_Object* o : { scroller, table, box })
        evas_object_del(o);
    renderOnce();
}

// Frees all but the last of 32 MB of blocks, each below every threshold at
// which the allocator maps a block alone: the last one lies above all the
// others and pins them. The last block is returned for the caller to free.
char* freedUnderAPin()
{
    const size_t BLOCK = 4000, COUNT = 8 * 1024;
    std::vector<char*> blocks;
    for (size_t i = 0; i < COUNT; ++i) {
        blocks.push_back(static_cast<char*>(malloc(BLOCK)));
        memset(blocks.back(), 1, BLOCK);
    }
    for (size_t i = 0; i + 1 < COUNT; ++i)
        free(blocks[i]);
    return blocks.back();
}

// A render's peak that finds no hole big enough extends the heap. Freed, those
// pages stay resident as long as anything lies above them (the allocator only
// gives back a free top); once the loop is idle, or at the latest before the
// next request, they must go back.
TEST_F(MemoryBoundsTest, FreeHeapPagesGoBackOnceTheLoopIsIdle)
{
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the sanitizer's allocator has a heap of its own";
#endif
    char* pin = freedUnderAPin();
    long held = resident_kib(getpid());
    memory_bounds_release_when_idle();
    ASSERT_TRUE(run_until_idle());
    long released = resident_kib(getpid());
    free(pin);
    ASSERT_GT(held, 0);
    EXPECT_GT(held - released, 24 * 1024) << "KiB resident with the blocks freed: " << held << ", once idle: "
                                           << released;

    // No idle moment before the next request: the release runs before it.
    pin = freedUnderAPin();
    held = resident_kib(getpid());
    memory_bounds_release_when_idle();
    memory_bounds_release_pending();
    released = resident_kib(getpid());
    free(pin);
    EXPECT_GT(held - released, 24 * 1024) << "KiB resident with the blocks freed: " << held
                                           << ", released before the request: " << released;
}

} // namespace
