#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/value_shared.h"

namespace {

enum { RANGE_MIN, RANGE_MAX };

const PropertyRule SPINNER_RULES[] = {
    { "label-format", value_rule::set_format_skip_empty<elm_spinner_label_format_set> },
    { "min", value_rule::range_low<elm_spinner_min_max_set, RANGE_MIN, RANGE_MAX> },
    { "max", value_rule::range_high<elm_spinner_min_max_set, RANGE_MIN, RANGE_MAX> },
    { "step", value_rule::set_real<elm_spinner_step_set> },
    { "value", value_rule::set_real<elm_spinner_value_set> },
    { "wrap", rule::set_bool<elm_spinner_wrap_set> },
    { "editable", rule::set_bool<elm_spinner_editable_set> },
    { "interval", value_rule::set_real<elm_spinner_interval_set> },
    { "base", value_rule::set_real<elm_spinner_base_set> },
    { "round", rule::set_int<elm_spinner_round_set> },
    { "style", rule::defer_style },
    { "disable", rule::defer_disable },
};

// Process-wide on purpose: a spinner without "style"/"disable" gets the last stored.
DeferredStyleDisable spinner_pending;

bool spinner_set_property(Evas_Object* spinner, _WidgetInfo* node, std::string)
{
    WalkSlots slots;
    slots.deferred = &spinner_pending;
    range_start(slots, RANGE_MIN, 0.0, RANGE_MAX, 100.0);
    WalkResult r = walk_properties(spinner, node, SPINNER_RULES, slots);
    if (r != WalkResult::Walked)
        return walk_succeeded(r);
    range_report_inverted(spinner, slots, RANGE_MIN, RANGE_MAX);
    apply_deferred_style(spinner, spinner_pending);
    apply_deferred_disable(spinner, spinner_pending);
    return true;
}

} // namespace

extern const WidgetAdapter spinner_adapter = {
    .add = elm_spinner_add,
    .remove = remove_widget,
    .set_property = spinner_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
