// The value, text and time adapters, driven through their records on real
// widgets and read back through the toolkit's getters.
#include <Elementary.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "components/adapters/Adapter.h"
#include "components/adapters/widget_adapter/value_shared.h"
#include "toolkit_fixture.h"
#include "utils/efl_util.h"

namespace {

using Props = std::vector<std::pair<std::string, std::string>>;

class ValueAdapters : public ToolkitTest {
protected:
    std::vector<_WidgetInfo*> nodes;
    std::string dir; // a fresh temporary directory per test

    void SetUp() override
    {
        ToolkitTest::SetUp();
        char tmpl[] = "/tmp/adapters_value_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
    }

    void TearDown() override
    {
        for (_WidgetInfo* n : nodes)
            deleteWidgetsInfo(n);
        ToolkitTest::TearDown();
        std::string cmd = "rm -rf '" + dir + "'";
        EXPECT_EQ(system(cmd.c_str()), 0);
    }

    _WidgetInfo* node(const char* type, const Props& props)
    {
        auto* n = new _WidgetInfo;
        n->widgetType = type;
        n->wid = "v1";
        for (const auto& [name, value] : props)
            n->properties = eina_list_append(n->properties, new Property{ name, value });
        nodes.push_back(n);
        return n;
    }

    // What the render command does for one node: add, tag, show, set_property.
    Evas_Object* build(const char* type, const Props& props = {})
    {
        const WidgetAdapter* a = getAdapter(type);
        EXPECT_NE(a, nullptr) << type;
        if (!a)
            return nullptr;
        Evas_Object* obj = a->add(win);
        EXPECT_NE(obj, nullptr) << type;
        efl_util_tag_text(obj, KEY_WID, "v1");
        evas_object_show(obj);
        apply(obj, type, props);
        return obj;
    }

    void apply(Evas_Object* obj, const char* type, const Props& props)
    {
        EXPECT_TRUE(getAdapter(type)->set_property(obj, node(type, props), ""));
    }

    // Builds and returns what the adapters wrote on standard error.
    std::string buildReporting(const char* type, const Props& props, Evas_Object** out = nullptr)
    {
        testing::internal::CaptureStderr();
        Evas_Object* obj = build(type, props);
        if (out)
            *out = obj;
        return testing::internal::GetCapturedStderr();
    }

    std::string writeFile(const char* name, const std::string& content)
    {
        std::string path = dir + "/" + name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    static std::string readFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
};

std::string text_of(const char* text) { return text ? text : "(null)"; }

void expect_range(void (*get)(const Evas_Object*, double*, double*), Evas_Object* obj, double lo, double hi)
{
    double a = -1, b = -1;
    get(obj, &a, &b);
    EXPECT_DOUBLE_EQ(a, lo);
    EXPECT_DOUBLE_EQ(b, hi);
}

// --- Registry ---------------------------------------------------------------

TEST_F(ValueAdapters, EveryNameBuildsItsToolkitWidget)
{
    const std::pair<const char*, const char*> kinds[] = {
        { "efl.calendar", "Elm_Calendar" },
        { "efl.datetime", "Elm_Datetime" },
        { "efl.clock", "Elm_Clock" },
        { "efl.progressbar", "Elm_Progressbar" },
        { "efl.dayselector", "Elm_Dayselector" },
        { "efl.entry", "Elm_Entry" },
        { "efl.spinner", "Elm_Spinner" },
        { "efl.slider", "Elm_Slider" },
        { "efl.fileselector", "Elm_Fileselector" },
        { "efl.fileselectorbutton", "Elm_Fileselector_Button" },
        { "efl.fileselectorentry", "Elm_Fileselector_Entry" },
    };
    for (const auto& [name, type] : kinds)
        expectAdapterContract(name, type);
    EXPECT_EQ(getAdapter("efl.calendar")->add(nullptr), nullptr);
}

// --- Slider and spinner ranges ----------------------------------------------

TEST_F(ValueAdapters, SliderRangeWholeAndInPart)
{
    // Names arrive in ascending order, so "max" comes before "min".
    Evas_Object* s = build("efl.slider", { { "horizontal", "false" },
                                           { "inverted", "true" },
                                           { "max", "10" },
                                           { "min", "5" },
                                           { "span-size", "200" },
                                           { "step", "0.5" },
                                           { "unit-format", "%1.1f u" },
                                           { "value", "7" } });
    expect_range(elm_slider_min_max_get, s, 5, 10);
    EXPECT_DOUBLE_EQ(elm_slider_value_get(s), 7);
    EXPECT_DOUBLE_EQ(elm_slider_step_get(s), 0.5);
    EXPECT_FALSE(elm_slider_horizontal_get(s));
    EXPECT_TRUE(elm_slider_inverted_get(s));
    EXPECT_EQ(elm_slider_span_size_get(s), 200);
    EXPECT_EQ(text_of(elm_slider_unit_format_get(s)), "%1.1f u");

    expect_range(elm_slider_min_max_get, build("efl.slider", { { "min", "-4" } }), -4, 1);
    expect_range(elm_slider_min_max_get, build("efl.slider", { { "max", "8" } }), 0, 8);

    // 5 alone would invert the default (0, 1): refused and reported.
    Evas_Object* inverted = nullptr;
    std::string err = buildReporting("efl.slider", { { "min", "5" } }, &inverted);
    expect_range(elm_slider_min_max_get, inverted, 0, 1);
    EXPECT_NE(err.find("node \"v1\": minimum 5 above maximum 1"), std::string::npos) << err;
}

TEST_F(ValueAdapters, SpinnerRangeWholeAndInPartAndSettings)
{
    Evas_Object* s = build("efl.spinner", { { "base", "1" },
                                            { "editable", "false" },
                                            { "interval", "0.2" },
                                            { "label-format", "%.0f items" },
                                            { "max", "40" },
                                            { "min", "10" },
                                            { "round", "3" },
                                            { "step", "2" },
                                            { "value", "20" },
                                            { "wrap", "true" } });
    expect_range(elm_spinner_min_max_get, s, 10, 40);
    EXPECT_DOUBLE_EQ(elm_spinner_step_get(s), 2);
    EXPECT_DOUBLE_EQ(elm_spinner_interval_get(s), 0.2);
    EXPECT_DOUBLE_EQ(elm_spinner_base_get(s), 1);
    EXPECT_EQ(elm_spinner_round_get(s), 3);
    EXPECT_TRUE(elm_spinner_wrap_get(s));
    EXPECT_FALSE(elm_spinner_editable_get(s));
    EXPECT_EQ(text_of(elm_spinner_label_format_get(s)), "%.0f items");

    expect_range(elm_spinner_min_max_get, build("efl.spinner", { { "max", "50" } }), 0, 50);
    expect_range(elm_spinner_min_max_get, build("efl.spinner", { { "min", "-7" } }), -7, 100);

    // The toolkit would take (200, 100) and push its value outside the range.
    Evas_Object* inverted = nullptr;
    std::string err = buildReporting("efl.spinner", { { "min", "200" }, { "value", "50" } }, &inverted);
    expect_range(elm_spinner_min_max_get, inverted, 0, 100);
    EXPECT_DOUBLE_EQ(elm_spinner_value_get(inverted), 50);
    EXPECT_NE(err.find("minimum 200 above maximum 100"), std::string::npos) << err;
}

TEST_F(ValueAdapters, NonFiniteNumbersAreRefusedAndEmptyOnesSkipped)
{
    Evas_Object* slider = nullptr;
    std::string err = buildReporting("efl.slider", { { "max", "inf" }, { "value", "nan" } }, &slider);
    expect_range(elm_slider_min_max_get, slider, 0, 1);
    EXPECT_DOUBLE_EQ(elm_slider_value_get(slider), 0);
    EXPECT_NE(err.find("\"nan\" is not a finite number"), std::string::npos) << err;

    Evas_Object* spinner = build("efl.spinner", { { "base", "-nan" }, { "min", "" }, { "step", "" } });
    expect_range(elm_spinner_min_max_get, spinner, 0, 100);
    EXPECT_DOUBLE_EQ(elm_spinner_base_get(spinner), 0);
    EXPECT_DOUBLE_EQ(elm_spinner_step_get(spinner), 1);

    Evas_Object* bar = build("efl.progressbar", { { "value", "0.25" } });
    apply(bar, "efl.progressbar", { { "value", "nan" } });
    EXPECT_DOUBLE_EQ(elm_progressbar_value_get(bar), 0.25);

    Evas_Object* clock = build("efl.clock", { { "first-interval", "0.5" } });
    Evas_Object* calendar = build("efl.calendar", { { "interval", "0.5" } });
    testing::internal::CaptureStderr();
    apply(clock, "efl.clock", { { "first-interval", "inf" } });
    apply(calendar, "efl.calendar", { { "interval", "nan" } });
    err = testing::internal::GetCapturedStderr();
    EXPECT_DOUBLE_EQ(elm_clock_first_interval_get(clock), 0.5);
    EXPECT_DOUBLE_EQ(elm_calendar_interval_get(calendar), 0.5);
    EXPECT_NE(err.find("\"inf\" is not a finite number"), std::string::npos) << err;
    EXPECT_NE(err.find("\"nan\" is not a finite number"), std::string::npos) << err;
}

// --- Number formats -----------------------------------------------------------

TEST_F(ValueAdapters, NumberFormatsAreCheckedBeforeTheToolkitPrintsThem)
{
    // "%n" in a slider's indicator format aborts the process in the toolkit.
    std::string defaultIndicator = text_of(elm_slider_indicator_format_get(getAdapter("efl.slider")->add(win)));
    Evas_Object* slider = nullptr;
    std::string err = buildReporting("efl.slider", { { "indicator-format", "%n%d" }, { "show-indicator", "true" } },
                                     &slider);
    renderOnce();
    EXPECT_EQ(text_of(elm_slider_indicator_format_get(slider)), defaultIndicator);
    EXPECT_TRUE(elm_slider_indicator_show_get(slider));
    EXPECT_NE(err.find("format \"%n%d\""), std::string::npos) << err;
    apply(slider, "efl.slider", { { "indicator-format", "%.2f" } });
    EXPECT_EQ(text_of(elm_slider_indicator_format_get(slider)), "%.2f");

    // The progress bar takes an empty format too.
    Evas_Object* bar = build("efl.progressbar", { { "format", "%d %%" } });
    EXPECT_EQ(text_of(elm_progressbar_unit_format_get(bar)), "%d %%");
    apply(bar, "efl.progressbar", { { "format", "%n%d" } });
    EXPECT_EQ(text_of(elm_progressbar_unit_format_get(bar)), "%d %%");
    apply(bar, "efl.progressbar", { { "format", "" } });
    EXPECT_EQ(text_of(elm_progressbar_unit_format_get(bar)), "");
    renderOnce();
}

// --- Deferred style and disable ----------------------------------------------

TEST_F(ValueAdapters, SliderAndSpinnerCarryStyleAndDisableOver)
{
    for (const char* type : { "efl.slider", "efl.spinner" }) {
        Evas_Object* first = build(type, { { "disable", "true" }, { "style", "carried" } });
        EXPECT_TRUE(elm_object_disabled_get(first)) << type;
        EXPECT_EQ(text_of(elm_object_style_get(first)), "carried") << type;

        Evas_Object* second = build(type, { { "value", "1" } });
        EXPECT_TRUE(elm_object_disabled_get(second)) << type;
        EXPECT_EQ(text_of(elm_object_style_get(second)), "carried") << type;

        // No properties: nothing deferred is applied.
        Evas_Object* bare = build(type, {});
        EXPECT_FALSE(elm_object_disabled_get(bare)) << type;
        EXPECT_EQ(text_of(elm_object_style_get(bare)), "default") << type;

        // A text other than "true"/"false" leaves the state alone.
        Evas_Object* odd = build(type, { { "disable", "maybe" }, { "style", "default" } });
        EXPECT_FALSE(elm_object_disabled_get(odd)) << type;
        elm_object_disabled_set(odd, EINA_TRUE);
        apply(odd, type, { { "value", "1" } });
        EXPECT_TRUE(elm_object_disabled_get(odd)) << type;

        build(type, { { "disable", "false" } });
        EXPECT_FALSE(elm_object_disabled_get(build(type, { { "value", "1" } }))) << type;
    }
}

TEST_F(ValueAdapters, ProgressbarCarriesDisableAndIconPart)
{
    Evas_Object* bar = build("efl.progressbar", { { "disable", "true" },
                                                  { "horizontal", "false" },
                                                  { "inverted", "true" },
                                                  { "pulse", "true" },
                                                  { "span-size", "120" },
                                                  { "value", "0.4" } });
    EXPECT_TRUE(elm_object_disabled_get(bar));
    EXPECT_FALSE(elm_progressbar_horizontal_get(bar));
    EXPECT_TRUE(elm_progressbar_inverted_get(bar));
    EXPECT_TRUE(elm_progressbar_pulse_get(bar));
    EXPECT_EQ(elm_progressbar_span_size_get(bar), 120);
    EXPECT_DOUBLE_EQ(elm_progressbar_value_get(bar), 0.4);

    EXPECT_TRUE(elm_object_disabled_get(build("efl.progressbar", { { "value", "0.1" } })));
    // Any stored text but "true" enables.
    build("efl.progressbar", { { "disable", "maybe" } });
    Evas_Object* later = build("efl.progressbar", { { "value", "0.1" } });
    elm_object_disabled_set(later, EINA_TRUE);
    apply(later, "efl.progressbar", { { "value", "0.2" } });
    EXPECT_FALSE(elm_object_disabled_get(later));

    const WidgetAdapter* a = getAdapter("efl.progressbar");
    Evas_Object* icon = elm_icon_add(win);
    EXPECT_FALSE(a->pack(bar, nullptr, nullptr));
    EXPECT_FALSE(a->pack(nullptr, icon, nullptr));
    EXPECT_TRUE(a->pack(bar, icon, nullptr));
    EXPECT_EQ(elm_object_part_content_get(bar, "icon"), icon);
    EXPECT_TRUE(a->unpack(bar, icon, nullptr));
    EXPECT_EQ(elm_object_part_content_get(bar, "icon"), nullptr);
}

// --- Day selector and entry ---------------------------------------------------

TEST_F(ValueAdapters, DayselectorIgnoresEveryProperty)
{
    Evas_Object* d = build("efl.dayselector", { { "disable", "true" }, { "text", "Week" }, { "visible", "false" } });
    EXPECT_EQ(text_of(elm_object_text_get(d)), "(null)");
    EXPECT_TRUE(evas_object_visible_get(d));
    EXPECT_FALSE(elm_object_disabled_get(d));
}

TEST_F(ValueAdapters, EntrySwitchesAndTextFormatWithoutFile)
{
    Evas_Object* e = build("efl.entry", { { "autosave", "false" },
                                          { "context-menu-disabled", "true" },
                                          { "editable", "false" },
                                          { "password", "true" },
                                          { "scrollable", "true" },
                                          { "single-line", "true" },
                                          { "text", "hello" },
                                          { "text-format", "1" } });
    EXPECT_FALSE(elm_entry_autosave_get(e));
    EXPECT_TRUE(elm_entry_context_menu_disabled_get(e));
    EXPECT_FALSE(elm_entry_editable_get(e));
    EXPECT_TRUE(elm_entry_password_get(e));
    EXPECT_TRUE(elm_entry_scrollable_get(e));
    EXPECT_TRUE(elm_entry_single_line_get(e));
    EXPECT_EQ(text_of(elm_entry_entry_get(e)), "hello");
    const char* file = nullptr;
    elm_entry_file_get(e, &file, nullptr);
    EXPECT_EQ(file, nullptr);
}

TEST_F(ValueAdapters, EntryLoadsAFileButNeverWritesIt)
{
    const std::string original = "line one\r\ntwo <b> & three\n";
    std::string path = writeFile("note.txt", original);
    Evas_Object* e = build("efl.entry", { { "autosave", "true" }, { "file-path", path }, { "text", "replaced" } });
    EXPECT_NE(text_of(elm_entry_entry_get(e)).find("two &lt;b&gt; &amp; three"), std::string::npos)
        << elm_entry_entry_get(e);
    const char* file = nullptr;
    Elm_Text_Format format = ELM_TEXT_FORMAT_MARKUP_UTF8;
    elm_entry_file_get(e, &file, &format);
    EXPECT_EQ(text_of(file), path);
    EXPECT_EQ(format, ELM_TEXT_FORMAT_PLAIN_UTF8);
    EXPECT_FALSE(elm_entry_autosave_get(e));

    // The toolkit saves a changed file when the entry goes away.
    elm_object_text_set(e, "edited");
    std::string missing = dir + "/created-by-no-one.txt";
    Evas_Object* e2 = build("efl.entry", { { "file-path", missing } });
    elm_object_text_set(e2, "edited");
    evas_object_del(e);
    evas_object_del(e2);
    EXPECT_EQ(readFile(path), original);
    struct stat st;
    EXPECT_NE(stat(missing.c_str(), &st), 0);

    Evas_Object* markup = build("efl.entry", { { "file-path", writeFile("m.txt", "a<b>b</b>") },
                                               { "text-format", "1" } });
    EXPECT_EQ(text_of(elm_entry_entry_get(markup)), "a<b>b</b>");
}

TEST_F(ValueAdapters, EntryRefusesFilesThatWouldBlockOrStall)
{
    std::string fifo = dir + "/pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string big = writeFile("big.txt", std::string((1 << 20) + 1, 'x'));
    const std::string refused[] = { fifo, dir, big, dir + "/missing.txt" };
    // Opening a pipe for reading would never return: the default action of
    // SIGALRM (the toolkit installs its own handler) ends a hung run.
    void (*toolkitHandler)(int) = signal(SIGALRM, SIG_DFL);
    for (const std::string& path : refused) {
        alarm(20);
        Evas_Object* e = nullptr;
        std::string err = buildReporting("efl.entry", { { "file-path", path }, { "text", "kept" } }, &e);
        alarm(0);
        EXPECT_EQ(text_of(elm_entry_entry_get(e)), "kept") << path;
        EXPECT_NE(err.find("not loaded"), std::string::npos) << path << ": " << err;
    }
    signal(SIGALRM, toolkitHandler);
    // An unknown text format loads nothing and says so.
    Evas_Object* e = nullptr;
    std::string err = buildReporting("efl.entry", { { "file-path", writeFile("f.txt", "x") }, { "text-format", "7" } },
                                     &e);
    EXPECT_EQ(text_of(elm_entry_entry_get(e)), "");
    EXPECT_NE(err.find("text format 7"), std::string::npos) << err;
}

// --- Calendar ----------------------------------------------------------------

TEST_F(ValueAdapters, CalendarSelectsLeapDayAndClampsImpossibleDays)
{
    Evas_Object* c = build("efl.calendar", { { "date", "29" }, { "month", "2" }, { "year", "2024" } });
    struct tm t = {};
    ASSERT_TRUE(elm_calendar_selected_time_get(c, &t));
    EXPECT_EQ(t.tm_year, 124);
    EXPECT_EQ(t.tm_mon, 1);
    EXPECT_EQ(t.tm_mday, 29);

    Evas_Object* c2023 = build("efl.calendar", { { "date", "29" }, { "month", "2" }, { "year", "2023" } });
    ASSERT_TRUE(elm_calendar_selected_time_get(c2023, &t));
    EXPECT_EQ(t.tm_mon, 1);
    EXPECT_EQ(t.tm_mday, 28);

    Evas_Object* odd = nullptr;
    std::string err = buildReporting("efl.calendar", { { "date", "40" }, { "month", "13" }, { "year", "2024" } }, &odd);
    struct tm now = {};
    ASSERT_TRUE(time_local(local_time, now));
    ASSERT_TRUE(elm_calendar_selected_time_get(odd, &t));
    EXPECT_EQ(t.tm_year, 124);
    EXPECT_EQ(t.tm_mon, now.tm_mon);
    EXPECT_EQ(t.tm_mday, std::min(now.tm_mday, days_in_month(2024, now.tm_mon)));
    EXPECT_NE(err.find("\"13\" out of range"), std::string::npos) << err;
    EXPECT_NE(err.find("\"40\" out of range"), std::string::npos) << err;
    renderOnce();
}

TEST_F(ValueAdapters, CalendarStartsFromTheLastAddedCalendarsTime)
{
    time_t before = time(nullptr);
    Evas_Object* c = getAdapter("efl.calendar")->add(win);
    EXPECT_GE(local_time, before);
    EXPECT_LE(local_time, time(nullptr));
    struct tm utc = {}, t = {};
    gmtime_r(&local_time, &utc);
    ASSERT_TRUE(elm_calendar_selected_time_get(c, &t));
    EXPECT_EQ(t.tm_yday, utc.tm_yday);

    // set_property reads the process-wide time, whoever wrote it.
    local_time = 1000000000; // 2001-09-09 UTC
    struct tm expected = {};
    ASSERT_TRUE(time_local(local_time, expected));
    apply(c, "efl.calendar", { { "date", "15" } });
    ASSERT_TRUE(elm_calendar_selected_time_get(c, &t));
    EXPECT_EQ(t.tm_year, expected.tm_year);
    EXPECT_EQ(t.tm_mon, expected.tm_mon);
    EXPECT_EQ(t.tm_mday, 15);
}

TEST_F(ValueAdapters, CalendarYearRangeWholeAndInPart)
{
    int first = 0, last = 0;
    Evas_Object* both = build("efl.calendar", { { "interval", "0.3" },
                                                { "max-year", "2030" },
                                                { "min-year", "2000" },
                                                { "select-mode", "2" } });
    elm_calendar_min_max_year_get(both, &first, &last);
    EXPECT_EQ(first, 2000);
    EXPECT_EQ(last, 2030);
    EXPECT_DOUBLE_EQ(elm_calendar_interval_get(both), 0.3);
    EXPECT_EQ(elm_calendar_select_mode_get(both), ELM_CALENDAR_SELECT_MODE_NONE);

    elm_calendar_min_max_year_get(build("efl.calendar", { { "max-year", "2030" } }), &first, &last);
    EXPECT_EQ(first, 1902);
    EXPECT_EQ(last, 2030);

    // Only a first year: the top stays open instead of collapsing onto 2000.
    elm_calendar_min_max_year_get(build("efl.calendar", { { "min-year", "2000" } }), &first, &last);
    EXPECT_EQ(first, 2000);
    EXPECT_LT(last, first);

    Evas_Object* inverted = nullptr;
    std::string err = buildReporting("efl.calendar", { { "max-year", "1990" }, { "min-year", "2000" } }, &inverted);
    elm_calendar_min_max_year_get(inverted, &first, &last);
    EXPECT_EQ(first, 1902);
    EXPECT_EQ(last, 1990);
    EXPECT_NE(err.find("min-year 2000 above max-year 1990"), std::string::npos) << err;
}

// --- Date-time and clock -------------------------------------------------------

TEST_F(ValueAdapters, DatetimeFieldsWholeAndInPart)
{
    Evas_Object* d = build("efl.datetime", { { "date", "29" },
                                             { "format", "ignored" },
                                             { "hour", "13" },
                                             { "minute", "45" },
                                             { "month", "2" },
                                             { "year", "2024" } });
    struct tm t = {};
    ASSERT_TRUE(elm_datetime_value_get(d, &t));
    EXPECT_EQ(t.tm_year, 124);
    EXPECT_EQ(t.tm_mon, 1);
    EXPECT_EQ(t.tm_mday, 29);
    EXPECT_EQ(t.tm_hour, 13);
    EXPECT_EQ(t.tm_min, 45);

    struct tm before = {};
    ASSERT_TRUE(time_local(time(nullptr), before));
    Evas_Object* part = nullptr;
    std::string err = buildReporting("efl.datetime", { { "hour", "25" }, { "minute", "7" } }, &part);
    ASSERT_TRUE(elm_datetime_value_get(part, &t));
    EXPECT_EQ(t.tm_min, 7);
    EXPECT_EQ(t.tm_year, before.tm_year);
    EXPECT_NE(t.tm_hour, 25);
    EXPECT_NE(err.find("\"25\" out of range"), std::string::npos) << err;
}

TEST_F(ValueAdapters, DatetimeLayoutStylesBringTheirFormats)
{
    const std::pair<const char*, const char*> layouts[] = {
        { "date_layout", "%d/%b/%Y" },
        { "time_layout", "%d/%b/%Y/ %I:%M %p" },
        { "time_layout_24hr", "%d/%b/%Y %H:%M" },
        { "datepicker_layout", "%d/%b/%Y%I:%M%p" },
        { "timepicker_layout", "%d/%b/%Y%I:%M%p" },
    };
    for (const auto& [style, format] : layouts) {
        Evas_Object* d = build("efl.datetime", { { "style", style } });
        EXPECT_EQ(text_of(elm_object_style_get(d)), style);
        EXPECT_EQ(text_of(elm_datetime_format_get(d)), format) << style;
    }
    Evas_Object* plain = getAdapter("efl.datetime")->add(win);
    std::string defaultFormat = text_of(elm_datetime_format_get(plain));
    apply(plain, "efl.datetime", { { "style", "other" } });
    EXPECT_EQ(text_of(elm_object_style_get(plain)), "other");
    EXPECT_EQ(text_of(elm_datetime_format_get(plain)), defaultFormat);
    renderOnce();
}

TEST_F(ValueAdapters, ClockTimeOnlyWhenWholeAndInRange)
{
    Evas_Object* c = build("efl.clock", { { "am-pm", "true" },
                                          { "edit", "true" },
                                          { "first-interval", "0.6" },
                                          { "hours", "10" },
                                          { "minutes", "20" },
                                          { "pause", "true" },
                                          { "seconds", "30" },
                                          { "show-seconds", "true" } });
    int h = -1, m = -1, s = -1;
    elm_clock_time_get(c, &h, &m, &s);
    EXPECT_EQ(h, 10);
    EXPECT_EQ(m, 20);
    EXPECT_EQ(s, 30);
    EXPECT_TRUE(elm_clock_show_am_pm_get(c));
    EXPECT_TRUE(elm_clock_edit_get(c));
    EXPECT_TRUE(elm_clock_show_seconds_get(c));
    EXPECT_DOUBLE_EQ(elm_clock_first_interval_get(c), 0.6);

    const Props partial[] = {
        { { "hours", "4" }, { "minutes", "5" } },
        { { "hours", "4" }, { "minutes", "5" }, { "seconds", "75" } },
        { { "hours", "-1" }, { "minutes", "5" }, { "seconds", "6" } },
        { { "hours", "" }, { "minutes", "5" }, { "seconds", "6" } },
    };
    for (const Props& props : partial) {
        elm_clock_time_set(c, 1, 2, 3);
        apply(c, "efl.clock", props);
        elm_clock_time_get(c, &h, &m, &s);
        EXPECT_EQ(h * 10000 + m * 100 + s, 10203) << props.size() << " fields";
    }
}

// --- File selectors -----------------------------------------------------------

TEST_F(ValueAdapters, FileselectorPathsAndSwitches)
{
    std::string file = writeFile("pick.txt", "x");
    Evas_Object* fs = build("efl.fileselector", { { "buttons-set", "false" },
                                                  { "expandable", "true" },
                                                  { "folder-only", "true" },
                                                  { "hidded-visible", "true" },
                                                  { "mode", "1" },
                                                  { "path", dir },
                                                  { "save", "true" },
                                                  { "selected", file },
                                                  { "thumbnail-size-width", "64" } });
    EXPECT_EQ(text_of(elm_fileselector_path_get(fs)), dir);
    EXPECT_FALSE(elm_fileselector_buttons_ok_cancel_get(fs));
    EXPECT_TRUE(elm_fileselector_expandable_get(fs));
    EXPECT_TRUE(elm_fileselector_folder_only_get(fs));
    EXPECT_TRUE(elm_fileselector_is_save_get(fs));
    EXPECT_EQ(elm_fileselector_mode_get(fs), ELM_FILESELECTOR_GRID);

    // Missing and empty paths neither crash nor block; a mode outside the
    // toolkit's two views is refused.
    std::string err;
    Evas_Object* other = nullptr;
    err = buildReporting("efl.fileselector", { { "mode", "7" }, { "path", dir + "/missing" }, { "selected", "" } },
                         &other);
    EXPECT_EQ(elm_fileselector_mode_get(other), ELM_FILESELECTOR_LIST);
    EXPECT_NE(err.find("mode 7"), std::string::npos) << err;
    apply(other, "efl.fileselector", { { "path", "" }, { "selected", dir + "/missing/file" } });
    renderOnce();
}

TEST_F(ValueAdapters, FileselectorButtonWindowSizeWholeAndInPart)
{
    Evas_Object* b = build("efl.fileselectorbutton", { { "expandable", "false" },
                                                       { "folder-only", "true" },
                                                       { "inwin-mode", "true" },
                                                       { "path", dir },
                                                       { "save", "true" },
                                                       { "selected", "ignored by the button" },
                                                       { "window-size-height", "300" },
                                                       { "window-size-width", "200" },
                                                       { "window-title", "Pick" } });
    Evas_Coord w = -1, h = -1;
    elm_fileselector_button_window_size_get(b, &w, &h);
    EXPECT_EQ(w, 200);
    EXPECT_EQ(h, 300);
    EXPECT_EQ(text_of(elm_fileselector_path_get(b)), dir);
    EXPECT_EQ(text_of(elm_fileselector_button_window_title_get(b)), "Pick");
    EXPECT_TRUE(elm_fileselector_button_inwin_mode_get(b));
    EXPECT_TRUE(elm_fileselector_folder_only_get(b));
    EXPECT_TRUE(elm_fileselector_is_save_get(b));
    EXPECT_FALSE(elm_fileselector_expandable_get(b));
    EXPECT_EQ(elm_fileselector_selected_get(b), nullptr); // "selected" is the entry's alone

    Evas_Object* fresh = getAdapter("efl.fileselectorbutton")->add(win);
    Evas_Coord w0, h0;
    elm_fileselector_button_window_size_get(fresh, &w0, &h0);
    apply(fresh, "efl.fileselectorbutton", { { "window-size-width", "200" } });
    elm_fileselector_button_window_size_get(fresh, &w, &h);
    EXPECT_EQ(w, w0);
    EXPECT_EQ(h, h0);
    // An empty width reads as 0 and counts as given.
    apply(fresh, "efl.fileselectorbutton", { { "window-size-height", "90" }, { "window-size-width", "" } });
    elm_fileselector_button_window_size_get(fresh, &w, &h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 90);

    const WidgetAdapter* a = getAdapter("efl.fileselectorbutton");
    Evas_Object* icon = elm_icon_add(win);
    EXPECT_FALSE(a->pack(b, nullptr, nullptr));
    EXPECT_TRUE(a->pack(b, icon, nullptr));
    EXPECT_EQ(elm_object_part_content_get(b, "icon"), icon);
    EXPECT_TRUE(a->unpack(b, icon, nullptr));
    EXPECT_EQ(elm_object_part_content_get(b, "icon"), nullptr);
}

TEST_F(ValueAdapters, FileselectorEntrySelectedAndWindowSettings)
{
    std::string file = writeFile("chosen.txt", "x");
    // The toolkit's path getter of this widget corrupts the heap, so the
    // path is only set here, not read back.
    Evas_Object* e = build("efl.fileselectorentry", { { "inwin-mode", "true" },
                                                      { "path", dir + "/missing" },
                                                      { "selected", file },
                                                      { "window-size-height", "240" },
                                                      { "window-size-width", "320" },
                                                      { "window-title", "Open" } });
    EXPECT_EQ(text_of(elm_fileselector_selected_get(e)), file);
    EXPECT_EQ(text_of(elm_fileselector_entry_window_title_get(e)), "Open");
    EXPECT_TRUE(elm_fileselector_entry_inwin_mode_get(e));
    Evas_Coord w = -1, h = -1;
    elm_fileselector_entry_window_size_get(e, &w, &h);
    EXPECT_EQ(w, 320);
    EXPECT_EQ(h, 240);

    apply(e, "efl.fileselectorentry", { { "window-size-height", "100" }, { "window-title", "" } });
    elm_fileselector_entry_window_size_get(e, &w, &h);
    EXPECT_EQ(h, 240);
    EXPECT_EQ(elm_fileselector_entry_window_title_get(e), nullptr);

    const WidgetAdapter* a = getAdapter("efl.fileselectorentry");
    Evas_Object* icon = elm_icon_add(win);
    EXPECT_FALSE(a->pack(nullptr, icon, nullptr));
    EXPECT_TRUE(a->pack(e, icon, nullptr));
    EXPECT_EQ(elm_object_part_content_get(e, "button icon"), icon);
    EXPECT_TRUE(a->unpack(e, icon, nullptr));
    EXPECT_EQ(elm_object_part_content_get(e, "button icon"), nullptr);
    renderOnce();
}

} // namespace
