#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"

namespace {

const PropertyRule LABEL_RULES[] = {
    { "ellipsis", rule::set_bool<elm_label_ellipsis_set> },
    { "wrap-width", rule::set_int<elm_label_wrap_width_set> },
    { "wrap-set", rule::set_int<elm_label_line_wrap_set> },
    { "slide-mode", rule::set_int<elm_label_slide_mode_set> },
    { "duration", rule::set_real<elm_label_slide_duration_set> },
    { "slide-speed", rule::ignore },
};

bool label_set_property(Evas_Object* label, _WidgetInfo* node, std::string)
{
    WalkSlots slots;
    return walk_succeeded(walk_properties(label, node, LABEL_RULES, slots));
}

} // namespace

extern const WidgetAdapter label_adapter = {
    .add = elm_label_add,
    .remove = remove_widget,
    .set_property = label_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
