// The basic widget adapters, driven through their records on real widgets
// and read back through the toolkit's getters.
#include <Elementary.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "components/adapters/Adapter.h"
#include "toolkit_fixture.h"
#include "utils/efl_util.h"

namespace {

using Props = std::vector<std::pair<std::string, std::string>>;

const char* const MISSING_FILE = "/nonexistent/dir/no-such-image.png";

class BasicAdapters : public ToolkitTest {
protected:
    std::vector<_WidgetInfo*> nodes;

    // A 2x2 image the pmaps loader reads; written once per test process and
    // removed at exit.
    static const std::string& imageFile()
    {
        static char dir[] = "/tmp/adapters_basic_XXXXXX";
        static const std::string path = [] {
            if (!mkdtemp(dir))
                return std::string(MISSING_FILE);
            std::string p = std::string(dir) + "/red.ppm";
            FILE* f = fopen(p.c_str(), "wb");
            fputs("P6\n2 2\n255\n", f);
            for (int i = 0; i < 4; ++i)
                fwrite("\xff\x00\x00", 1, 3, f);
            fclose(f);
            std::atexit([] {
                remove((std::string(dir) + "/red.ppm").c_str());
                remove(dir);
            });
            return p;
        }();
        return path;
    }

    void TearDown() override
    {
        for (_WidgetInfo* n : nodes)
            deleteWidgetsInfo(n);
        ToolkitTest::TearDown();
    }

    _WidgetInfo* node(const char* type, const Props& props)
    {
        auto* n = new _WidgetInfo;
        n->widgetType = type;
        for (const auto& [name, value] : props)
            n->properties = eina_list_append(n->properties, new Property{ name, value });
        nodes.push_back(n);
        return n;
    }

    static const WidgetAdapter& adapter(const char* type)
    {
        const WidgetAdapter* a = getAdapter(type);
        EXPECT_NE(a, nullptr) << type;
        static const WidgetAdapter none = {};
        return a ? *a : none;
    }

    // What the render command does for one node: add, tag, show, set_property.
    Evas_Object* build(const char* type, const Props& props = {})
    {
        const WidgetAdapter& a = adapter(type);
        if (!a.add)
            return nullptr;
        Evas_Object* obj = a.add(win);
        EXPECT_NE(obj, nullptr) << type;
        adapter_attach(obj, &a);
        efl_util_tag_text(obj, KEY_WIDGET_TYPE, type);
        evas_object_show(obj);
        apply(obj, type, props);
        return obj;
    }

    void apply(Evas_Object* obj, const char* type, const Props& props)
    {
        const WidgetAdapter& a = adapter(type);
        if (a.set_property) {
            EXPECT_TRUE(a.set_property(obj, node(type, props), ""));
        }
    }
};

std::string text_of(const char* text) { return text ? text : "(null)"; }

// --- Registry ---------------------------------------------------------------

TEST_F(BasicAdapters, EveryNameBuildsItsToolkitWidget)
{
    const std::pair<const char*, const char*> kinds[] = {
        { "efl.button", "Elm_Button" },   { "efl.colorselector", "Elm_Colorselector" },
        { "efl.check", "Elm_Check" },     { "efl.icon", "Elm_Icon" },
        { "efl.image", "Elm_Image" },     { "efl.label", "Elm_Label" },
        { "efl.radio", "Elm_Radio" },     { "efl.separator", "Elm_Separator" },
        { "efl.photo", "Elm_Photo" },     { "efl.photocam", "Elm_Photocam" },
        { "efl.bubble", "Elm_Bubble" },   { "efl.actionslider", "Elm_Actionslider" },
        { "efl.layout", "Elm_Layout" },   { "efl.map", "Elm_Map" },
    };
    for (const auto& [name, type] : kinds)
        expectAdapterContract(name, type);
    EXPECT_EQ(getAdapter("efl.icon")->add(nullptr), nullptr);
    EXPECT_EQ(getAdapter("efl.image")->add(nullptr), nullptr);
}

// --- Button, check, radio ---------------------------------------------------

TEST_F(BasicAdapters, ButtonAutorepeatAndCommonText)
{
    Evas_Object* b = build("efl.button", { { "autorepeat", "true" },
                                           { "autorepeat_initial_timeout", "0.75" },
                                           { "autorepeat_gap_timeout", "0.25" },
                                           { "text", "Press" } });
    EXPECT_TRUE(elm_button_autorepeat_get(b));
    EXPECT_DOUBLE_EQ(elm_button_autorepeat_initial_timeout_get(b), 0.75);
    EXPECT_DOUBLE_EQ(elm_button_autorepeat_gap_timeout_get(b), 0.25);
    EXPECT_EQ(text_of(elm_object_text_get(b)), "Press");

    // Not a boolean, and empty reals: all left as they were.
    apply(b, "efl.button", { { "autorepeat", "yes" }, { "autorepeat_initial_timeout", "" },
                             { "autorepeat_gap_timeout", "" } });
    EXPECT_TRUE(elm_button_autorepeat_get(b));
    EXPECT_DOUBLE_EQ(elm_button_autorepeat_initial_timeout_get(b), 0.75);
    EXPECT_DOUBLE_EQ(elm_button_autorepeat_gap_timeout_get(b), 0.25);
}

TEST_F(BasicAdapters, ButtonStyleAndDisableCarryOverToLaterButtons)
{
    Evas_Object* first = build("efl.button", { { "style", "anchor" }, { "disable", "true" } });
    EXPECT_EQ(text_of(elm_object_style_get(first)), "anchor");
    EXPECT_TRUE(elm_object_disabled_get(first));

    Evas_Object* second = build("efl.button", { { "text", "no style, no disable" } });
    EXPECT_EQ(text_of(elm_object_style_get(second)), "anchor");
    EXPECT_TRUE(elm_object_disabled_get(second));

    Evas_Object* empty = build("efl.button", {});
    EXPECT_EQ(text_of(elm_object_style_get(empty)), "default");
    EXPECT_FALSE(elm_object_disabled_get(empty));

    // A pending text other than "true"/"false" leaves the state alone.
    Evas_Object* odd = adapter("efl.button").add(win);
    elm_object_disabled_set(odd, EINA_TRUE);
    apply(odd, "efl.button", { { "disable", "maybe" } });
    EXPECT_TRUE(elm_object_disabled_get(odd));

    // An empty pending style is not applied.
    Evas_Object* plain = build("efl.button", { { "style", "" }, { "disable", "false" } });
    EXPECT_EQ(text_of(elm_object_style_get(plain)), "default");
    EXPECT_FALSE(elm_object_disabled_get(plain));
}

TEST_F(BasicAdapters, CheckStateAndDisableCarryOver)
{
    Evas_Object* first = build("efl.check", { { "state", "true" }, { "disable", "true" } });
    EXPECT_TRUE(elm_check_state_get(first));
    EXPECT_TRUE(elm_object_disabled_get(first));

    Evas_Object* second = build("efl.check", { { "text", "later" } });
    EXPECT_FALSE(elm_check_state_get(second));
    EXPECT_TRUE(elm_object_disabled_get(second));
    EXPECT_EQ(text_of(elm_object_text_get(second)), "later");

    EXPECT_FALSE(elm_object_disabled_get(build("efl.check", {})));

    // Any pending text but "true" enables, even a widget disabled before.
    Evas_Object* odd = adapter("efl.check").add(win);
    elm_object_disabled_set(odd, EINA_TRUE);
    apply(odd, "efl.check", { { "disable", "maybe" } });
    EXPECT_FALSE(elm_object_disabled_get(odd));

    Evas_Object* again = adapter("efl.check").add(win);
    elm_object_disabled_set(again, EINA_TRUE);
    apply(again, "efl.check", { { "state", "true" } });
    EXPECT_FALSE(elm_object_disabled_get(again));
}

TEST_F(BasicAdapters, RadioValuesAndDisableCarryOver)
{
    Evas_Object* r = build("efl.radio", { { "state-value", "3" }, { "value", "3" }, { "disable", "true" } });
    EXPECT_EQ(elm_radio_state_value_get(r), 3);
    EXPECT_EQ(elm_radio_value_get(r), 3);
    EXPECT_TRUE(elm_object_disabled_get(r));

    // Not a number reads as 0; empty is skipped.
    apply(r, "efl.radio", { { "state-value", "abc" }, { "value", "" } });
    EXPECT_EQ(elm_radio_state_value_get(r), 0);
    EXPECT_EQ(elm_radio_value_get(r), 3);

    EXPECT_TRUE(elm_object_disabled_get(build("efl.radio", { { "state-value", "1" } })));
    EXPECT_FALSE(elm_object_disabled_get(build("efl.radio", {})));

    Evas_Object* odd = adapter("efl.radio").add(win);
    elm_object_disabled_set(odd, EINA_TRUE);
    apply(odd, "efl.radio", { { "disable", "maybe" } });
    EXPECT_TRUE(elm_object_disabled_get(odd));

    EXPECT_FALSE(elm_object_disabled_get(build("efl.radio", { { "disable", "false" } })));
}

TEST_F(BasicAdapters, ButtonCheckRadioHoldOneIconPart)
{
    for (const char* name : { "efl.button", "efl.check", "efl.radio" }) {
        const WidgetAdapter& a = adapter(name);
        Evas_Object* holder = build(name);
        Evas_Object* icon = build("efl.icon");
        EXPECT_TRUE(a.pack(holder, icon, nullptr)) << name;
        EXPECT_EQ(elm_object_part_content_get(holder, "icon"), icon) << name;

        EXPECT_TRUE(a.unpack(holder, icon, nullptr)) << name;
        EXPECT_EQ(elm_object_part_content_get(holder, "icon"), nullptr) << name;
        EXPECT_STREQ(elm_object_widget_type_get(icon), "Elm_Icon") << name << ": unpacked child still alive";

        EXPECT_FALSE(a.pack(holder, nullptr, nullptr)) << name;
        EXPECT_FALSE(a.pack(nullptr, icon, nullptr)) << name;
        EXPECT_FALSE(a.unpack(nullptr, icon, nullptr)) << name;
        evas_object_del(icon);
    }
}

void count_del(void* counter, Evas*, Evas_Object*, void*) { ++*static_cast<int*>(counter); }

// Two children packed into one single-content part: the toolkit deletes the
// first; the tree's teardown must not touch it again.
TEST_F(BasicAdapters, SecondIconReplacesFirstAndTeardownIsClean)
{
    Evas_Object* button = build("efl.button");
    Evas_Object* icons[2];
    int deleted[2] = { 0, 0 };
    for (int i = 0; i < 2; ++i) {
        icons[i] = build("efl.icon", { { "image-path", imageFile() } });
        evas_object_event_callback_add(icons[i], EVAS_CALLBACK_DEL, count_del, &deleted[i]);
        EXPECT_TRUE(adapter("efl.button").pack(button, icons[i], nullptr));
        efl_util_list_append(button, KEY_CHILDREN, icons[i]);
    }
    EXPECT_EQ(elm_object_part_content_get(button, "icon"), icons[1]);
    EXPECT_EQ(deleted[0], 1);
    EXPECT_EQ(eina_list_count(efl_util_list_get(button, KEY_CHILDREN)), 1u);
    renderOnce();

    free_evas_object(button);
    EXPECT_EQ(deleted[1], 1);
    renderOnce();
}

// --- Bubble -----------------------------------------------------------------

TEST_F(BasicAdapters, BubblePlacesChildrenByType)
{
    const WidgetAdapter& a = adapter("efl.bubble");
    Evas_Object* bubble = build("efl.bubble");
    Evas_Object* icon = build("efl.icon");
    Evas_Object* label = build("efl.label", { { "text", "inside" } });
    Evas_Object* button = build("efl.button");

    EXPECT_TRUE(a.pack(bubble, icon, nullptr));
    EXPECT_EQ(elm_object_part_content_get(bubble, "icon"), icon);
    EXPECT_TRUE(a.pack(bubble, label, nullptr));
    EXPECT_EQ(elm_object_content_get(bubble), label);

    EXPECT_TRUE(a.pack(bubble, button, nullptr));
    EXPECT_EQ(elm_object_part_content_get(bubble, "icon"), icon);
    EXPECT_EQ(elm_object_content_get(bubble), label);
    EXPECT_NE(elm_object_parent_widget_get(button), bubble);

    EXPECT_TRUE(a.unpack(bubble, icon, nullptr));
    EXPECT_EQ(elm_object_part_content_get(bubble, "icon"), nullptr);
    EXPECT_EQ(elm_object_content_get(bubble), label);
    EXPECT_TRUE(a.unpack(bubble, label, nullptr));
    EXPECT_EQ(elm_object_content_get(bubble), nullptr);
    EXPECT_TRUE(a.unpack(bubble, button, nullptr));

    // A child that is no toolkit widget has no type name at all.
    Evas_Object* rect = evas_object_rectangle_add(evas_object_evas_get(win));
    EXPECT_TRUE(a.pack(bubble, rect, nullptr));
    EXPECT_TRUE(a.unpack(bubble, rect, nullptr));
    EXPECT_EQ(elm_object_content_get(bubble), nullptr);

    EXPECT_FALSE(a.pack(bubble, nullptr, nullptr));
    EXPECT_FALSE(a.pack(nullptr, icon, nullptr));
    EXPECT_FALSE(a.unpack(nullptr, icon, nullptr));
}

TEST_F(BasicAdapters, BubbleCornerAndInfoText)
{
    Evas_Object* bubble = build("efl.bubble", { { "pos", "2" }, { "bubble-text", "12:30" }, { "text", "Tom" } });
    EXPECT_EQ(elm_bubble_pos_get(bubble), ELM_BUBBLE_POS_BOTTOM_LEFT);
    EXPECT_EQ(text_of(elm_object_part_text_get(bubble, "info")), "12:30");
    EXPECT_EQ(text_of(elm_object_text_get(bubble)), "Tom");

    apply(bubble, "efl.bubble", { { "bubble-text", "" }, { "pos", "" } });
    EXPECT_EQ(text_of(elm_object_part_text_get(bubble, "info")), "12:30");
    EXPECT_EQ(elm_bubble_pos_get(bubble), ELM_BUBBLE_POS_BOTTOM_LEFT);
}

// --- Label, separator, colour selector, action slider ------------------------

TEST_F(BasicAdapters, LabelProperties)
{
    Evas_Object* label = build("efl.label", { { "ellipsis", "true" },
                                              { "wrap-width", "120" },
                                              { "wrap-set", "2" },
                                              { "slide-mode", "1" },
                                              { "duration", "2.5" },
                                              { "text", "Hello" } });
    EXPECT_TRUE(elm_label_ellipsis_get(label));
    EXPECT_EQ(elm_label_wrap_width_get(label), 120);
    EXPECT_EQ(elm_label_line_wrap_get(label), ELM_WRAP_WORD);
    EXPECT_EQ(elm_label_slide_mode_get(label), ELM_LABEL_SLIDE_MODE_AUTO);
    EXPECT_DOUBLE_EQ(elm_label_slide_duration_get(label), 2.5);
    EXPECT_EQ(text_of(elm_object_text_get(label)), "Hello");

    double speed = elm_label_slide_speed_get(label);
    apply(label, "efl.label", { { "slide-speed", "999" }, { "wrap-width", "" }, { "duration", "" } });
    EXPECT_DOUBLE_EQ(elm_label_slide_speed_get(label), speed);
    EXPECT_EQ(elm_label_wrap_width_get(label), 120);
    EXPECT_DOUBLE_EQ(elm_label_slide_duration_get(label), 2.5);

    apply(label, "efl.label", { { "wrap-width", "wide" } });
    EXPECT_EQ(elm_label_wrap_width_get(label), 0);
}

TEST_F(BasicAdapters, SeparatorOrientation)
{
    Evas_Object* sep = build("efl.separator", { { "horizontal", "true" } });
    EXPECT_TRUE(elm_separator_horizontal_get(sep));
    apply(sep, "efl.separator", { { "horizontal", "1" } });
    EXPECT_TRUE(elm_separator_horizontal_get(sep));
}

TEST_F(BasicAdapters, ColorselectorColourOnlyWhenAllFourChannelsGiven)
{
    int r, g, b, a;
    Evas_Object* cs = build("efl.colorselector", { { "select-r", "10" }, { "select-g", "20" }, { "select-b", "30" } });
    int r0, g0, b0, a0;
    Evas_Object* fresh = adapter("efl.colorselector").add(win);
    elm_colorselector_color_get(fresh, &r0, &g0, &b0, &a0);
    elm_colorselector_color_get(cs, &r, &g, &b, &a);
    EXPECT_EQ(std::vector<int>({ r, g, b, a }), std::vector<int>({ r0, g0, b0, a0 }));

    apply(cs, "efl.colorselector",
          { { "select-a", "255" }, { "select-b", "30" }, { "select-g", "20" }, { "select-r", "10" }, { "mode", "2" } });
    elm_colorselector_color_get(cs, &r, &g, &b, &a);
    EXPECT_EQ(std::vector<int>({ r, g, b, a }), std::vector<int>({ 10, 20, 30, 255 }));
    EXPECT_EQ(elm_colorselector_mode_get(cs), ELM_COLORSELECTOR_BOTH);

    // Channels do not carry over from one call to the next.
    apply(cs, "efl.colorselector", { { "select-r", "200" } });
    elm_colorselector_color_get(cs, &r, &g, &b, &a);
    EXPECT_EQ(r, 10);
}

TEST_F(BasicAdapters, ActionsliderPositions)
{
    Evas_Object* as = build("efl.actionslider",
                            { { "indicator-pos", "4" }, { "magnet-pos", "7" }, { "enabled-pos", "5" } });
    EXPECT_EQ(elm_actionslider_indicator_pos_get(as), ELM_ACTIONSLIDER_RIGHT);
    EXPECT_EQ(elm_actionslider_magnet_pos_get(as), ELM_ACTIONSLIDER_ALL);
    EXPECT_EQ(elm_actionslider_enabled_pos_get(as), ELM_ACTIONSLIDER_LEFT | ELM_ACTIONSLIDER_RIGHT);
}

// --- Icon, image, photo, photocam ---------------------------------------------

TEST_F(BasicAdapters, IconFileStandardAndResizable)
{
    Evas_Object* icon = build("efl.icon", { { "image-path", imageFile() }, { "resizable", "false" } });
    const char* file = nullptr;
    elm_image_file_get(icon, &file, nullptr);
    EXPECT_EQ(text_of(file), imageFile());
    Eina_Bool up, down;
    elm_image_resizable_get(icon, &up, &down);
    EXPECT_FALSE(up);
    EXPECT_FALSE(down);

    apply(icon, "efl.icon", { { "resizable", "true" } });
    elm_image_resizable_get(icon, &up, &down);
    EXPECT_TRUE(up);
    EXPECT_TRUE(down);

    // An empty path clears the file.
    apply(icon, "efl.icon", { { "image-path", "" } });
    file = nullptr;
    elm_image_file_get(icon, &file, nullptr);
    EXPECT_EQ(file, nullptr);

    Evas_Object* themed = build("efl.icon", { { "standard", "home" } });
    EXPECT_EQ(text_of(elm_icon_standard_get(themed)), "home");
    apply(themed, "efl.icon", { { "standard", "" } });
    EXPECT_EQ(text_of(elm_icon_standard_get(themed)), "home");
    // "order-lookup" is a no-op in this toolkit version (deprecated setter,
    // constant getter), so it has no visible effect to check.
}

TEST_F(BasicAdapters, ImageFlagsAndOrientation)
{
    Evas_Object* img = build("efl.image", { { "image-path", imageFile() },
                                            { "smooth", "false" },
                                            { "no-scale", "true" },
                                            { "orient", "1" },
                                            { "aspect-fixed", "false" },
                                            { "fill-outside", "true" },
                                            { "editable", "true" },
                                            { "prescale", "64" } });
    const char* file = nullptr;
    elm_image_file_get(img, &file, nullptr);
    EXPECT_EQ(text_of(file), imageFile());
    EXPECT_FALSE(elm_image_smooth_get(img));
    EXPECT_TRUE(elm_image_no_scale_get(img));
    EXPECT_EQ(elm_image_orient_get(img), ELM_IMAGE_ROTATE_90);
    EXPECT_FALSE(elm_image_aspect_fixed_get(img));
    EXPECT_TRUE(elm_image_fill_outside_get(img));
    EXPECT_TRUE(elm_image_editable_get(img));
    EXPECT_EQ(elm_image_prescale_get(img), 64);
}

TEST_F(BasicAdapters, ImageResizableOnlyFromTwoBooleans)
{
    Eina_Bool up, down;
    Evas_Object* img = build("efl.image", { { "resizable-up", "false" }, { "resizable-down", "true" } });
    elm_image_resizable_get(img, &up, &down);
    EXPECT_FALSE(up);
    EXPECT_TRUE(down);

    // Each half alone, or a half that is not a boolean: untouched.
    for (const Props& props : { Props{ { "resizable-up", "true" } }, Props{ { "resizable-down", "false" } },
                                Props{ { "resizable-up", "true" }, { "resizable-down", "yes" } },
                                Props{ { "resizable-up", "" }, { "resizable-down", "false" } } }) {
        apply(img, "efl.image", props);
        elm_image_resizable_get(img, &up, &down);
        EXPECT_FALSE(up);
        EXPECT_TRUE(down);
    }
}

TEST_F(BasicAdapters, PhotoSizeAndFill)
{
    Evas_Object* photo = build("efl.photo", { { "image-path", imageFile() },
                                              { "size", "80" },
                                              { "fill-inside", "true" },
                                              { "aspect-fixed", "false" } });
    EXPECT_EQ(elm_photo_size_get(photo), 80);
    EXPECT_TRUE(elm_photo_fill_inside_get(photo));
    EXPECT_FALSE(elm_photo_aspect_fixed_get(photo));
    apply(photo, "efl.photo", { { "size", "" } });
    EXPECT_EQ(elm_photo_size_get(photo), 80);
}

TEST_F(BasicAdapters, PhotocamZoomAndFlags)
{
    Evas_Object* cam = build("efl.photocam", { { "image-path", imageFile() },
                                               { "zoom", "2.0" },
                                               { "paused", "true" },
                                               { "gesture", "true" } });
    EXPECT_EQ(text_of(elm_photocam_file_get(cam)), imageFile());
    EXPECT_DOUBLE_EQ(elm_photocam_zoom_get(cam), 2.0);
    EXPECT_TRUE(elm_photocam_paused_get(cam));
    EXPECT_TRUE(elm_photocam_gesture_enabled_get(cam));
    apply(cam, "efl.photocam", { { "zoom-mode", "1" } });
    EXPECT_EQ(elm_photocam_zoom_mode_get(cam), ELM_PHOTOCAM_ZOOM_MODE_AUTO_FIT);
}

// "nan" and "inf" parse as reals but would poison a slide or a zoom: each is
// refused with one diagnostic line and the value before it stays.
TEST_F(BasicAdapters, NonFiniteRealsAreRefusedWithOneLineEach)
{
    Evas_Object* label = build("efl.label", { { "duration", "2.5" } });
    Evas_Object* cam = build("efl.photocam", { { "zoom", "2.0" } });
    for (const char* text : { "nan", "inf", "-nan", "-inf" }) {
        testing::internal::CaptureStderr();
        apply(label, "efl.label", { { "duration", text } });
        apply(cam, "efl.photocam", { { "zoom", text } });
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_DOUBLE_EQ(elm_label_slide_duration_get(label), 2.5) << text;
        EXPECT_DOUBLE_EQ(elm_photocam_zoom_get(cam), 2.0) << text;
        std::string line = "render-engine: node \"\": \"" + std::string(text) + "\" is not a finite number; ignored\n";
        EXPECT_EQ(err, line + line);
    }
    // The shared size hints are reals too.
    testing::internal::CaptureStderr();
    apply(label, "efl.label", { { "weight-x", "inf" }, { "weight-y", "1" }, { "align-x", "FILL" }, { "align-y", "nan" } });
    std::string err = testing::internal::GetCapturedStderr();
    double x, y;
    evas_object_size_hint_weight_get(label, &x, &y);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(0.0, 0.0)) << "no pair, no hint";
    evas_object_size_hint_align_get(label, &x, &y);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(0.5, 0.5));
    EXPECT_EQ(err, "render-engine: node \"\": \"inf\" is not a finite number; ignored\n"
                   "render-engine: node \"\": \"nan\" is not a finite number; ignored\n");

    apply(label, "efl.label", { { "duration", "1e3" } });
    apply(cam, "efl.photocam", { { "zoom", "0.5" } });
    EXPECT_DOUBLE_EQ(elm_label_slide_duration_get(label), 1000.0);
    EXPECT_DOUBLE_EQ(elm_photocam_zoom_get(cam), 0.5);
}

// A missing file shows nothing: no crash, no wait, and the widget still lays out.
TEST_F(BasicAdapters, MissingFilesShowNothing)
{
    const std::pair<const char*, Props> cases[] = {
        { "efl.icon", { { "image-path", MISSING_FILE } } },
        { "efl.image", { { "image-path", MISSING_FILE } } },
        { "efl.photo", { { "image-path", MISSING_FILE }, { "thumb", MISSING_FILE } } },
        { "efl.photocam", { { "image-path", MISSING_FILE } } },
        { "efl.layout", { { "file-path", MISSING_FILE }, { "group-name", "elm/bg/base/default" } } },
    };
    auto start = std::chrono::steady_clock::now();
    for (const auto& [name, props] : cases) {
        Evas_Object* obj = build(name, props);
        evas_object_resize(obj, 100, 100);
        renderOnce();
        int w = 0;
        evas_object_geometry_get(obj, nullptr, nullptr, &w, nullptr);
        EXPECT_EQ(w, 100) << name;
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));

    Evas_Object* img = build("efl.image", { { "image-path", MISSING_FILE } });
    int iw = -1, ih = -1;
    elm_image_object_size_get(img, &iw, &ih);
    EXPECT_EQ(iw, 0);
    EXPECT_EQ(ih, 0);
}

// --- Layout and map -----------------------------------------------------------

TEST_F(BasicAdapters, LayoutLoadsOnlyWithFileAndGroup)
{
    const char* theme = elm_theme_list_item_path_get("default", nullptr);
    ASSERT_NE(theme, nullptr);
    const char* group = "elm/bg/base/default";
    const char *file = nullptr, *grp = nullptr;

    Evas_Object* half = build("efl.layout", { { "file-path", theme }, { "group-name", "" } });
    elm_layout_file_get(half, &file, &grp);
    EXPECT_EQ(file, nullptr);
    Evas_Object* other = build("efl.layout", { { "group-name", group } });
    elm_layout_file_get(other, &file, &grp);
    EXPECT_EQ(file, nullptr);

    Evas_Object* whole = build("efl.layout", { { "group-name", group }, { "file-path", theme } });
    elm_layout_file_get(whole, &file, &grp);
    EXPECT_EQ(text_of(file), theme);
    EXPECT_EQ(text_of(grp), group);
    free(const_cast<char*>(theme));
}

TEST_F(BasicAdapters, MapZoomAndRegionOnlyWithBothCoordinates)
{
    Evas_Object* map = build("efl.map", { { "zoom-level", "5" }, { "region-lat", "37.5" } });
    evas_object_resize(map, 300, 300);
    renderOnce();
    // Debian's toolkit ships the map without any tile source: zoom is then
    // clamped to 0 and the region never moves, so nothing is observable.
    if (elm_map_zoom_max_get(map) < 5)
        GTEST_SKIP() << "map has no tile source in this toolkit build";
    EXPECT_EQ(elm_map_zoom_get(map), 5);
    double lon0 = 0, lat0 = 0, lon = 0, lat = 0;
    elm_map_region_get(map, &lon0, &lat0);
    EXPECT_NE(lat0, 37.5);

    apply(map, "efl.map", { { "region-lon", "127.0" }, { "region-lat", "37.5" } });
    renderOnce();
    elm_map_region_get(map, &lon, &lat);
    EXPECT_NEAR(lon, 127.0, 0.01);
    EXPECT_NEAR(lat, 37.5, 0.01);
}

} // namespace
