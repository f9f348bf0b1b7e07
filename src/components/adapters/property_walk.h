#pragma once
#include <Elementary.h>

#include <cstddef>
#include <cstdlib>
#include <string>
#include <type_traits>

#include "components/adapters/widget_info.h"

// The shared shape of every set_property: a table of rows (name, effect)
// tried in order, the first equal name wins, other names go to the common
// properties. Each adapter's set_property then reads like its table.

// Pending "style"/"disable" texts of one adapter kind. They outlive the node
// on purpose: a node without the property gets the value stored last.
struct DeferredStyleDisable {
    std::string style;
    std::string disable;
};

// Values gathered during one walk and applied after it (pairs such as
// width/height). Integers start at -1, meaning "not given".
struct WalkSlots {
    static const int COUNT = 8;
    int ints[COUNT];
    double reals[COUNT];
    bool realGiven[COUNT];
    std::string texts[COUNT];
    bool textGiven[COUNT];
    DeferredStyleDisable* deferred = nullptr;

    WalkSlots();
    bool intsGiven(int first, int count) const; // all of ints[first..first+count) given
};

using PropertyApply = void (*)(Evas_Object* obj, const std::string& value, WalkSlots& slots);

struct PropertyRule {
    const char* name;
    PropertyApply apply;
};

enum class WalkResult {
    Invalid, // null object or node
    Empty,   // no properties: deferred values are not applied either
    Walked,
};

enum class UnknownNames { ToCommon, Ignore };

WalkResult walk_properties(Evas_Object* obj, const _WidgetInfo* node, const PropertyRule* rules, size_t count,
                           WalkSlots& slots, UnknownNames unknown = UnknownNames::ToCommon);

template <size_t N>
WalkResult walk_properties(Evas_Object* obj, const _WidgetInfo* node, const PropertyRule (&rules)[N], WalkSlots& slots,
                           UnknownNames unknown = UnknownNames::ToCommon)
{
    return walk_properties(obj, node, rules, N, slots, unknown);
}

// set_property's result for a walk that applies nothing afterwards.
inline bool walk_succeeded(WalkResult r) { return r != WalkResult::Invalid; }

// Value conversions. Each returns false when the value must be ignored.
bool prop_bool(const std::string& value, bool& out);   // exactly "true" / "false"
bool prop_int(const std::string& value, int& out);     // atoi; empty skipped
bool prop_real(const std::string& value, double& out); // atof; empty skipped
bool prop_color(const std::string& value, int& r, int& g, int& b); // "#RRGGBB"; empty skipped

// After a walk: a non-empty pending style, then "true"/"false" disable.
void apply_deferred_style(Evas_Object* obj, const DeferredStyleDisable& pending);
void apply_deferred_disable(Evas_Object* obj, const DeferredStyleDisable& pending);

namespace rule {

template <class F>
struct value_arg;
template <class R, class O, class V>
struct value_arg<R (*)(O, V)> {
    using type = V;
};

// Row effects: call the toolkit setter F(obj, converted value).
template <auto F>
void set_bool(Evas_Object* obj, const std::string& v, WalkSlots&)
{
    bool b;
    if (prop_bool(v, b))
        F(obj, b ? EINA_TRUE : EINA_FALSE);
}

template <auto F>
void set_int(Evas_Object* obj, const std::string& v, WalkSlots&)
{
    int i;
    if (prop_int(v, i))
        F(obj, static_cast<typename value_arg<decltype(F)>::type>(i));
}

template <auto F>
void set_real(Evas_Object* obj, const std::string& v, WalkSlots&)
{
    double d;
    if (prop_real(v, d))
        F(obj, static_cast<typename value_arg<decltype(F)>::type>(d));
}

template <auto F>
void set_text(Evas_Object* obj, const std::string& v, WalkSlots&)
{
    F(obj, v.c_str());
}

// Row effects that remember the value for after the walk.
template <int K>
void keep_int(Evas_Object*, const std::string& v, WalkSlots& s)
{
    int i;
    if (prop_int(v, i))
        s.ints[K] = i;
}

template <int K>
void keep_real(Evas_Object*, const std::string& v, WalkSlots& s)
{
    double d;
    if (prop_real(v, d)) {
        s.reals[K] = d;
        s.realGiven[K] = true;
    }
}

template <int K>
void keep_text(Evas_Object*, const std::string& v, WalkSlots& s)
{
    s.texts[K] = v;
    s.textGiven[K] = true;
}

void defer_style(Evas_Object*, const std::string& v, WalkSlots& s);
void defer_disable(Evas_Object*, const std::string& v, WalkSlots& s);
void ignore(Evas_Object*, const std::string&, WalkSlots&);

} // namespace rule

namespace rule {

// A file row: the empty text passes a null file name, which clears the file.
// Works for setters with and without a trailing group argument.
template <auto F>
void set_path(Evas_Object* obj, const std::string& v, WalkSlots&)
{
    const char* path = v.empty() ? nullptr : v.c_str();
    if constexpr (std::is_invocable_v<decltype(F), Evas_Object*, const char*, const char*>)
        F(obj, path, nullptr);
    else
        F(obj, path);
}

// A text row whose empty value is skipped.
template <auto F>
void set_text_skip_empty(Evas_Object* obj, const std::string& v, WalkSlots&)
{
    if (!v.empty())
        F(obj, v.c_str());
}

} // namespace rule
