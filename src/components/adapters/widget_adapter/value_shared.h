#pragma once
// Helpers shared by the value, text and time adapters (slider, spinner,
// progress bar, calendar, date-time, clock, entry, file selectors) and by
// their circular variants: finite reals, safe number formats, min/max ranges,
// date and time fields, icon parts and file checks.
#include <Elementary.h>

#include <array>
#include <ctime>
#include <string>

#include "components/adapters/property_walk.h"

// One diagnostic line naming the node built on `obj` (its "wid").
void value_diag(Evas_Object* obj, const char* fmt, ...) __attribute__((format(printf, 2, 3)));

// `atof` of a non-empty value. "nan" and "inf" parse too and would poison a
// widget's value or range, so they are reported and refused.
bool value_real(Evas_Object* obj, const std::string& value, double& out);

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
// A range lives in two real slots of the walk; each end applies at once with
// the other end known so far, but never inverted (a spinner would accept it
// and clamp its value outside the range). "min" arriving before "max" is a
// normal step on the way, so the inversion is reported only if it remains
// after the walk.
using RangeSetter = void (*)(Evas_Object*, double, double);

void range_start(WalkSlots& s, int low, double lowValue, int high, double highValue);
void range_apply(Evas_Object* obj, RangeSetter set, const WalkSlots& s, int low, int high);
void range_report_inverted(Evas_Object* obj, const WalkSlots& s, int low, int high);

// --- Date and time fields ------------------------------------------------
// Integer slots of a walk holding the fields as the IDE gives them (year
// 2024, month 1-12...). Out-of-range fields are reported and not kept.
enum TimeSlot { SLOT_YEAR, SLOT_MONTH, SLOT_DAY, SLOT_HOUR, SLOT_MINUTE, SLOT_SECOND, TIME_SLOT_COUNT };

bool time_field_valid(int slot, int value);
int days_in_month(int year, int month0);
// Writes the given fields into `t` (year - 1900, month - 1); a day beyond the
// month's end (30 February) becomes its last day.
void time_fields_apply(const WalkSlots& s, struct tm& t);
// localtime of `when`; false when the C library cannot convert it.
bool time_local(time_t when, struct tm& out);
// A date-time with its fields: the installed toolkit leaves them out of its
// theme, the engine's field module puts them there. Null for a null parent.
Evas_Object* datetime_add(Evas_Object* parent);
// After a date-time's walk: the current local time with the given fields
// written over it becomes the widget's value.
void datetime_value_apply(Evas_Object* datetime, WalkSlots& s);

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

// --- Row effects ---------------------------------------------------------
namespace value_rule {

template <auto F>
void set_real(Evas_Object* obj, const std::string& v, WalkSlots&)
{
    double d;
    if (value_real(obj, v, d))
        F(obj, d);
}

template <auto F>
void set_text_skip_empty(Evas_Object* obj, const std::string& v, WalkSlots&)
{
    if (!v.empty())
        F(obj, v.c_str());
}

template <auto F>
void set_text_null_if_empty(Evas_Object* obj, const std::string& v, WalkSlots&)
{
    F(obj, v.empty() ? nullptr : v.c_str());
}

// Format rows serve the typed walk too: S is the walk's state.
template <auto F, class S = WalkSlots>
void set_format_skip_empty(Evas_Object* obj, const std::string& v, S&)
{
    if (!v.empty() && value_format_accepted(obj, v, format_use_of(F)))
        F(obj, v.c_str());
}

template <auto F, class S = WalkSlots>
void set_format_also_empty(Evas_Object* obj, const std::string& v, S&)
{
    if (value_format_accepted(obj, v, format_use_of(F)))
        F(obj, v.c_str());
}

template <RangeSetter F, int LOW, int HIGH, int END>
void range_end(Evas_Object* obj, const std::string& v, WalkSlots& s)
{
    double d;
    if (!value_real(obj, v, d))
        return;
    s.reals[END] = d;
    s.realGiven[END] = true;
    range_apply(obj, F, s, LOW, HIGH);
}

template <RangeSetter F, int LOW, int HIGH>
constexpr PropertyApply range_low = range_end<F, LOW, HIGH, LOW>;
template <RangeSetter F, int LOW, int HIGH>
constexpr PropertyApply range_high = range_end<F, LOW, HIGH, HIGH>;

// A time field (TimeSlot) kept for after the walk when in range.
template <int K>
void keep_time_field(Evas_Object* obj, const std::string& v, WalkSlots& s)
{
    int i;
    if (!prop_int(v, i))
        return;
    if (!time_field_valid(K, i)) {
        value_diag(obj, "time field value \"%s\" out of range; ignored", v.c_str());
        return;
    }
    s.ints[K] = i;
}

template <int K>
void keep_text_skip_empty(Evas_Object*, const std::string& v, WalkSlots& s)
{
    if (v.empty())
        return;
    s.texts[K] = v;
    s.textGiven[K] = true;
}

} // namespace value_rule

// --- Date-time tables ----------------------------------------------------
// The rows of a date-time and its circular variant, which differ only in
// "style". R is the untyped PropertyRule or the typed Row<WalkSlots>.
inline constexpr size_t DATETIME_ROWS = 7;

template <class R, PropertyApply STYLE>
constexpr std::array<R, DATETIME_ROWS> datetime_rows()
{
    return { {
        { "format", rule::ignore },
        { "style", STYLE },
        { "year", value_rule::keep_time_field<SLOT_YEAR> },
        { "month", value_rule::keep_time_field<SLOT_MONTH> },
        { "date", value_rule::keep_time_field<SLOT_DAY> },
        { "hour", value_rule::keep_time_field<SLOT_HOUR> },
        { "minute", value_rule::keep_time_field<SLOT_MINUTE> },
    } };
}
