#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/basic_shared.h"

namespace {

void icon_resizable(Evas_Object* icon, const std::string& v, NoState&)
{
    bool b;
    if (prop_bool(v, b))
        elm_image_resizable_set(icon, b, b);
}

// The lookup order setter is deprecated in the toolkit but still part of
// the property set the IDE sends.
void icon_order_lookup(Evas_Object* icon, const std::string& v, NoState&)
{
    int order;
    if (!prop_int(v, order))
        return;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    elm_icon_order_lookup_set(icon, static_cast<Elm_Icon_Lookup_Order>(order));
#pragma GCC diagnostic pop
}

const Row<NoState> ICON_ROWS[] = {
    { "order-lookup", icon_order_lookup },
    { "standard", row::set_text_skip_empty<elm_icon_standard_set> },
    { "image-path", row::set_path<elm_image_file_set> },
    { "resizable", icon_resizable },
};

constexpr auto ICON_TABLE = property_table(ICON_ROWS);
constexpr auto icon_set_property = set_property_by<ICON_TABLE>;

constexpr auto icon_add = image_kind_add<elm_icon_add>;

} // namespace

extern const WidgetAdapter icon_adapter = {
    .add = icon_add,
    .remove = remove_widget,
    .set_property = icon_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
