#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"

namespace {

const PropertyRule PHOTO_RULES[] = {
    { "image-path", rule::set_path<elm_photo_file_set> },
    { "thumb", rule::set_path<elm_photo_thumb_set> },
    { "size", rule::set_int<elm_photo_size_set> },
    { "fill-inside", rule::set_bool<elm_photo_fill_inside_set> },
    { "aspect-fixed", rule::set_bool<elm_photo_aspect_fixed_set> },
};

bool photo_set_property(Evas_Object* photo, _WidgetInfo* node, std::string)
{
    WalkSlots slots;
    return walk_succeeded(walk_properties(photo, node, PHOTO_RULES, slots));
}

} // namespace

extern const WidgetAdapter photo_adapter = {
    .add = elm_photo_add,
    .remove = remove_widget,
    .set_property = photo_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
