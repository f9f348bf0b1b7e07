#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/basic_shared.h"

namespace {

enum { RESIZE_UP, RESIZE_DOWN };

const PropertyRule IMAGE_RULES[] = {
    { "image-path", rule::set_path<elm_image_file_set> },
    { "smooth", rule::set_bool<elm_image_smooth_set> },
    { "no-scale", rule::set_bool<elm_image_no_scale_set> },
    { "resizable-up", rule::keep_text<RESIZE_UP> },
    { "resizable-down", rule::keep_text<RESIZE_DOWN> },
    { "orient", rule::set_int<elm_image_orient_set> },
    { "aspect-fixed", rule::set_bool<elm_image_aspect_fixed_set> },
    { "fill-outside", rule::set_bool<elm_image_fill_outside_set> },
    { "editable", rule::set_bool<elm_image_editable_set> },
    { "prescale", rule::set_int<elm_image_prescale_set> },
};

bool image_set_property(Evas_Object* image, _WidgetInfo* node, std::string)
{
    WalkSlots slots;
    WalkResult r = walk_properties(image, node, IMAGE_RULES, slots);
    if (r != WalkResult::Walked)
        return walk_succeeded(r);
    // Only a pair of proper booleans touches the setting.
    bool up, down;
    if (prop_bool(slots.texts[RESIZE_UP], up) && prop_bool(slots.texts[RESIZE_DOWN], down))
        elm_image_resizable_set(image, up, down);
    return true;
}

constexpr auto image_add = image_kind_add<elm_image_add>;

} // namespace

extern const WidgetAdapter image_adapter = {
    .add = image_add,
    .remove = remove_widget,
    .set_property = image_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
