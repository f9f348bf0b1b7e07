#include "components/adapters/property_walk.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "components/adapters/Adapter.h"
#include "utils/log_util.h"
#include "utils/util.h"

bool prop_bool(const std::string& value, bool& out)
{
    if (value != "true" && value != "false")
        return false;
    out = value == "true";
    return true;
}

// `atoi`, except that a number no int can hold is refused instead of
// wrapping to some other value the toolkit would try to lay out.
bool prop_int(const std::string& value, int& out)
{
    if (value.empty())
        return false;
    errno = 0;
    long v = strtol(value.c_str(), nullptr, 10);
    if (errno == ERANGE || v < INT_MIN || v > INT_MAX) {
        diag("integer \"%s\" is out of range; ignored", value.c_str());
        return false;
    }
    out = int(v);
    return true;
}

bool prop_int_within(Evas_Object* obj, const std::string& value, int low, int high, const char* what, int& out)
{
    int i;
    if (!prop_int(value, i))
        return false;
    if (i < low || i > high) {
        node_diag(obj, "%s \"%s\" out of range %d..%d; ignored", what, value.c_str(), low, high);
        return false;
    }
    out = i;
    return true;
}

bool prop_color(const std::string& value, int& r, int& g, int& b)
{
    if (value.empty())
        return false;
    long rgb = strtol(value.c_str() + 1, nullptr, 16);
    r = int((rgb >> 16) & 0xff);
    g = int((rgb >> 8) & 0xff);
    b = int(rgb & 0xff);
    return true;
}

void node_diag(Evas_Object* obj, const char* fmt, ...)
{
    const char* wid = obj ? static_cast<const char*>(evas_object_data_get(obj, KEY_WID)) : nullptr;
    char text[512];
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(text, sizeof text, fmt, ap);
    va_end(ap);
    diag("node \"%s\": %s", wid ? wid : "", text);
}

bool prop_file(Evas_Object* obj, const std::string& path)
{
    const char* refusal = util_file_refusal(path.c_str());
    if (refusal)
        node_diag(obj, "file \"%s\" %s; not loaded", path.c_str(), refusal);
    return !refusal;
}

bool prop_finite(Evas_Object* obj, const std::string& value, double& out)
{
    if (value.empty())
        return false;
    double d = atof(value.c_str());
    if (!std::isfinite(d)) {
        node_diag(obj, "\"%s\" is not a finite number; ignored", value.c_str());
        return false;
    }
    out = d;
    return true;
}

void apply_deferred(Evas_Object* obj, const DeferredStyleDisable& pending, PendingDisable rule)
{
    if (!pending.style.empty())
        elm_object_style_set(obj, pending.style.c_str());
    bool disabled;
    if (rule == PendingDisable::TrueDisables)
        elm_object_disabled_set(obj, pending.disable == "true");
    else if (prop_bool(pending.disable, disabled))
        elm_object_disabled_set(obj, disabled);
}
