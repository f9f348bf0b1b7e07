#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"

namespace {

const Row<NoState> PHOTO_ROWS[] = {
    { "image-path", row::set_path<elm_photo_file_set> },
    { "thumb", row::set_path<elm_photo_thumb_set> },
    { "size", row::set_int<elm_photo_size_set> },
    { "fill-inside", row::set_bool<elm_photo_fill_inside_set> },
    { "aspect-fixed", row::set_bool<elm_photo_aspect_fixed_set> },
};

constexpr auto PHOTO_TABLE = property_table(PHOTO_ROWS);
constexpr auto photo_set_property = set_property_by<PHOTO_TABLE>;

} // namespace

extern const WidgetAdapter photo_adapter = {
    .add = elm_photo_add,
    .remove = remove_widget,
    .set_property = photo_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
