#include "components/adapters/widget_adapter/value_shared.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "components/adapters/Adapter.h"
#include "modules/datetime_fields/datetime_fields.h"
#include "utils/log_util.h"

time_t local_time = 0;

void value_diag(Evas_Object* obj, const char* fmt, ...)
{
    const char* wid = obj ? static_cast<const char*>(evas_object_data_get(obj, KEY_WID)) : nullptr;
    char text[512];
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(text, sizeof text, fmt, ap);
    va_end(ap);
    diag("node \"%s\": %s", wid ? wid : "", text);
}

bool value_real(Evas_Object* obj, const std::string& value, double& out)
{
    double d;
    if (!prop_real(value, d))
        return false;
    if (!std::isfinite(d)) {
        value_diag(obj, "\"%s\" is not a finite number; ignored", value.c_str());
        return false;
    }
    out = d;
    return true;
}

void range_start(WalkSlots& s, int low, double lowValue, int high, double highValue)
{
    s.reals[low] = lowValue;
    s.reals[high] = highValue;
}

void range_apply(Evas_Object* obj, RangeSetter set, const WalkSlots& s, int low, int high)
{
    if (s.reals[low] <= s.reals[high])
        set(obj, s.reals[low], s.reals[high]);
}

void range_report_inverted(Evas_Object* obj, const WalkSlots& s, int low, int high)
{
    if ((s.realGiven[low] || s.realGiven[high]) && s.reals[low] > s.reals[high])
        value_diag(obj, "minimum %g above maximum %g; range not applied", s.reals[low], s.reals[high]);
}

namespace {

struct FieldLimits {
    int low;
    int high;
};

// Four-digit years keep year - 1900 far from integer overflow.
const FieldLimits TIME_FIELD_LIMITS[TIME_SLOT_COUNT] = {
    { 1, 9999 }, { 1, 12 }, { 1, 31 }, { 0, 23 }, { 0, 59 }, { 0, 59 },
};

bool leap_year(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

} // namespace

bool time_field_valid(int slot, int value)
{
    if (slot < 0 || slot >= TIME_SLOT_COUNT)
        return false;
    return value >= TIME_FIELD_LIMITS[slot].low && value <= TIME_FIELD_LIMITS[slot].high;
}

int days_in_month(int year, int month0)
{
    static const int DAYS[12] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    if (month0 < 0 || month0 > 11)
        return 31;
    return month0 == 1 && leap_year(year) ? 29 : DAYS[month0];
}

void time_fields_apply(const WalkSlots& s, struct tm& t)
{
    if (s.ints[SLOT_YEAR] != -1)
        t.tm_year = s.ints[SLOT_YEAR] - 1900;
    if (s.ints[SLOT_MONTH] != -1)
        t.tm_mon = s.ints[SLOT_MONTH] - 1;
    if (s.ints[SLOT_DAY] != -1)
        t.tm_mday = s.ints[SLOT_DAY];
    if (s.ints[SLOT_HOUR] != -1)
        t.tm_hour = s.ints[SLOT_HOUR];
    if (s.ints[SLOT_MINUTE] != -1)
        t.tm_min = s.ints[SLOT_MINUTE];
    if (s.ints[SLOT_SECOND] != -1)
        t.tm_sec = s.ints[SLOT_SECOND];
    int last = days_in_month(t.tm_year + 1900, t.tm_mon);
    if (t.tm_mday > last)
        t.tm_mday = last;
}

bool time_local(time_t when, struct tm& out)
{
    return localtime_r(&when, &out) != nullptr;
}

Evas_Object* datetime_add(Evas_Object* parent)
{
    if (!parent)
        return nullptr;
    Evas_Object* datetime = elm_datetime_add(parent);
    datetime_fields_attach(datetime);
    return datetime;
}

void datetime_value_apply(Evas_Object* datetime, WalkSlots& s)
{
    struct tm t;
    if (!time_local(time(nullptr), t)) {
        value_diag(datetime, "cannot read the local time; value not set");
        return;
    }
    time_fields_apply(s, t);
    elm_datetime_value_set(datetime, &t);
}

bool part_content_pack(Evas_Object* container, Evas_Object* child, const char* part)
{
    if (!container || !child)
        return false;
    elm_object_part_content_set(container, part, child);
    return true;
}

bool part_content_unpack(Evas_Object* container, const char* part)
{
    if (!container)
        return false;
    elm_object_part_content_unset(container, part);
    return true;
}

bool progressbar_packed(Evas_Object* container, Evas_Object* child, _WidgetInfo*)
{
    return part_content_pack(container, child, "icon");
}

bool progressbar_unpacked(Evas_Object* container, Evas_Object*, _WidgetInfo*)
{
    return part_content_unpack(container, "icon");
}

bool value_file_loadable(Evas_Object* obj, const std::string& path, long long limit)
{
    struct stat st;
    if (!prop_file(obj, path))
        return false;
    if (access(path.c_str(), R_OK) != 0 || stat(path.c_str(), &st) != 0) {
        value_diag(obj, "file \"%s\" is not readable; not loaded", path.c_str());
        return false;
    }
    if (st.st_size > limit) {
        value_diag(obj, "file \"%s\" larger than %lld bytes; not loaded", path.c_str(), limit);
        return false;
    }
    return true;
}
