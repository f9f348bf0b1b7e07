#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"

namespace {

const Row<NoState> PHOTOCAM_ROWS[] = {
    { "image-path", row::set_path<elm_photocam_file_set> },
    { "zoom", row::set_real<elm_photocam_zoom_set> },
    { "zoom-mode", row::set_int<elm_photocam_zoom_mode_set> },
    { "paused", row::set_bool<elm_photocam_paused_set> },
    { "gesture", row::set_bool<elm_photocam_gesture_enabled_set> },
};

constexpr auto PHOTOCAM_TABLE = property_table(PHOTOCAM_ROWS);
constexpr auto photocam_set_property = set_property_by<PHOTOCAM_TABLE>;

} // namespace

extern const WidgetAdapter photocam_adapter = {
    .add = elm_photocam_add,
    .remove = remove_widget,
    .set_property = photocam_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
