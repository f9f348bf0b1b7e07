#pragma once
// Helpers shared by the value, text and time adapters (slider, spinner,
// progress bar, calendar, date-time, clock, entry) and by their circular
// variants: safe number formats, min/max ranges, date and time fields, icon
// parts and file checks.
#include <Elementary.h>

#include <array>
#include <ctime>
#include <optional>
#include <string>

#include "components/adapters/property_walk.h"

// --- Number formats --------------------------------------------------------
// Unit, indicator and label formats reach printf in the toolkit, which
// prints each kind its own way:
//  - DetectedValue (slider and progress bar units): the toolkit reads the
//    first conversion made only of digits, '.' and one of d i u o x X, f F or
//    s, and prints the value as that type; a format with no such conversion
//    is shown as it is, and one with two as the bare value.
//  - Double (slider indicator): always printed with one double.
//  - SpinnerLabel: the spinner refuses anything but one such d i u o x X or
//    f F conversion, and prints an int or a double to match.
// Accepted is what prints exactly the arguments it is given: refused are "%n"
// (aborts), a second conversion or a '*' (reads an argument that is not
// there), a conversion or length modifier of another type (reads garbage), a
// '%' ending the text (read past it), and a width or precision of more than
// three digits (gigabytes of padding).
enum class FormatUse { DetectedValue, Double, SpinnerLabel };
bool value_format_safe(const char* format, FormatUse use);
// The same, with a diagnostic when refused.
bool value_format_accepted(Evas_Object* obj, const std::string& format, FormatUse use);

// How the toolkit prints the format given to `setter`.
inline FormatUse format_use_of(void (*setter)(Evas_Object*, const char*))
{
    if (setter == elm_slider_indicator_format_set)
        return FormatUse::Double;
    if (setter == elm_spinner_label_format_set)
        return FormatUse::SpinnerLabel;
    return FormatUse::DetectedValue;
}

// --- Min/max ranges ------------------------------------------------------
// Each end applies at once with the other end known so far, but never
// inverted (a spinner would accept it and clamp its value outside the
// range). "min" arriving before "max" is a normal step on the way, so the
// inversion is reported only if it remains after the walk.
using RangeSetter = void (*)(Evas_Object*, double, double);

struct Range {
    double min;
    double max;
    bool given = false;
};

// The state of a kind whose range starts at (LOW, HIGH) for every node.
template <int LOW, int HIGH>
struct RangeFrom : Range {
    RangeFrom() : Range { LOW, HIGH } {}
};

void range_end_set(Evas_Object* obj, const std::string& value, Range& r, double Range::*end, RangeSetter set);
void range_report_inverted(Evas_Object* obj, const Range& r);

// --- Date and time fields ------------------------------------------------
// The fields as the IDE gives them (year 2024, month 1-12...), each kept
// only when given and in range.
struct TimeFields {
    std::optional<int> year, month, day, hour, minute, second;
};

struct TimeField {
    std::optional<int> TimeFields::*field;
    int low;
    int high;
};

// Four-digit years keep year - 1900 far from integer overflow.
inline constexpr TimeField YEAR_FIELD { &TimeFields::year, 1, 9999 };
inline constexpr TimeField MONTH_FIELD { &TimeFields::month, 1, 12 };
inline constexpr TimeField DAY_FIELD { &TimeFields::day, 1, 31 };
inline constexpr TimeField HOUR_FIELD { &TimeFields::hour, 0, 23 };
inline constexpr TimeField MINUTE_FIELD { &TimeFields::minute, 0, 59 };
inline constexpr TimeField SECOND_FIELD { &TimeFields::second, 0, 59 };

int days_in_month(int year, int month0);
// Writes the given fields into `t` (year - 1900, month - 1); a day beyond the
// month's end (30 February) becomes its last day.
void time_fields_apply(const TimeFields& f, struct tm& t);
// localtime of `when`; false when the C library cannot convert it.
bool time_local(time_t when, struct tm& out);
// A date-time with its fields: the installed toolkit leaves them out of its
// theme, the engine's field module puts them there. Null for a null parent.
Evas_Object* datetime_add(Evas_Object* parent);
// After a date-time's walk: the current local time with the given fields
// written over it becomes the widget's value.
void datetime_value_apply(Evas_Object* datetime, TimeFields& f);

// Written by every calendar add, read by every calendar set_property.
extern time_t local_time;

// --- Content parts -------------------------------------------------------
bool part_content_pack(Evas_Object* container, Evas_Object* child, const char* part);
bool part_content_unpack(Evas_Object* container, const char* part);

// The progress bar's icon; the circular progress bar packs the same way.
bool progressbar_packed(Evas_Object* container, Evas_Object* child, _WidgetInfo* childNode);
bool progressbar_unpacked(Evas_Object* container, Evas_Object* child, _WidgetInfo* childNode);

// --- Files ---------------------------------------------------------------
// True for an existing, readable regular file of at most `limit` bytes. A
// pipe would block the main loop forever, a device or huge file for long.
bool value_file_loadable(Evas_Object* obj, const std::string& path, long long limit);

// --- Rows of the value kinds ---------------------------------------------
namespace row {

template <auto F, class S>
void set_format_skip_empty(Evas_Object* obj, const std::string& v, S&)
{
    if (!v.empty() && value_format_accepted(obj, v, format_use_of(F)))
        F(obj, v.c_str());
}

template <auto F, class S>
void set_format_also_empty(Evas_Object* obj, const std::string& v, S&)
{
    if (value_format_accepted(obj, v, format_use_of(F)))
        F(obj, v.c_str());
}

// "min" / "max" of a state derived from Range.
template <RangeSetter F, class S>
void range_min(Evas_Object* obj, const std::string& v, S& s)
{
    range_end_set(obj, v, s, &Range::min, F);
}

template <RangeSetter F, class S>
void range_max(Evas_Object* obj, const std::string& v, S& s)
{
    range_end_set(obj, v, s, &Range::max, F);
}

// A date or time field of a state derived from TimeFields.
template <const TimeField& F, class S>
void keep_time_field(Evas_Object* obj, const std::string& v, S& s)
{
    int i;
    if (prop_int_within(obj, v, F.low, F.high, "time field value", i))
        s.*(F.field) = i;
}

} // namespace row

// The after-walk step of a range kind.
template <class S>
void range_after(Evas_Object* obj, S& s)
{
    range_report_inverted(obj, s);
}

// --- Date-time tables ----------------------------------------------------
// The table of a date-time and its circular variant, which differ only in
// "style"; the value is set after the walk.
template <RowApply<TimeFields> STYLE>
inline constexpr std::array<Row<TimeFields>, 7> datetime_rows = { {
    { "format", row::ignore<TimeFields> },
    { "style", STYLE },
    { "year", row::keep_time_field<YEAR_FIELD> },
    { "month", row::keep_time_field<MONTH_FIELD> },
    { "date", row::keep_time_field<DAY_FIELD> },
    { "hour", row::keep_time_field<HOUR_FIELD> },
    { "minute", row::keep_time_field<MINUTE_FIELD> },
} };

template <RowApply<TimeFields> STYLE>
inline constexpr PropertyTable<TimeFields> datetime_table
    = property_table(datetime_rows<STYLE>, { .after = datetime_value_apply });
