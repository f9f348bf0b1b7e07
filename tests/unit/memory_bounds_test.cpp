// What a removed widget leaves behind on the window's canvas.
#include <Edje.h>
#include <malloc.h>
#ifdef __SANITIZE_ADDRESS__
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

#include <vector>

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

// Theme objects keep their clipper in a block the toolkit forgets when they
// are deleted. Handed over before the deletion, it is freed with the object;
// the objects themselves work on as before.
TEST_F(MemoryBoundsTest, DeletedThemeObjectsLeaveNoClipperBlockBehind)
{
    Evas* canvas = evas_object_evas_get(win);
    auto makeAndDelete = [&](int count, bool handOver) {
        std::vector<Evas_Object*> objects;
        for (int i = 0; i < count; ++i)
            objects.push_back(edje_object_add(canvas));
        if (handOver)
            clipped_data_adopt_canvas(canvas);
        for (Evas_Object* o : objects)
            evas_object_del(o);
        renderOnce(); // deleted objects are freed by the next render
    };
    makeAndDelete(100, true);
    makeAndDelete(100, false);

    const size_t count = 600;
    size_t before = heapInUse();
    makeAndDelete(count, false);
    size_t kept = heapInUse() - before;
    EXPECT_GE(kept, count * 16) << "the toolkit alone keeps a block per object";

    before = heapInUse();
    makeAndDelete(count, true);
    size_t handedOver = heapInUse() - before;
    EXPECT_LT(handedOver * 4, kept) << "handed over, the blocks go with their objects: " << handedOver << " bytes kept";

    Evas_Object* kept_alive = edje_object_add(canvas);
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
    renderOnce();
}

} // namespace
