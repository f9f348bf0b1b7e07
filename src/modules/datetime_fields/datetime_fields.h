#pragma once
// Date-time fields. The toolkit's date-time widget (EFL 1.26) makes field
// objects of its own, but it puts them only into theme parts named
// "efl.field<n>" or "field<n>" and sends its field signals from "efl";
// the installed theme's date-time group has parts "elm.field<n>" and
// "elm.separator<n>" and listens to signals from "elm". So every date-time
// draws an empty box. This module gives a date-time its fields in the
// theme's own parts: one label per date or time field of the widget's
// format, showing the widget's value as strftime gives it, the text between
// fields in the separator parts, and the theme's "field<n>,enable" signals.
// It keeps them up to date with the value, the format, the field
// visibility and the theme, and leaves alone themes that have the parts the
// toolkit fills itself.
#include <Elementary.h>

#include <string>
#include <vector>

// Attaches the fields to an elm_datetime (once; later calls do nothing).
// Everything it made goes with the widget.
void datetime_fields_attach(Evas_Object* datetime);

// --- The format, as the theme lays it out ---------------------------------
// At most this many fields (the theme's slots field0..field7).
inline constexpr int DATETIME_FIELD_SLOTS = 8;

enum class DatetimeField { Year, Month, Date, Hour, Minute, Second, Weekday, AmPm };

struct DatetimeFieldSlot {
    DatetimeField field;
    std::string conversion; // "%b"
    std::string separator;  // the text after the field, up to the next one
};

// The fields of `format` in order of appearance, each field once; composite
// conversions (%c %x %X %r %R %T %D %F) are expanded first, text before the
// first field is dropped (the theme has no place for it). A format longer
// than DATETIME_FORMAT_LIMIT bytes is cut there.
inline constexpr size_t DATETIME_FORMAT_LIMIT = 256;
std::vector<DatetimeFieldSlot> datetime_fields_parse(const char* format);
