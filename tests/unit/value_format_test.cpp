// Number formats: accepted exactly when the toolkit prints them with the
// arguments it has, checked against what the toolkit itself shows.
#include <Elementary.h>
#include <gtest/gtest.h>

#include <string>

#include "components/adapters/Adapter.h"
#include "components/adapters/widget_adapter/value_shared.h"
#include "toolkit_fixture.h"

namespace {

std::string text(const char* t) { return t ? t : "(null)"; }

class ValueFormats : public ToolkitTest {
protected:
    _WidgetInfo* nodeOf(const char* type, const char* name, const std::string& format, const char* value)
    {
        _WidgetInfo* n = makeNode(type, "formatted", { { name, format.c_str() }, { "value", value } });
        nodes.push_back(n);
        return n;
    }
    void TearDown() override
    {
        for (_WidgetInfo* n : nodes)
            deleteWidgetsInfo(n);
        ToolkitTest::TearDown();
    }
    // The text of `part` once laid out and drawn.
    std::string shown(Evas_Object* obj, const char* part)
    {
        evas_object_resize(obj, 300, 80);
        renderOnce();
        return text(elm_layout_text_get(obj, part));
    }
    std::vector<_WidgetInfo*> nodes;
};

TEST(FormatRules, EachUseAcceptsWhatItsToolkitPrinterPrints)
{
    struct Case {
        const char* format;
        bool units, indicator, spinner;
    };
    const Case cases[] = {
        { "", true, true, false },              { "plain", true, true, false },
        { "%d", true, false, true },            { "%3.1f %%", true, true, true },
        { "%x", true, false, true },            { "%s", true, false, false },
        { "%.1e", true, true, false },          { "%5.2E", true, true, false },
        { "%g", true, true, false },            { "%-5.1f", true, true, false },
        { "100%%", true, true, false },         { "%5n", true, false, false },
        // Two conversions, or none the toolkit knows, make it show the bare value
        // or the text as written; otherwise printf would read what is not there:
        { "%g %d", false, false, false },       { "%c%s", false, false, false },
        { "%n%d", false, false, false },        { "%ld", true, false, false },
        { "%.1f%s", true, false, false },      { "%*d %d", false, false, false },
        { "%1.2.3f", false, false, false },     { "%1000d", false, false, false },
        { "%.1000f", false, false, false },     { "50%", true, false, false },
        { "%.2f %%%", true, false, false },    { "%Lf", true, false, false },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(value_format_safe(c.format, FormatUse::DetectedValue), c.units) << c.format;
        EXPECT_EQ(value_format_safe(c.format, FormatUse::Double), c.indicator) << c.format;
        EXPECT_EQ(value_format_safe(c.format, FormatUse::SpinnerLabel), c.spinner) << c.format;
    }
    EXPECT_EQ(format_use_of(elm_slider_indicator_format_set), FormatUse::Double);
    EXPECT_EQ(format_use_of(elm_spinner_label_format_set), FormatUse::SpinnerLabel);
    EXPECT_EQ(format_use_of(elm_progressbar_unit_format_set), FormatUse::DetectedValue);
}

// What the adapter shows is what the toolkit shows for the same format and
// value on a widget of its own; "%g" and "%-5.1f" are among the formats the
// toolkit shows as they are written.
TEST_F(ValueFormats, AcceptedFormatsShowTheToolkitsOwnText)
{
    for (const char* format : { "%g", "%.1e", "%5.2E", "%3.1f units", "%d%%", "%s", "%-5.1f", "%x" }) {
        SCOPED_TRACE(format);
        Evas_Object* slider = getAdapter("efl.slider")->add(win);
        getAdapter("efl.slider")->set_property(slider, nodeOf("efl.slider", "unit-format", format, "0.5"), "");
        Evas_Object* bare = elm_slider_add(win);
        elm_slider_value_set(bare, 0.5);
        elm_slider_unit_format_set(bare, format);
        EXPECT_EQ(shown(slider, "elm.units"), shown(bare, "elm.units"));
        EXPECT_EQ(text(elm_slider_unit_format_get(slider)), format);

        Evas_Object* bar = getAdapter("efl.progressbar")->add(win);
        getAdapter("efl.progressbar")->set_property(bar, nodeOf("efl.progressbar", "format", format, "0.25"), "");
        Evas_Object* bareBar = elm_progressbar_add(win);
        elm_progressbar_value_set(bareBar, 0.25);
        elm_progressbar_unit_format_set(bareBar, format);
        EXPECT_EQ(shown(bar, "elm.text.status"), shown(bareBar, "elm.text.status"));
    }
    Evas_Object* slider = getAdapter("efl.slider")->add(win);
    getAdapter("efl.slider")->set_property(slider, nodeOf("efl.slider", "indicator-format", "%.1e", "0.5"), "");
    EXPECT_EQ(text(elm_slider_indicator_format_get(slider)), "%.1e");
}

// The spinner refuses the same formats the toolkit's spinner refuses (and a
// '%' ending the text, which the toolkit would read past).
TEST_F(ValueFormats, SpinnerAgreesWithTheToolkitsOwnCheck)
{
    for (const char* format : { "%d", "%3.1f items", "%x", "%g", "%.1e", "%s", "%-5d", "%d %d", "items", "%%d" }) {
        SCOPED_TRACE(format);
        Evas_Object* bare = elm_spinner_add(win);
        elm_spinner_label_format_set(bare, "before");
        elm_spinner_label_format_set(bare, "%.0f");
        elm_spinner_label_format_set(bare, format);
        bool toolkitTakesIt = text(elm_spinner_label_format_get(bare)) == format;
        EXPECT_EQ(value_format_safe(format, FormatUse::SpinnerLabel), toolkitTakesIt);
    }
}

// "%n" among the value's conversions makes the toolkit abort the process: the
// reason the refused side exists.
TEST_F(ValueFormats, RefusedFormatsKeepThePreviousOneAndTheToolkitWouldDie)
{
    Evas_Object* slider = getAdapter("efl.slider")->add(win);
    getAdapter("efl.slider")->set_property(slider, nodeOf("efl.slider", "unit-format", "%.1f", "0.5"), "");
    getAdapter("efl.slider")->set_property(slider, nodeOf("efl.slider", "unit-format", "%n%d", "0.5"), "");
    EXPECT_EQ(text(elm_slider_unit_format_get(slider)), "%.1f");
    EXPECT_EQ(shown(slider, "elm.units"), "0.5");

    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            Evas_Object* bare = elm_slider_add(win);
            elm_slider_value_set(bare, 0.5);
            elm_slider_unit_format_set(bare, "%n%d");
            shown(bare, "elm.units");
        },
        "");
}

} // namespace
