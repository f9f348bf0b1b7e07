#include <optional>

#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"

namespace {

struct Region {
    std::optional<double> lon, lat;
};

// Where the IDE leaves a coordinate out.
constexpr int NO_COORDINATE = -99999;

const Row<Region> MAP_ROWS[] = {
    { "zoom-level", row::set_int<elm_map_zoom_set> },
    { "region-lon", row::keep_real<&Region::lon, Region, NO_COORDINATE> },
    { "region-lat", row::keep_real<&Region::lat, Region, NO_COORDINATE> },
};

void map_region(Evas_Object* map, Region& r)
{
    if (r.lon && r.lat)
        elm_map_region_show(map, *r.lon, *r.lat);
}

constexpr auto MAP_TABLE = property_table(MAP_ROWS, { .after = map_region });
constexpr auto map_set_property = set_property_by<MAP_TABLE>;

} // namespace

extern const WidgetAdapter map_adapter = {
    .add = elm_map_add,
    .remove = remove_widget,
    .set_property = map_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
