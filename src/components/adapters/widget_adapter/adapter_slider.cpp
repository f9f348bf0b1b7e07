#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/value_shared.h"

namespace {

enum { RANGE_MIN, RANGE_MAX };

const PropertyRule SLIDER_RULES[] = {
    { "unit-format", value_rule::set_format_skip_empty<elm_slider_unit_format_set> },
    { "indicator-format", value_rule::set_format_skip_empty<elm_slider_indicator_format_set> },
    { "span-size", rule::set_int<elm_slider_span_size_set> },
    { "horizontal", rule::set_bool<elm_slider_horizontal_set> },
    { "min", value_rule::range_low<elm_slider_min_max_set, RANGE_MIN, RANGE_MAX> },
    { "max", value_rule::range_high<elm_slider_min_max_set, RANGE_MIN, RANGE_MAX> },
    { "value", value_rule::set_real<elm_slider_value_set> },
    { "inverted", rule::set_bool<elm_slider_inverted_set> },
    { "step", value_rule::set_real<elm_slider_step_set> },
    { "show-indicator", rule::set_bool<elm_slider_indicator_show_set> },
    { "show-indicator-on-focus", rule::ignore },
    { "style", rule::defer_style },
    { "disable", rule::defer_disable },
};

// Process-wide on purpose: a slider without "style"/"disable" gets the last stored.
DeferredStyleDisable slider_pending;

bool slider_set_property(Evas_Object* slider, _WidgetInfo* node, std::string)
{
    WalkSlots slots;
    slots.deferred = &slider_pending;
    range_start(slots, RANGE_MIN, 0.0, RANGE_MAX, 1.0);
    WalkResult r = walk_properties(slider, node, SLIDER_RULES, slots);
    if (r != WalkResult::Walked)
        return walk_succeeded(r);
    range_report_inverted(slider, slots, RANGE_MIN, RANGE_MAX);
    apply_deferred_style(slider, slider_pending);
    apply_deferred_disable(slider, slider_pending);
    return true;
}

} // namespace

extern const WidgetAdapter slider_adapter = {
    .add = elm_slider_add,
    .remove = remove_widget,
    .set_property = slider_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
