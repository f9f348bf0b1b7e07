#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/basic_shared.h"

namespace {

// Process-wide on purpose: a button node without "style"/"disable" gets the
// values the last button carrying them asked for.
DeferredStyleDisable button_pending;

const PropertyRule BUTTON_RULES[] = {
    { "autorepeat", rule::set_bool<elm_button_autorepeat_set> },
    { "autorepeat_initial_timeout", rule::set_real<elm_button_autorepeat_initial_timeout_set> },
    { "autorepeat_gap_timeout", rule::set_real<elm_button_autorepeat_gap_timeout_set> },
    { "style", rule::defer_style },
    { "disable", rule::defer_disable },
};

bool button_set_property(Evas_Object* button, _WidgetInfo* node, std::string)
{
    WalkSlots slots;
    slots.deferred = &button_pending;
    WalkResult r = walk_properties(button, node, BUTTON_RULES, slots);
    if (r != WalkResult::Walked)
        return walk_succeeded(r);
    apply_deferred_style(button, button_pending);
    apply_deferred_disable(button, button_pending);
    return true;
}

constexpr auto button_packed = icon_part_pack;
constexpr auto button_unpacked = icon_part_unpack;

} // namespace

extern const WidgetAdapter button_adapter = {
    .add = elm_button_add,
    .remove = remove_widget,
    .set_property = button_set_property,
    .pack = button_packed,
    .unpack = button_unpacked,
};
