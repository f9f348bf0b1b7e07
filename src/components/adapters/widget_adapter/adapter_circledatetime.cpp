#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/circle_shared.h"
#include "components/adapters/widget_adapter/value_shared.h"

namespace {

// The round theme's fields: the format first, then the style, whatever it is.
void circle_datetime_style(Evas_Object* datetime, const std::string& v, WalkSlots&)
{
    elm_datetime_format_set(datetime, "%d/%b/%Y%I:%M%p");
    elm_object_style_set(datetime, v.c_str());
}

constexpr auto CIRCLE_DATETIME_ROWS = datetime_rows<Row<WalkSlots>, circle_datetime_style>();

constexpr PropertyTable<WalkSlots> CIRCLE_DATETIME_TABLE = {
    .rows = CIRCLE_DATETIME_ROWS.data(),
    .count = CIRCLE_DATETIME_ROWS.size(),
    .after = datetime_value_apply,
};

Evas_Object* circle_datetime_add(Evas_Object* parent)
{
    Evas_Object* datetime = datetime_add(parent);
    if (!datetime)
        return nullptr;
    circle_pointer_keep(&circle_datetime, eext_circle_object_datetime_add(datetime, circle_surface_of(parent)));
    elm_object_style_set(datetime, "datepicker/circle");
    return datetime;
}

bool circle_datetime_set_property(Evas_Object* datetime, _WidgetInfo* node, std::string)
{
    return set_properties(datetime, node, CIRCLE_DATETIME_TABLE);
}

} // namespace

extern const WidgetAdapter circle_datetime_adapter = {
    .add = circle_datetime_add,
    .remove = remove_widget,
    .set_property = circle_datetime_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
