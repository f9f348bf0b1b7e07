#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/basic_shared.h"

namespace {

// The two halves of "resizable", applied together after the walk.
struct Resizable {
    std::string up, down;
};

const Row<Resizable> IMAGE_ROWS[] = {
    { "image-path", row::set_path<elm_image_file_set> },
    { "smooth", row::set_bool<elm_image_smooth_set> },
    { "no-scale", row::set_bool<elm_image_no_scale_set> },
    { "resizable-up", row::keep_text<&Resizable::up> },
    { "resizable-down", row::keep_text<&Resizable::down> },
    { "orient", row::set_int<elm_image_orient_set> },
    { "aspect-fixed", row::set_bool<elm_image_aspect_fixed_set> },
    { "fill-outside", row::set_bool<elm_image_fill_outside_set> },
    { "editable", row::set_bool<elm_image_editable_set> },
    { "prescale", row::set_int<elm_image_prescale_set> },
};

// Only a pair of proper booleans touches the setting.
void image_resizable(Evas_Object* image, Resizable& r)
{
    bool up, down;
    if (prop_bool(r.up, up) && prop_bool(r.down, down))
        elm_image_resizable_set(image, up, down);
}

constexpr auto IMAGE_TABLE = property_table(IMAGE_ROWS, { .after = image_resizable });
constexpr auto image_set_property = set_property_by<IMAGE_TABLE>;

constexpr auto image_add = image_kind_add<elm_image_add>;

} // namespace

extern const WidgetAdapter image_adapter = {
    .add = image_add,
    .remove = remove_widget,
    .set_property = image_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
