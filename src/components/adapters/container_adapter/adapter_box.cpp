#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"

namespace {

const Row<IntPair> BOX_ROWS[] = {
    { "homogeneous", row::set_bool<elm_box_homogeneous_set> },
    { "horizontal", row::set_bool<elm_box_horizontal_set> },
    { "padding_h", row::keep_int<&IntPair::first> },
    { "padding_v", row::keep_int<&IntPair::second> },
};

constexpr auto BOX_TABLE = property_table(BOX_ROWS, { .after = int_pair_after<elm_box_padding_set> });
constexpr auto box_set_property = set_property_by<BOX_TABLE>;

// A box ignores packing properties: children go in tree order.
bool box_pack(Evas_Object* box, Evas_Object* child, _WidgetInfo*)
{
    if (!box || !child)
        return false;
    elm_box_pack_end(box, child);
    return true;
}

bool box_unpack(Evas_Object* box, Evas_Object* child, _WidgetInfo*)
{
    if (!box || !child)
        return false;
    elm_box_unpack(box, child);
    return true;
}

} // namespace

extern const WidgetAdapter box_adapter = {
    .add = elm_box_add,
    .remove = remove_widget,
    .set_property = box_set_property,
    .pack = box_pack,
    .unpack = box_unpack,
};
