#include "components/adapters/widget_adapter/value_shared.h"

#include <sys/stat.h>
#include <unistd.h>

#include "components/adapters/Adapter.h"
#include "modules/datetime_fields/datetime_fields.h"

time_t local_time = 0;

void range_end_set(Evas_Object* obj, const std::string& value, Range& r, double Range::*end, RangeSetter set)
{
    double d;
    if (!prop_finite(obj, value, d))
        return;
    r.*end = d;
    r.given = true;
    if (r.min <= r.max)
        set(obj, r.min, r.max);
}

void range_report_inverted(Evas_Object* obj, const Range& r)
{
    if (r.given && r.min > r.max)
        node_diag(obj, "minimum %g above maximum %g; range not applied", r.min, r.max);
}

namespace {

bool leap_year(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

} // namespace


int days_in_month(int year, int month0)
{
    static const int DAYS[12] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    if (month0 < 0 || month0 > 11)
        return 31;
    return month0 == 1 && leap_year(year) ? 29 : DAYS[month0];
}

void time_fields_apply(const TimeFields& f, struct tm& t)
{
    if (f.year)
        t.tm_year = *f.year - 1900;
    if (f.month)
        t.tm_mon = *f.month - 1;
    if (f.day)
        t.tm_mday = *f.day;
    if (f.hour)
        t.tm_hour = *f.hour;
    if (f.minute)
        t.tm_min = *f.minute;
    if (f.second)
        t.tm_sec = *f.second;
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

void datetime_value_apply(Evas_Object* datetime, TimeFields& f)
{
    struct tm t;
    if (!time_local(time(nullptr), t)) {
        node_diag(datetime, "cannot read the local time; value not set");
        return;
    }
    time_fields_apply(f, t);
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
        node_diag(obj, "file \"%s\" is not readable; not loaded", path.c_str());
        return false;
    }
    if (st.st_size > limit) {
        node_diag(obj, "file \"%s\" larger than %lld bytes; not loaded", path.c_str(), limit);
        return false;
    }
    return true;
}
