#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"

namespace {

const PropertyRule PHOTOCAM_RULES[] = {
    { "image-path", rule::set_path<elm_photocam_file_set> },
    { "zoom", rule::set_real<elm_photocam_zoom_set> },
    { "zoom-mode", rule::set_int<elm_photocam_zoom_mode_set> },
    { "paused", rule::set_bool<elm_photocam_paused_set> },
    { "gesture", rule::set_bool<elm_photocam_gesture_enabled_set> },
};

bool photocam_set_property(Evas_Object* photocam, _WidgetInfo* node, std::string)
{
    WalkSlots slots;
    return walk_succeeded(walk_properties(photocam, node, PHOTOCAM_RULES, slots));
}

} // namespace

extern const WidgetAdapter photocam_adapter = {
    .add = elm_photocam_add,
    .remove = remove_widget,
    .set_property = photocam_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
