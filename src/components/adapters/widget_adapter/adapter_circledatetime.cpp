#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/circle_shared.h"
#include "components/adapters/widget_adapter/value_shared.h"

namespace {

// The round theme's fields: the format first, then the style, whatever it is.
void circle_datetime_style(Evas_Object* datetime, const std::string& v, TimeFields&)
{
    elm_datetime_format_set(datetime, "%d/%b/%Y%I:%M%p");
    elm_object_style_set(datetime, v.c_str());
}

constexpr auto circle_datetime_set_property = set_property_by<datetime_table<circle_datetime_style>>;

Evas_Object* circle_datetime_add(Evas_Object* parent)
{
    Evas_Object* datetime = datetime_add(parent);
    if (!datetime)
        return nullptr;
    circle_pointer_keep(&circle_datetime, eext_circle_object_datetime_add(datetime, circle_surface_of(parent)));
    elm_object_style_set(datetime, "datepicker/circle");
    return datetime;
}

} // namespace

extern const WidgetAdapter circle_datetime_adapter = {
    .add = circle_datetime_add,
    .remove = remove_widget,
    .set_property = circle_datetime_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
