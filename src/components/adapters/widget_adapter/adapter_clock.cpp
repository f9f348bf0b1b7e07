#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/value_shared.h"

namespace {

const PropertyRule CLOCK_RULES[] = {
    { "hours", value_rule::keep_time_field<SLOT_HOUR> },
    { "minutes", value_rule::keep_time_field<SLOT_MINUTE> },
    { "seconds", value_rule::keep_time_field<SLOT_SECOND> },
    { "edit", rule::set_bool<elm_clock_edit_set> },
    { "am-pm", rule::set_bool<elm_clock_show_am_pm_set> },
    { "show-seconds", rule::set_bool<elm_clock_show_seconds_set> },
    { "first-interval", value_rule::set_real<elm_clock_first_interval_set> },
    { "pause", rule::ignore },
};

bool clock_set_property(Evas_Object* clock, _WidgetInfo* node, std::string)
{
    WalkSlots slots;
    WalkResult r = walk_properties(clock, node, CLOCK_RULES, slots);
    if (r == WalkResult::Walked && slots.intsGiven(SLOT_HOUR, 3))
        elm_clock_time_set(clock, slots.ints[SLOT_HOUR], slots.ints[SLOT_MINUTE], slots.ints[SLOT_SECOND]);
    return walk_succeeded(r);
}

} // namespace

extern const WidgetAdapter clock_adapter = {
    .add = elm_clock_add,
    .remove = remove_widget,
    .set_property = clock_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
