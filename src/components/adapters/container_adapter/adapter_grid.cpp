#include "components/adapters/Adapter.h"
#include "components/adapters/pack_properties.h"
#include "components/adapters/property_walk.h"

namespace {

// Grid positions may be negative, so "absent" needs its own marker.
const int ABSENT_POSITION = -999999;

const Row<IntPair> GRID_ROWS[] = {
    { "col_count", row::keep_int<&IntPair::first> },
    { "row_count", row::keep_int<&IntPair::second> },
};

constexpr auto GRID_TABLE = property_table(GRID_ROWS, { .after = int_pair_after<elm_grid_size_set> });
constexpr auto grid_set_property = set_property_by<GRID_TABLE>;

bool grid_pack(Evas_Object* grid, Evas_Object* child, _WidgetInfo* childNode)
{
    if (!grid || !child)
        return false;
    PackArea a = read_pack_area(childNode, ABSENT_POSITION, -1);
    if (a.left != ABSENT_POSITION && a.top != ABSENT_POSITION && a.width != -1 && a.height != -1)
        elm_grid_pack(grid, child, a.left, a.top, a.width, a.height);
    return true;
}

bool grid_unpack(Evas_Object* grid, Evas_Object* child, _WidgetInfo*)
{
    if (!grid || !child)
        return false;
    elm_grid_unpack(grid, child);
    return true;
}

} // namespace

extern const WidgetAdapter grid_adapter = {
    .add = elm_grid_add,
    .remove = remove_widget,
    .set_property = grid_set_property,
    .pack = grid_pack,
    .unpack = grid_unpack,
};
