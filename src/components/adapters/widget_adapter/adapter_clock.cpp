#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/value_shared.h"

namespace {

const Row<TimeFields> CLOCK_ROWS[] = {
    { "hours", row::keep_time_field<HOUR_FIELD> },
    { "minutes", row::keep_time_field<MINUTE_FIELD> },
    { "seconds", row::keep_time_field<SECOND_FIELD> },
    { "edit", row::set_bool<elm_clock_edit_set> },
    { "am-pm", row::set_bool<elm_clock_show_am_pm_set> },
    { "show-seconds", row::set_bool<elm_clock_show_seconds_set> },
    { "first-interval", row::set_real<elm_clock_first_interval_set> },
    { "pause", row::ignore },
};

// Only a whole time is shown.
void clock_time(Evas_Object* clock, TimeFields& f)
{
    if (f.hour && f.minute && f.second)
        elm_clock_time_set(clock, *f.hour, *f.minute, *f.second);
}

constexpr auto CLOCK_TABLE = property_table(CLOCK_ROWS, { .after = clock_time });
constexpr auto clock_set_property = set_property_by<CLOCK_TABLE>;

} // namespace

extern const WidgetAdapter clock_adapter = {
    .add = elm_clock_add,
    .remove = remove_widget,
    .set_property = clock_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
