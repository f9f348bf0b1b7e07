#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"

namespace {

enum { LON, LAT };
constexpr double COORD_UNSET = -99999.0;

const PropertyRule MAP_RULES[] = {
    { "zoom-level", rule::set_int<elm_map_zoom_set> },
    { "region-lon", rule::keep_real<LON> },
    { "region-lat", rule::keep_real<LAT> },
};

bool map_set_property(Evas_Object* map, _WidgetInfo* node, std::string)
{
    WalkSlots slots;
    slots.reals[LON] = slots.reals[LAT] = COORD_UNSET;
    WalkResult r = walk_properties(map, node, MAP_RULES, slots);
    if (r == WalkResult::Walked && slots.reals[LON] != COORD_UNSET && slots.reals[LAT] != COORD_UNSET)
        elm_map_region_show(map, slots.reals[LON], slots.reals[LAT]);
    return walk_succeeded(r);
}

} // namespace

extern const WidgetAdapter map_adapter = {
    .add = elm_map_add,
    .remove = remove_widget,
    .set_property = map_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
