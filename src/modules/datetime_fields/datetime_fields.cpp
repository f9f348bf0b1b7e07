#include "modules/datetime_fields/datetime_fields.h"

#include <langinfo.h>

// The date-time widget is built on the toolkit's clock class; pausing it is
// only in the class's beta interface, whose header lacks C linkage.
#ifndef EFL_BETA_API_SUPPORT
#define EFL_BETA_API_SUPPORT 1
#endif
extern "C" {
#include <efl_ui_clock.eo.h>
}

#include <array>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

const char KEY_FIELDS[] = "datetime-fields";

struct FieldChars {
    DatetimeField field;
    const char* chars;
};

// The strftime conversions that name each field.
const FieldChars FIELD_CHARS[] = {
    { DatetimeField::Year, "Yy" },   { DatetimeField::Month, "mbBh" }, { DatetimeField::Date, "de" },
    { DatetimeField::Hour, "IHkl" }, { DatetimeField::Minute, "M" },   { DatetimeField::Second, "S" },
    { DatetimeField::Weekday, "Aa" }, { DatetimeField::AmPm, "pP" },
};

// Flags and modifiers strftime allows between '%' and the conversion.
const char MODIFIERS[] = "E0_-O^#";

bool field_of(char c, DatetimeField& out)
{
    for (const FieldChars& f : FIELD_CHARS)
        if (c && strchr(f.chars, c)) {
            out = f.field;
            return true;
        }
    return false;
}

std::string expansion_of(char c)
{
    auto lang = [](nl_item item) { return std::string(nl_langinfo(item)); };
    switch (c) {
    case 'c':
        return lang(D_T_FMT);
    case 'x':
        return lang(D_FMT);
    case 'X':
        return lang(T_FMT);
    case 'r':
        return lang(T_FMT_AMPM);
    case 'R':
        return "%H:%M";
    case 'T':
        return "%H:%M:%S";
    case 'D':
        return "%m/%d/%y";
    case 'F':
        return "%Y-%m-%d";
    default:
        return {};
    }
}

// One level of expansion: the locale's formats are made of plain fields.
std::string expand(const std::string& format)
{
    std::string out;
    for (size_t i = 0; i < format.size(); ++i) {
        std::string e = format[i] == '%' && i + 1 < format.size() ? expansion_of(format[i + 1]) : std::string();
        if (e.empty()) {
            out += format[i];
            continue;
        }
        out += e;
        ++i;
    }
    return out;
}

} // namespace

std::vector<DatetimeFieldSlot> datetime_fields_parse(const char* format)
{
    std::vector<DatetimeFieldSlot> slots;
    if (!format)
        return slots;
    std::string text = expand(std::string(format, strnlen(format, DATETIME_FORMAT_LIMIT)));
    bool used[DATETIME_FIELD_SLOTS] = {};
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%' || i + 1 >= text.size() || text[i + 1] == '%') {
            if (!slots.empty())
                slots.back().separator += text[i];
            i += text[i] == '%' ? 1 : 0; // "%%" is one '%'
            continue;
        }
        size_t c = i + 1;
        while (c < text.size() && strchr(MODIFIERS, text[c]))
            ++c;
        i = c;
        DatetimeField f;
        if (c >= text.size() || !field_of(text[c], f) || used[int(f)] || slots.size() == DATETIME_FIELD_SLOTS)
            continue;
        used[int(f)] = true;
        slots.push_back({ f, std::string("%") + text[c], {} });
    }
    return slots;
}

namespace {

// The state last shown; nothing is touched while it stays the same.
struct Shown {
    std::string format;
    std::array<int, 7> value {};
    unsigned visible = 0;
    unsigned themeGeneration = 0;
    bool operator==(const Shown&) const = default;
};

struct Fields {
    Evas_Object* datetime = nullptr;
    Evas* canvas = nullptr;
    Evas_Object* labels[DATETIME_FIELD_SLOTS] = {};
    unsigned themeGeneration = 0;
    Shown shown;
    bool everShown = false;
};

std::string part_name(const char* stem, int n, const char* tail = "")
{
    return std::string(stem) + std::to_string(n) + tail;
}

// The theme has the legacy parts and none that the toolkit fills itself.
bool theme_needs_fields(Evas_Object* datetime)
{
    Evas_Object* edje = elm_layout_edje_get(datetime);
    return edje && edje_object_part_exists(edje, "elm.field0") && !edje_object_part_exists(edje, "efl.field0")
        && !edje_object_part_exists(edje, "field0");
}

bool field_visible(Evas_Object* datetime, DatetimeField f)
{
    // The widget's own visibility switches cover year to minute.
    if (int(f) > int(DatetimeField::Minute))
        return true;
    return elm_datetime_field_visible_get(datetime, Elm_Datetime_Field_Type(int(f)));
}

std::string field_text(const DatetimeFieldSlot& slot, const struct tm& value)
{
    // The weekday comes from the date; the widget need not have filled it.
    struct tm t = value;
    time_t when = timegm(&t);
    struct tm full;
    if (gmtime_r(&when, &full)) {
        t.tm_wday = full.tm_wday;
        t.tm_yday = full.tm_yday;
    }
    char text[64];
    size_t n = strftime(text, sizeof text, slot.conversion.c_str(), &t);
    std::string s(text, n);
    s.erase(0, s.find_first_not_of(' '));
    return s;
}

std::string markup(const std::string& plain)
{
    char* m = elm_entry_utf8_to_markup(plain.c_str());
    std::string out = m ? m : "";
    free(m);
    return out;
}

void on_label_del(void* data, Evas*, Evas_Object* obj, void*)
{
    auto* fs = static_cast<Fields*>(data);
    for (Evas_Object*& label : fs->labels)
        if (label == obj)
            label = nullptr;
}

Evas_Object* label_of(Fields& fs, int n)
{
    if (!fs.labels[n]) {
        fs.labels[n] = elm_label_add(fs.datetime);
        evas_object_event_callback_add(fs.labels[n], EVAS_CALLBACK_DEL, on_label_del, &fs);
    }
    return fs.labels[n];
}

// The widget puts field objects of its own into these parts when its theme
// is applied, and they draw nothing in this theme. They stay the widget's:
// taken out and hidden, never deleted.
void place(Fields& fs, int n, Evas_Object* label)
{
    std::string part = part_name("elm.field", n);
    Evas_Object* current = elm_layout_content_get(fs.datetime, part.c_str());
    if (current == label)
        return;
    if (current)
        evas_object_hide(elm_layout_content_unset(fs.datetime, part.c_str()));
    elm_layout_content_set(fs.datetime, part.c_str(), label);
    evas_object_show(label);
}

void show_slot(Fields& fs, int n, const DatetimeFieldSlot* slot, const struct tm& value)
{
    Evas_Object* dt = fs.datetime;
    std::string separator = slot ? markup(slot->separator) : std::string();
    elm_layout_text_set(dt, part_name("elm.separator", n + 1).c_str(), separator.c_str());
    elm_layout_text_set(dt, part_name("separator", n + 1, "d").c_str(), separator.c_str());
    if (!slot) {
        if (fs.labels[n])
            evas_object_del(fs.labels[n]);
        elm_layout_signal_emit(dt, part_name("field", n, ",disable").c_str(), "elm");
        return;
    }
    Evas_Object* label = label_of(fs, n);
    place(fs, n, label);
    elm_object_text_set(label, markup(field_text(*slot, value)).c_str());
    elm_layout_signal_emit(dt, part_name("field", n, ",enable").c_str(), "elm");
}

void clear(Fields& fs)
{
    for (Evas_Object* label : fs.labels)
        if (label)
            evas_object_del(label);
}

// Every shown field still holds its label (the widget may have put its own
// objects back, deleting ours).
bool labels_in_place(const Fields& fs, unsigned visible)
{
    for (int n = 0; n < DATETIME_FIELD_SLOTS; ++n) {
        if (!(visible & (1u << n)))
            continue;
        Evas_Object* label = fs.labels[n];
        if (!label || elm_layout_content_get(fs.datetime, part_name("elm.field", n).c_str()) != label)
            return false;
    }
    return true;
}

Shown wanted(const Fields& fs, const std::vector<DatetimeFieldSlot>& slots, const struct tm& t)
{
    Shown s;
    const char* format = elm_datetime_format_get(fs.datetime);
    s.format = format ? format : "";
    s.value = { t.tm_year, t.tm_mon, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, 0 };
    for (size_t n = 0; n < slots.size(); ++n)
        if (field_visible(fs.datetime, slots[n].field))
            s.visible |= 1u << n;
    s.themeGeneration = fs.themeGeneration;
    return s;
}

void sync(Fields& fs)
{
    if (!theme_needs_fields(fs.datetime)) {
        clear(fs);
        fs.everShown = false;
        return;
    }
    std::vector<DatetimeFieldSlot> slots = datetime_fields_parse(elm_datetime_format_get(fs.datetime));
    struct tm t;
    memset(&t, 0, sizeof t);
    elm_datetime_value_get(fs.datetime, &t);
    Shown s = wanted(fs, slots, t);
    if (fs.everShown && s == fs.shown && labels_in_place(fs, s.visible))
        return;
    for (int n = 0; n < DATETIME_FIELD_SLOTS; ++n) {
        bool on = n < int(slots.size()) && (s.visible & (1u << n));
        show_slot(fs, n, on ? &slots[n] : nullptr, t);
    }
    // The theme's programs run now, not at the next idle time.
    edje_object_message_signal_process(elm_layout_edje_get(fs.datetime));
    fs.shown = s;
    fs.everShown = true;
}

void on_changed(void* data, Evas_Object*, void*) { sync(*static_cast<Fields*>(data)); }

// A new theme starts from its default states: the signals are sent again.
void on_theme_changed(void* data, Evas_Object*, void*)
{
    auto* fs = static_cast<Fields*>(data);
    ++fs->themeGeneration;
    sync(*fs);
}

// The widget announces value and theme changes, but not a new format or a
// field shown or hidden: those are caught before the next frame is drawn.
void on_render_pre(void* data, Evas*, void*) { sync(*static_cast<Fields*>(data)); }

void on_del(void* data, Evas*, Evas_Object* obj, void*)
{
    auto* fs = static_cast<Fields*>(data);
    evas_event_callback_del_full(fs->canvas, EVAS_CALLBACK_RENDER_PRE, on_render_pre, fs);
    evas_object_smart_callback_del_full(obj, "changed", on_changed, fs);
    evas_object_smart_callback_del_full(obj, "theme,changed", on_theme_changed, fs);
    evas_object_data_del(obj, KEY_FIELDS);
    for (Evas_Object* label : fs->labels)
        if (label)
            evas_object_event_callback_del_full(label, EVAS_CALLBACK_DEL, on_label_del, fs);
    delete fs;
}

} // namespace

void datetime_fields_attach(Evas_Object* datetime)
{
    const char* type = datetime ? elm_object_widget_type_get(datetime) : nullptr;
    if (!type || strcmp(type, "Elm_Datetime") != 0 || evas_object_data_get(datetime, KEY_FIELDS))
        return;
    // The installed widget runs like a clock: a timer moves its value to the
    // current time every second, and the date it was given is gone at the
    // next tick. A date-time holds its value, so the ticking is paused.
    efl_ui_clock_pause_set(datetime, EINA_TRUE);
    auto* fs = new Fields;
    fs->datetime = datetime;
    fs->canvas = evas_object_evas_get(datetime);
    evas_object_data_set(datetime, KEY_FIELDS, fs);
    evas_object_smart_callback_add(datetime, "changed", on_changed, fs);
    evas_object_smart_callback_add(datetime, "theme,changed", on_theme_changed, fs);
    evas_event_callback_add(fs->canvas, EVAS_CALLBACK_RENDER_PRE, on_render_pre, fs);
    evas_object_event_callback_add(datetime, EVAS_CALLBACK_DEL, on_del, fs);
    sync(*fs);
}
