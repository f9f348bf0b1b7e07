#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/circle_shared.h"
#include "components/adapters/widget_adapter/value_shared.h"

namespace {

enum { RANGE_MIN, RANGE_MAX };

// Process-wide like every pending style; applied as soon as it arrives.
DeferredStyleDisable circle_slider_pending;

void circle_slider_style(Evas_Object* slider, const std::string& v, WalkSlots&)
{
    circle_slider_pending.style = v;
    if (!v.empty())
        elm_object_style_set(slider, v.c_str());
}

const Row<WalkSlots> CIRCLE_SLIDER_ROWS[] = {
    { "unit-format", value_rule::set_format_skip_empty<elm_slider_unit_format_set> },
    { "indicator-format", value_rule::set_format_skip_empty<elm_slider_indicator_format_set> },
    { "span-size", row::set_int<elm_slider_span_size_set> },
    { "horizontal", row::set_bool<elm_slider_horizontal_set> },
    { "min", value_rule::range_low<eext_circle_object_value_min_max_set, RANGE_MIN, RANGE_MAX> },
    { "max", value_rule::range_high<eext_circle_object_value_min_max_set, RANGE_MIN, RANGE_MAX> },
    { "value", row::set_real<eext_circle_object_value_set> },
    { "inverted", row::set_bool<elm_slider_inverted_set> },
    { "step", rule::ignore },
    { "show-indicator", row::set_bool<elm_slider_indicator_show_set> },
    { "style", circle_slider_style },
    { "disable", row::set_bool<eext_circle_object_disabled_set> },
};

void circle_slider_after(Evas_Object* slider, WalkSlots& s)
{
    range_report_inverted(slider, s, RANGE_MIN, RANGE_MAX);
}

constexpr PropertyTable<WalkSlots> CIRCLE_SLIDER_TABLE
    = property_table(CIRCLE_SLIDER_ROWS, UnknownNames::ToCommon, nullptr, circle_slider_after);

Evas_Object* circle_slider_add(Evas_Object* parent)
{
    if (!parent)
        return nullptr;
    return eext_circle_object_slider_add(parent, circle_surface_of(parent));
}

bool circle_slider_set_property(Evas_Object* slider, _WidgetInfo* node, std::string)
{
    WalkSlots slots;
    range_start(slots, RANGE_MIN, 0.0, RANGE_MAX, 1.0);
    return set_properties(slider, node, CIRCLE_SLIDER_TABLE, slots);
}

} // namespace

extern const WidgetAdapter circle_slider_adapter = {
    .add = circle_slider_add,
    .remove = remove_widget,
    .set_property = circle_slider_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
