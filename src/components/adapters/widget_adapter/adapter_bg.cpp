// Background; also the page-level "zelva.doc" and "zelva.content".
#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"

namespace {

enum { LOAD_W, LOAD_H };

void bg_color(Evas_Object* bg, const std::string& v, WalkSlots&)
{
    int r, g, b;
    if (prop_color(v, r, g, b))
        elm_bg_color_set(bg, r, g, b);
}

const PropertyRule BG_RULES[] = {
    { "image-path", rule::set_path<elm_bg_file_set> },
    { "option", rule::set_int<elm_bg_option_set> },
    { "color", bg_color },
    { "load-size-width", rule::keep_int<LOAD_W> },
    { "load-size-height", rule::keep_int<LOAD_H> },
};

bool bg_set_property(Evas_Object* bg, _WidgetInfo* node, std::string)
{
    WalkSlots slots;
    WalkResult r = walk_properties(bg, node, BG_RULES, slots);
    if (r == WalkResult::Walked && slots.intsGiven(LOAD_W, 2))
        elm_bg_load_size_set(bg, slots.ints[LOAD_W], slots.ints[LOAD_H]);
    return walk_succeeded(r);
}

} // namespace

extern const WidgetAdapter bg_adapter = {
    .add = elm_bg_add,
    .remove = remove_widget,
    .set_property = bg_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
