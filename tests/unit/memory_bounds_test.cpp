// What a removed widget leaves behind on the window's canvas.
#include "toolkit_fixture.h"

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
