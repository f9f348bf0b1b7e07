#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"

namespace {

enum { RED, GREEN, BLUE, ALPHA };

const PropertyRule COLORSELECTOR_RULES[] = {
    { "select-r", rule::keep_int<RED> },
    { "select-g", rule::keep_int<GREEN> },
    { "select-b", rule::keep_int<BLUE> },
    { "select-a", rule::keep_int<ALPHA> },
    { "mode", rule::set_int<elm_colorselector_mode_set> },
};

bool colorselector_set_property(Evas_Object* selector, _WidgetInfo* node, std::string)
{
    WalkSlots slots;
    WalkResult r = walk_properties(selector, node, COLORSELECTOR_RULES, slots);
    if (r == WalkResult::Walked && slots.intsGiven(RED, 4))
        elm_colorselector_color_set(selector, slots.ints[RED], slots.ints[GREEN], slots.ints[BLUE], slots.ints[ALPHA]);
    return walk_succeeded(r);
}

} // namespace

extern const WidgetAdapter colorselector_adapter = {
    .add = elm_colorselector_add,
    .remove = remove_widget,
    .set_property = colorselector_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
