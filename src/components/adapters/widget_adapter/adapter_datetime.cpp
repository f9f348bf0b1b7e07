#include <cstring>

#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/value_shared.h"

namespace {

struct DatetimeLayout {
    const char* style;
    const char* format;
};

const DatetimeLayout DATETIME_LAYOUTS[] = {
    { "date_layout", "%d/%b/%Y" },
    { "time_layout", "%d/%b/%Y/ %I:%M %p" },
    { "time_layout_24hr", "%d/%b/%Y %H:%M" },
    { "datepicker_layout", "%d/%b/%Y%I:%M%p" },
    { "timepicker_layout", "%d/%b/%Y%I:%M%p" },
};

// The style at once; the layout styles also bring the fields they show.
void datetime_style(Evas_Object* datetime, const std::string& v, TimeFields&)
{
    elm_object_style_set(datetime, v.c_str());
    for (const DatetimeLayout& layout : DATETIME_LAYOUTS)
        if (v == layout.style) {
            elm_datetime_format_set(datetime, layout.format);
            return;
        }
}

constexpr auto datetime_set_property = set_property_by<datetime_table<datetime_style>>;

} // namespace

extern const WidgetAdapter datetime_adapter = {
    .add = datetime_add,
    .remove = remove_widget,
    .set_property = datetime_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
