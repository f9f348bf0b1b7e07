#include <cstring>

#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/value_shared.h"
#include "modules/datetime_fields/datetime_fields.h"

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
void datetime_style(Evas_Object* datetime, const std::string& v, WalkSlots&)
{
    elm_object_style_set(datetime, v.c_str());
    for (const DatetimeLayout& layout : DATETIME_LAYOUTS)
        if (v == layout.style) {
            elm_datetime_format_set(datetime, layout.format);
            return;
        }
}

const PropertyRule DATETIME_RULES[] = {
    { "format", rule::ignore },
    { "style", datetime_style },
    { "year", value_rule::keep_time_field<SLOT_YEAR> },
    { "month", value_rule::keep_time_field<SLOT_MONTH> },
    { "date", value_rule::keep_time_field<SLOT_DAY> },
    { "hour", value_rule::keep_time_field<SLOT_HOUR> },
    { "minute", value_rule::keep_time_field<SLOT_MINUTE> },
};

// The installed toolkit leaves a date-time's fields out of its theme; the
// engine's field module puts them there.
Evas_Object* datetime_add(Evas_Object* parent)
{
    if (!parent)
        return nullptr;
    Evas_Object* datetime = elm_datetime_add(parent);
    datetime_fields_attach(datetime);
    return datetime;
}

bool datetime_set_property(Evas_Object* datetime, _WidgetInfo* node, std::string)
{
    WalkSlots slots;
    WalkResult r = walk_properties(datetime, node, DATETIME_RULES, slots);
    if (r != WalkResult::Walked)
        return walk_succeeded(r);
    struct tm t;
    if (!time_local(time(nullptr), t)) {
        value_diag(datetime, "cannot read the local time; value not set");
        return true;
    }
    time_fields_apply(slots, t);
    elm_datetime_value_set(datetime, &t);
    return true;
}

} // namespace

extern const WidgetAdapter datetime_adapter = {
    .add = datetime_add,
    .remove = remove_widget,
    .set_property = datetime_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
