// The circle-object layer measured from the pixels it draws, the date-time
// field module on the installed theme, and the circular adapters.
#include <Elementary.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <initializer_list>
#include <utility>
#include <string>
#include <vector>

#include "components/adapters/Adapter.h"
#include "components/adapters/widget_adapter/circle_shared.h"
#include "components/circle_object/eext_circle.h"
#include "modules/datetime_fields/datetime_fields.h"
#include "render_fixture.h"
#include "utils/efl_util.h"

#ifndef EFL_BETA_API_SUPPORT
#define EFL_BETA_API_SUPPORT 1
#endif
extern "C" {
#include <efl_ui_clock.eo.h>
}

namespace {

struct Rgb {
    int r, g, b;
};

using PixelTest = std::function<bool(Rgb)>;

bool bright_blue(Rgb c) { return c.b > 200 && c.r < 110 && c.g > 120 && c.g < 200; }
bool dim_blue(Rgb c) { return c.b > c.r + 40 && c.b < 170; }
bool orange(Rgb c) { return c.r > 220 && c.g > 110 && c.g < 190 && c.b < 90; }
bool white(Rgb c) { return c.r > 235 && c.g > 235 && c.b > 235; }

// A window of its own size; pixels are read back after a frame.
class CircleCanvas : public ToolkitTest {
protected:
    int size = 240;
    Elm_Scroller_Policy h_policy = ELM_SCROLLER_POLICY_LAST;

    void SetUp() override
    {
        ToolkitTest::SetUp();
        evas_object_resize(win, size, size);
    }

    Evas_Object* place(Evas_Object* obj)
    {
        evas_object_move(obj, 0, 0);
        evas_object_resize(obj, size, size);
        evas_object_show(obj);
        return obj;
    }

    // What the main loop does between frames: theme signals are delivered,
    // then the canvas is drawn.
    std::vector<Rgb> frame()
    {
        edje_message_signal_process();
        renderOnce();
        auto* px = static_cast<const uint32_t*>(
            ecore_evas_buffer_pixels_get(ecore_evas_ecore_evas_get(evas_object_evas_get(win))));
        std::vector<Rgb> out;
        for (int i = 0; i < size * size; ++i)
            out.push_back({ int(px[i] >> 16 & 0xff), int(px[i] >> 8 & 0xff), int(px[i] & 0xff) });
        return out;
    }

    // Degrees clockwise from twelve o'clock, around the canvas centre.
    double angle_of(int i) const
    {
        double dx = i % size + 0.5 - size / 2.0, dy = i / size + 0.5 - size / 2.0;
        double a = atan2(dx, -dy) * 180.0 / M_PI;
        return a < 0 ? a + 360.0 : a;
    }

    // How far clockwise from twelve o'clock the pixels passing `test` run
    // without a gap, in whole degrees (0 when none start at twelve).
    int sweep(const std::vector<Rgb>& px, const PixelTest& test)
    {
        bool bins[360] = {};
        for (size_t i = 0; i < px.size(); ++i)
            if (test(px[i]))
                bins[int(angle_of(int(i))) % 360] = true;
        int run = 0;
        while (run < 360 && bins[run])
            ++run;
        return run;
    }

    int count(const std::vector<Rgb>& px, const PixelTest& test)
    {
        int n = 0;
        for (const Rgb& c : px)
            n += test(c) ? 1 : 0;
        return n;
    }
};

// Round caps reach a few degrees past the arc's end.
const double CAP = 6.0;

TEST_F(CircleCanvas, ProgressArcSweepsTheValuesShareOfTheRangeClamped)
{
    Evas_Object* bar = place(eext_circle_object_progressbar_add(win, nullptr));
    ASSERT_NE(bar, nullptr);
    EXPECT_STREQ(elm_object_widget_type_get(bar), "Elm_Progressbar");
    EXPECT_EQ(count(frame(), bright_blue), 0) << "value 0 draws no arc, and the toolkit's bar does not show";

    eext_circle_object_value_min_max_set(bar, 0, 100);
    eext_circle_object_value_set(bar, 30);
    EXPECT_NEAR(sweep(frame(), bright_blue), 108.0, CAP);
    EXPECT_DOUBLE_EQ(elm_progressbar_value_get(bar), 0.3);

    eext_circle_object_value_min_max_set(bar, 20, 40);
    EXPECT_NEAR(sweep(frame(), bright_blue), 180.0, CAP) << "30 is half of [20, 40]";

    eext_circle_object_value_set(bar, 400);
    EXPECT_EQ(sweep(frame(), bright_blue), 360) << "clamped to the maximum: a full ring";
    eext_circle_object_value_set(bar, -3);
    EXPECT_EQ(count(frame(), bright_blue), 0) << "clamped to the minimum";

    eext_circle_object_value_set(bar, 30);
    eext_circle_object_value_min_max_set(bar, 50, 10);
    eext_circle_object_value_set(bar, NAN);
    EXPECT_NEAR(sweep(frame(), bright_blue), 180.0, CAP) << "inverted range and NaN ignored";
}

TEST_F(CircleCanvas, SliderKnobRidesTheArcsEndAndTheSliderFollows)
{
    Evas_Object* slider = place(eext_circle_object_slider_add(win, nullptr));
    ASSERT_NE(slider, nullptr);
    eext_circle_object_value_min_max_set(slider, 0, 10);
    eext_circle_object_value_set(slider, 7.5);
    std::vector<Rgb> px = frame();
    EXPECT_NEAR(sweep(px, orange), 270.0, CAP);
    // The knob: white, centred where the arc ends (nine o'clock).
    double sx = 0, sy = 0;
    int n = 0;
    for (size_t i = 0; i < px.size(); ++i)
        if (white(px[i])) {
            sx += int(i) % size;
            sy += int(i) / size;
            ++n;
        }
    ASSERT_GT(n, 20);
    EXPECT_LT(sx / n, size * 0.15);
    EXPECT_NEAR(sy / n, size / 2.0, 3.0);

    double lo = 0, hi = 0;
    elm_slider_min_max_get(slider, &lo, &hi);
    EXPECT_EQ(lo, 0.0);
    EXPECT_EQ(hi, 10.0);
    EXPECT_DOUBLE_EQ(elm_slider_value_get(slider), 7.5);
    EXPECT_EQ(count(px, bright_blue), 0) << "the toolkit's own slider bar does not show";
}

TEST_F(CircleCanvas, DisabledRingsAreDimmedAndComeBack)
{
    Evas_Object* bar = place(eext_circle_object_progressbar_add(win, nullptr));
    eext_circle_object_value_set(bar, 0.5);
    EXPECT_GT(count(frame(), bright_blue), 100);

    eext_circle_object_disabled_set(bar, EINA_TRUE);
    EXPECT_TRUE(elm_object_disabled_get(bar));
    std::vector<Rgb> dim = frame();
    EXPECT_EQ(count(dim, bright_blue), 0);
    EXPECT_GT(count(dim, dim_blue), 100);
    EXPECT_NEAR(sweep(dim, dim_blue), 180.0, CAP) << "dimmed, same shape";

    eext_circle_object_disabled_set(bar, EINA_FALSE);
    EXPECT_GT(count(frame(), bright_blue), 100);
    elm_object_disabled_set(bar, EINA_TRUE);
    EXPECT_EQ(count(frame(), bright_blue), 0) << "disabled by the toolkit call too";
}

bool thumb(Rgb c) { return c.r > 180 && c.g > 180 && c.b > 180; }

TEST_F(CircleCanvas, GenlistIndicatorShowsByPolicyAndFollowsTheScroll)
{
    Evas_Object* list = place(elm_genlist_add(win));
    Elm_Genlist_Item_Class* itc = elm_genlist_item_class_new();
    itc->item_style = "default";
    for (int i = 0; i < 60; ++i)
        elm_genlist_item_append(list, itc, nullptr, nullptr, ELM_GENLIST_ITEM_NONE, nullptr, nullptr);
    elm_genlist_item_class_free(itc);

    Evas_Object* ring = eext_circle_object_genlist_add(list, nullptr);
    ASSERT_NE(ring, nullptr);
    EXPECT_EQ(eext_circle_object_genlist_add(list, nullptr), ring) << "one indicator per list";
    Elm_Scroller_Policy h, v;
    elm_scroller_policy_get(list, &h, &v);
    EXPECT_EQ(v, ELM_SCROLLER_POLICY_OFF) << "the list's own bar gives way";

    eext_circle_object_genlist_scroller_policy_set(ring, ELM_SCROLLER_POLICY_OFF, ELM_SCROLLER_POLICY_OFF);
    frame();
    EXPECT_EQ(count(frame(), thumb), 0);

    // The list lays itself out while a frame is drawn; the indicator follows
    // in the next one.
    eext_circle_object_genlist_scroller_policy_set(ring, ELM_SCROLLER_POLICY_OFF, ELM_SCROLLER_POLICY_AUTO);
    frame();
    auto mean_angle = [this](const std::vector<Rgb>& px) {
        double sum = 0;
        int n = 0;
        for (size_t i = 0; i < px.size(); ++i)
            if (thumb(px[i])) {
                double a = angle_of(int(i));
                EXPECT_TRUE(a > 20.0 && a < 160.0) << a << " is not on the right-hand side";
                sum += a;
                ++n;
            }
        EXPECT_GT(n, 50) << "a long list shows its thumb";
        return n ? sum / n : 0.0;
    };
    double top = mean_angle(frame());

    elm_scroller_region_show(list, 0, 100000, size, size);
    frame();
    EXPECT_GT(mean_angle(frame()), top + 20.0) << "the thumb moved down the right-hand side";

    eext_circle_object_genlist_scroller_policy_set(ring, ELM_SCROLLER_POLICY_OFF, ELM_SCROLLER_POLICY_OFF);
    EXPECT_EQ(count(frame(), thumb), 0) << "OFF hides it again";
}

TEST_F(CircleCanvas, GenlistIndicatorUnderAutoStaysAwayWhileEverythingFits)
{
    Evas_Object* list = place(elm_genlist_add(win));
    Evas_Object* ring = eext_circle_object_genlist_add(list, nullptr);
    frame();
    EXPECT_EQ(count(frame(), thumb), 0);
    eext_circle_object_genlist_scroller_policy_set(ring, ELM_SCROLLER_POLICY_AUTO, ELM_SCROLLER_POLICY_ON);
    EXPECT_GT(count(frame(), thumb), 50) << "ON shows it even over an empty list";
    elm_scroller_policy_get(list, &h_policy, nullptr);
    EXPECT_EQ(h_policy, ELM_SCROLLER_POLICY_AUTO) << "the horizontal policy goes to the list";
}

void count_del(void* data, Evas*, Evas_Object*, void*) { ++*static_cast<int*>(data); }

TEST_F(CircleCanvas, CircleObjectsGoWithTheirWidgetAndRefuseStrangers)
{
    EXPECT_EQ(eext_circle_object_progressbar_add(nullptr, nullptr), nullptr);
    EXPECT_EQ(eext_circle_object_slider_add(nullptr, nullptr), nullptr);
    EXPECT_EQ(eext_circle_object_genlist_add(nullptr, nullptr), nullptr);
    Evas_Object* button = elm_button_add(win);
    EXPECT_EQ(eext_circle_object_genlist_add(button, nullptr), nullptr);
    EXPECT_EQ(eext_circle_object_datetime_add(button, nullptr), nullptr);
    // Calls on objects that are no circle objects change nothing.
    eext_circle_object_value_set(button, 1);
    eext_circle_object_disabled_set(button, EINA_TRUE);
    eext_circle_object_genlist_scroller_policy_set(button, ELM_SCROLLER_POLICY_ON, ELM_SCROLLER_POLICY_ON);
    eext_circle_object_value_set(nullptr, 1);
    EXPECT_FALSE(elm_object_disabled_get(button));

    int gone = 0;
    Evas_Object* list = elm_genlist_add(win);
    Evas_Object* dt = elm_datetime_add(win);
    evas_object_event_callback_add(eext_circle_object_genlist_add(list, nullptr), EVAS_CALLBACK_DEL, count_del, &gone);
    evas_object_event_callback_add(eext_circle_object_datetime_add(dt, nullptr), EVAS_CALLBACK_DEL, count_del, &gone);
    evas_object_del(list);
    evas_object_del(dt);
    EXPECT_EQ(gone, 2);
    frame(); // no frame callback of a removed ring may run
}

// --- Date-time fields -------------------------------------------------------

TEST(DatetimeFieldParse, FieldsInOrderWithTheTextBetweenThem)
{
    auto slots = datetime_fields_parse("%d/%b/%Y%I:%M%p");
    ASSERT_EQ(slots.size(), 6u);
    const DatetimeField want[] = { DatetimeField::Date, DatetimeField::Month,  DatetimeField::Year,
                                   DatetimeField::Hour, DatetimeField::Minute, DatetimeField::AmPm };
    const char* seps[] = { "/", "/", "", ":", "", "" };
    for (size_t i = 0; i < slots.size(); ++i) {
        EXPECT_EQ(slots[i].field, want[i]) << i;
        EXPECT_EQ(slots[i].separator, seps[i]) << i;
    }
    EXPECT_EQ(slots[3].conversion, "%I");

    auto t = datetime_fields_parse("at %T, %-d%% of %B %d");
    ASSERT_EQ(t.size(), 5u) << "%T expands, a field counts once, text before the first is dropped";
    EXPECT_EQ(t[0].conversion, "%H");
    EXPECT_EQ(t[2].separator, ", ");
    EXPECT_EQ(t[3].conversion, "%d");
    EXPECT_EQ(t[3].separator, "% of ");
    EXPECT_EQ(t[4].field, DatetimeField::Month);
    EXPECT_TRUE(datetime_fields_parse(nullptr).empty());
    EXPECT_TRUE(datetime_fields_parse("no fields %q").empty());
    EXPECT_EQ(datetime_fields_parse(std::string(100000, '%').c_str()).size(), 0u);
}

class DatetimeFields : public RenderWindowTest {
protected:
    Evas_Object* build(const char* type, Json::Value props)
    {
        render(tree_json::node(type, "dt", props));
        renderOnce();
        return page();
    }

    std::vector<std::string> field_texts(Evas_Object* dt)
    {
        std::vector<std::string> out;
        for (int n = 0; n < DATETIME_FIELD_SLOTS; ++n) {
            Evas_Object* c = elm_layout_content_get(dt, ("elm.field" + std::to_string(n)).c_str());
            if (!c)
                continue;
            int w = 0, h = 0;
            evas_object_geometry_get(c, nullptr, nullptr, &w, &h);
            EXPECT_TRUE(evas_object_visible_get(c) && w > 0 && h > 0) << n;
            out.push_back(elm_object_text_get(c));
        }
        return out;
    }
};

Json::Value props(std::initializer_list<std::pair<const char*, const char*>> list)
{
    Json::Value p;
    for (const auto& [name, value] : list)
        p[name] = value;
    return p;
}

Json::Value date_props(const char* y, const char* m, const char* d)
{
    return props({ { "year", y }, { "month", m }, { "date", d }, { "hour", "10" }, { "minute", "30" } });
}

TEST_F(DatetimeFields, EachFormatFieldShowsTheHeldValueInTheThemesParts)
{
    Json::Value p = date_props("2024", "2", "29");
    p["style"] = "time_layout_24hr";
    Evas_Object* dt = build("efl.datetime", p);
    EXPECT_EQ(field_texts(dt), (std::vector<std::string> { "29", "Feb", "2024", "10", "30" }));
    EXPECT_STREQ(elm_layout_text_get(dt, "elm.separator1"), "/");
    EXPECT_TRUE(efl_ui_clock_pause_get(dt)) << "a given date must not tick away to the current time";

    elm_datetime_format_set(dt, "%Y");
    renderOnce();
    EXPECT_EQ(field_texts(dt), (std::vector<std::string> { "2024" })) << "a new format is caught before the frame";

    struct tm t;
    elm_datetime_value_get(dt, &t);
    t.tm_year = 2023 - 1900;
    elm_datetime_value_set(dt, &t);
    EXPECT_EQ(field_texts(dt), (std::vector<std::string> { "2023" }));
}

TEST_F(DatetimeFields, ANewStyleKeepsTheFieldsInPlace)
{
    // The widget puts its own (empty) field objects back when its theme is
    // applied again; the labels must win without its objects being deleted.
    Json::Value p = date_props("2023", "11", "5");
    p["style"] = "default";
    Evas_Object* dt = build("efl.circledatetime", p);
    EXPECT_EQ(field_texts(dt), (std::vector<std::string> { "05", "Nov", "2023", "10", "30", "AM" }));
    elm_object_style_set(dt, "default");
    renderOnce();
    EXPECT_EQ(field_texts(dt), (std::vector<std::string> { "05", "Nov", "2023", "10", "30", "AM" }));
}

// --- Circular adapters ------------------------------------------------------

class CircleAdapters : public DatetimeFields {};

TEST_F(CircleAdapters, RecordsKeepTheContract)
{
    expectAdapterContract("efl.circleprogressbar", "Elm_Progressbar");
    expectAdapterContract("efl.circleslider", "Elm_Slider");
    expectAdapterContract("efl.circledatetime", "Elm_Datetime");
}

TEST_F(CircleAdapters, ProgressbarRangeIsSetOnceBothEndsAreKnown)
{
    Evas_Object* bar = build("efl.circleprogressbar",
                             props({ { "min", "0" }, { "max", "100" }, { "value", "50" }, { "disable", "true" } }));
    EXPECT_DOUBLE_EQ(elm_progressbar_value_get(bar), 0.5) << "50 of [0, 100]";
    EXPECT_TRUE(elm_object_disabled_get(bar));

    bar = build("efl.circleprogressbar", props({ { "min", "2" }, { "value", "0.25" }, { "disable", "maybe" } }));
    EXPECT_DOUBLE_EQ(elm_progressbar_value_get(bar), 0.25) << "one end alone sets no range";
    EXPECT_FALSE(elm_object_disabled_get(bar));
}

TEST_F(CircleAdapters, SliderRangeAppliesAtOnceAndStyleImmediately)
{
    Evas_Object* slider
        = build("efl.circleslider", props({ { "max", "10" }, { "min", "5" }, { "value", "7" }, { "style", "default" } }));
    double lo, hi;
    elm_slider_min_max_get(slider, &lo, &hi);
    EXPECT_EQ(lo, 5.0);
    EXPECT_EQ(hi, 10.0);
    EXPECT_DOUBLE_EQ(elm_slider_value_get(slider), 7.0);
    EXPECT_STREQ(elm_object_style_get(slider), "default");
}

TEST_F(CircleAdapters, DatetimePointerFollowsTheLatestAndIsClearedWithIt)
{
    Json::Value p = date_props("2024", "2", "29");
    p["style"] = "default";
    Evas_Object* dt = build("efl.circledatetime", p);
    EXPECT_STREQ(elm_datetime_format_get(dt), "%d/%b/%Y%I:%M%p");
    ASSERT_NE(circle_datetime, nullptr);
    Evas_Object* first = circle_datetime;

    // A second date-time in another window takes the pointer; the first
    // window's teardown leaves it alone, the second's clears it.
    Evas_Object* other = elm_win_util_standard_add("", "");
    Evas_Object* second = getAdapter("efl.circledatetime")->add(other);
    EXPECT_NE(circle_datetime, first);
    Evas_Object* latest = circle_datetime;
    free_evas_object(static_cast<Evas_Object*>(evas_object_data_del(win, KEY_PAGE)));
    EXPECT_EQ(circle_datetime, latest);
    evas_object_del(other);
    EXPECT_EQ(circle_datetime, nullptr);
    (void)second;
}

} // namespace
