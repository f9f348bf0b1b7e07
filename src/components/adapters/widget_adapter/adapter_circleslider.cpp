#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/circle_shared.h"
#include "components/adapters/widget_adapter/value_shared.h"

namespace {

using SliderRange = RangeFrom<0, 1>;

// Process-wide like every pending style; applied as soon as it arrives.
DeferredStyleDisable circle_slider_pending;

void circle_slider_style(Evas_Object* slider, const std::string& v, SliderRange&)
{
    circle_slider_pending.style = v;
    if (!v.empty())
        elm_object_style_set(slider, v.c_str());
}

const Row<SliderRange> CIRCLE_SLIDER_ROWS[] = {
    { "unit-format", row::set_format_skip_empty<elm_slider_unit_format_set> },
    { "indicator-format", row::set_format_skip_empty<elm_slider_indicator_format_set> },
    { "span-size", row::set_int<elm_slider_span_size_set> },
    { "horizontal", row::set_bool<elm_slider_horizontal_set> },
    { "min", row::range_min<eext_circle_object_value_min_max_set> },
    { "max", row::range_max<eext_circle_object_value_min_max_set> },
    { "value", row::set_real<eext_circle_object_value_set> },
    { "inverted", row::set_bool<elm_slider_inverted_set> },
    { "step", row::ignore },
    { "show-indicator", row::set_bool<elm_slider_indicator_show_set> },
    { "style", circle_slider_style },
    { "disable", row::set_bool<eext_circle_object_disabled_set> },
};

constexpr auto CIRCLE_SLIDER_TABLE = property_table(CIRCLE_SLIDER_ROWS, { .after = range_after<SliderRange> });
constexpr auto circle_slider_set_property = set_property_by<CIRCLE_SLIDER_TABLE>;

Evas_Object* circle_slider_add(Evas_Object* parent)
{
    if (!parent)
        return nullptr;
    return eext_circle_object_slider_add(parent, circle_surface_of(parent));
}

} // namespace

extern const WidgetAdapter circle_slider_adapter = {
    .add = circle_slider_add,
    .remove = remove_widget,
    .set_property = circle_slider_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
