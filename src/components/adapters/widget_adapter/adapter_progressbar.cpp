#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/value_shared.h"

namespace {

const PropertyRule PROGRESSBAR_RULES[] = {
    { "horizontal", rule::set_bool<elm_progressbar_horizontal_set> },
    { "pulse", rule::set_bool<elm_progressbar_pulse_set> },
    { "value", value_rule::set_real<elm_progressbar_value_set> },
    { "span-size", rule::set_int<elm_progressbar_span_size_set> },
    { "format", value_rule::set_format_also_empty<elm_progressbar_unit_format_set> },
    { "inverted", rule::set_bool<elm_progressbar_inverted_set> },
    { "disable", rule::defer_disable },
};

// Process-wide on purpose: a bar without "disable" gets the last stored.
DeferredStyleDisable progressbar_pending;

bool progressbar_set_property(Evas_Object* bar, _WidgetInfo* node, std::string)
{
    WalkSlots slots;
    slots.deferred = &progressbar_pending;
    WalkResult r = walk_properties(bar, node, PROGRESSBAR_RULES, slots);
    if (r != WalkResult::Walked)
        return walk_succeeded(r);
    // Unlike the other deferred kinds, any text but "true" enables.
    elm_object_disabled_set(bar, progressbar_pending.disable == "true");
    return true;
}

} // namespace

extern const WidgetAdapter progressbar_adapter = {
    .add = elm_progressbar_add,
    .remove = remove_widget,
    .set_property = progressbar_set_property,
    .pack = progressbar_packed,
    .unpack = progressbar_unpacked,
};
