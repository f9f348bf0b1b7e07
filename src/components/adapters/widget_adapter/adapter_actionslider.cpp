#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"

namespace {

// Values are the toolkit's position bits, passed through unchanged.
const PropertyRule ACTIONSLIDER_RULES[] = {
    { "indicator-pos", rule::set_int<elm_actionslider_indicator_pos_set> },
    { "magnet-pos", rule::set_int<elm_actionslider_magnet_pos_set> },
    { "enabled-pos", rule::set_int<elm_actionslider_enabled_pos_set> },
};

bool actionslider_set_property(Evas_Object* slider, _WidgetInfo* node, std::string)
{
    WalkSlots slots;
    return walk_succeeded(walk_properties(slider, node, ACTIONSLIDER_RULES, slots));
}

} // namespace

extern const WidgetAdapter actionslider_adapter = {
    .add = elm_actionslider_add,
    .remove = remove_widget,
    .set_property = actionslider_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
