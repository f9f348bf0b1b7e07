#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/basic_shared.h"

namespace {

// Process-wide on purpose: a radio node without "disable" gets the value the
// last radio carrying it asked for.
DeferredStyleDisable radio_pending;

const PropertyRule RADIO_RULES[] = {
    { "value", rule::set_int<elm_radio_value_set> },
    { "state-value", rule::set_int<elm_radio_state_value_set> },
    { "disable", rule::defer_disable },
};

bool radio_set_property(Evas_Object* radio, _WidgetInfo* node, std::string)
{
    WalkSlots slots;
    slots.deferred = &radio_pending;
    WalkResult r = walk_properties(radio, node, RADIO_RULES, slots);
    if (r != WalkResult::Walked)
        return walk_succeeded(r);
    apply_deferred_disable(radio, radio_pending);
    return true;
}

constexpr auto radio_packed = icon_part_pack;
constexpr auto radio_unpacked = icon_part_unpack;

} // namespace

extern const WidgetAdapter radio_adapter = {
    .add = elm_radio_add,
    .remove = remove_widget,
    .set_property = radio_set_property,
    .pack = radio_packed,
    .unpack = radio_unpacked,
};
