#include <optional>

#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/value_shared.h"

namespace {

// The date fields and the year range, which starts at 1902 with no last year.
struct CalendarState : TimeFields {
    int firstYear = 1902;
    std::optional<int> lastYear;
};

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
void calendar_years(Evas_Object* calendar, const CalendarState& s)
{
    if (!s.lastYear) {
        struct tm from = {};
        from.tm_year = s.firstYear - 1900;
        from.tm_mday = 1;
        elm_calendar_date_min_set(calendar, &from);
        return;
    }
    if (*s.lastYear >= s.firstYear)
        elm_calendar_min_max_year_set(calendar, s.firstYear, *s.lastYear);
}

template <auto END>
void calendar_year_end(Evas_Object* calendar, const std::string& v, CalendarState& s)
{
    int year;
    if (!prop_int_within(calendar, v, YEAR_FIELD.low, YEAR_FIELD.high, "year", year))
        return;
    s.*END = year;
    calendar_years(calendar, s);
}

const Row<CalendarState> CALENDAR_ROWS[] = {
    { "min-year", calendar_year_end<&CalendarState::firstYear> },
    { "max-year", calendar_year_end<&CalendarState::lastYear> },
    { "select-mode", row::set_int<elm_calendar_select_mode_set> },
    { "interval", row::set_real<elm_calendar_interval_set> },
    { "year", row::keep_time_field<YEAR_FIELD> },
    { "month", row::keep_time_field<MONTH_FIELD> },
    { "date", row::keep_time_field<DAY_FIELD> },
};

// The selection: the calendar's creation time with the given fields.
void calendar_after(Evas_Object* calendar, CalendarState& s)
{
    if (s.lastYear && *s.lastYear < s.firstYear)
        node_diag(calendar, "min-year %d above max-year %d; range not applied", s.firstYear, *s.lastYear);
    struct tm t;
    if (!time_local(local_time, t)) {
        node_diag(calendar, "cannot convert the calendar time; selection not set");
        return;
    }
    time_fields_apply(s, t);
    elm_calendar_selected_time_set(calendar, &t);
}

constexpr auto CALENDAR_TABLE = property_table(CALENDAR_ROWS, { .after = calendar_after });
constexpr auto calendar_set_property = set_property_by<CALENDAR_TABLE>;

} // namespace

extern const WidgetAdapter calendar_adapter = {
    .add = calendar_add,
    .remove = remove_widget,
    .set_property = calendar_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
