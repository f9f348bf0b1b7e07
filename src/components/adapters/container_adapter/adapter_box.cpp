#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"

namespace {

enum { PAD_H, PAD_V };

const PropertyRule BOX_RULES[] = {
    { "homogeneous", rule::set_bool<elm_box_homogeneous_set> },
    { "horizontal", rule::set_bool<elm_box_horizontal_set> },
    { "padding_h", rule::keep_int<PAD_H> },
    { "padding_v", rule::keep_int<PAD_V> },
};

bool box_set_property(Evas_Object* box, _WidgetInfo* node, std::string)
{
    WalkSlots slots;
    WalkResult r = walk_properties(box, node, BOX_RULES, slots);
    if (r == WalkResult::Walked && slots.intsGiven(PAD_H, 2))
        elm_box_padding_set(box, slots.ints[PAD_H], slots.ints[PAD_V]);
    return walk_succeeded(r);
}

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
