#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/basic_shared.h"

namespace {

// Process-wide on purpose: a check node without "disable" gets the value the
// last check carrying it asked for.
DeferredStyleDisable check_pending;

const PropertyRule CHECK_RULES[] = {
    { "state", rule::set_bool<elm_check_state_set> },
    { "disable", rule::defer_disable },
};

bool check_set_property(Evas_Object* check, _WidgetInfo* node, std::string)
{
    WalkSlots slots;
    slots.deferred = &check_pending;
    WalkResult r = walk_properties(check, node, CHECK_RULES, slots);
    if (r != WalkResult::Walked)
        return walk_succeeded(r);
    // Unlike button and radio, any text but "true" (empty included) enables.
    elm_object_disabled_set(check, check_pending.disable == "true");
    return true;
}

constexpr auto check_packed = icon_part_pack;
constexpr auto check_unpacked = icon_part_unpack;

} // namespace

extern const WidgetAdapter check_adapter = {
    .add = elm_check_add,
    .remove = remove_widget,
    .set_property = check_set_property,
    .pack = check_packed,
    .unpack = check_unpacked,
};
