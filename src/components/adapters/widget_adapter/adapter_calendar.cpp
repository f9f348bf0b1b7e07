#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/value_shared.h"

namespace {

// After the date fields (TimeSlot) in the walk's integer slots.
enum { YEAR_FIRST = TIME_SLOT_COUNT, YEAR_LAST };

Evas_Object* calendar_add(Evas_Object* parent)
{
    if (!parent)
        return nullptr;
    local_time = time(nullptr);
    Evas_Object* calendar = elm_calendar_add(parent);
    struct tm utc;
    if (calendar && gmtime_r(&local_time, &utc))
        elm_calendar_selected_time_set(calendar, &utc);
    return calendar;
}

// The year range with the ends known so far. The toolkit turns a missing
// (negative) last year into the first one, locking the calendar to a single
// year, so without a last year only the first is set and the top stays open.
void calendar_years(Evas_Object* calendar, const WalkSlots& s)
{
    int first = s.ints[YEAR_FIRST];
    int last = s.ints[YEAR_LAST];
    if (last == -1) {
        struct tm from = {};
        from.tm_year = first - 1900;
        from.tm_mday = 1;
        elm_calendar_date_min_set(calendar, &from);
        return;
    }
    if (last >= first)
        elm_calendar_min_max_year_set(calendar, first, last);
}

template <int K>
void calendar_year_end(Evas_Object* calendar, const std::string& v, WalkSlots& s)
{
    int year;
    if (!prop_int(v, year))
        return;
    if (!time_field_valid(SLOT_YEAR, year)) {
        value_diag(calendar, "year \"%s\" out of range; ignored", v.c_str());
        return;
    }
    s.ints[K] = year;
    calendar_years(calendar, s);
}

const PropertyRule CALENDAR_RULES[] = {
    { "min-year", calendar_year_end<YEAR_FIRST> },
    { "max-year", calendar_year_end<YEAR_LAST> },
    { "select-mode", rule::set_int<elm_calendar_select_mode_set> },
    { "interval", value_rule::set_real<elm_calendar_interval_set> },
    { "year", value_rule::keep_time_field<SLOT_YEAR> },
    { "month", value_rule::keep_time_field<SLOT_MONTH> },
    { "date", value_rule::keep_time_field<SLOT_DAY> },
};

bool calendar_set_property(Evas_Object* calendar, _WidgetInfo* node, std::string)
{
    WalkSlots slots;
    slots.ints[YEAR_FIRST] = 1902;
    WalkResult r = walk_properties(calendar, node, CALENDAR_RULES, slots);
    if (r != WalkResult::Walked)
        return walk_succeeded(r);
    if (slots.ints[YEAR_LAST] != -1 && slots.ints[YEAR_LAST] < slots.ints[YEAR_FIRST])
        value_diag(calendar, "min-year %d above max-year %d; range not applied", slots.ints[YEAR_FIRST],
                   slots.ints[YEAR_LAST]);
    struct tm t;
    if (!time_local(local_time, t)) {
        value_diag(calendar, "cannot convert the calendar time; selection not set");
        return true;
    }
    time_fields_apply(slots, t);
    elm_calendar_selected_time_set(calendar, &t);
    return true;
}

} // namespace

extern const WidgetAdapter calendar_adapter = {
    .add = calendar_add,
    .remove = remove_widget,
    .set_property = calendar_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
