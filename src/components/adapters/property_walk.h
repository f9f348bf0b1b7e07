#pragma once
#include <Elementary.h>

#include <cstddef>
#include <cstdlib>
#include <string>
#include <type_traits>

#include "components/adapters/Adapter.h"
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
// True when `path` names a regular file the toolkit may open; otherwise says
// why ("does not exist", "is a FIFO", ...) and the file is not loaded.
bool prop_file(Evas_Object* obj, const std::string& path);

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
    if (!v.empty() && !prop_file(obj, v))
        return;
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

// ===========================================================================
// Typed walk. An adapter that remembers values while its properties are
// walked keeps them in a small struct of its own (the state S); rows that
// only call a setter work for any state. One driver runs every set_property:
// guards, the rows in table order, unknown names, then the after-walk step.
// New adapters use this family; the untyped slots above are being retired.
// ===========================================================================

struct NoState {};

template <class S>
using RowApply = void (*)(Evas_Object* obj, const std::string& value, S& state);

template <class S>
struct Row {
    const char* name;
    RowApply<S> apply;
};

template <class S>
struct PropertyTable {
    const Row<S>* rows = nullptr;
    size_t count = 0;
    UnknownNames unknown = UnknownNames::ToCommon;
    // Before the walk over a non-empty list; false stops with false (an item
    // node whose toolkit item is missing, say).
    bool (*before)(Evas_Object* obj, S& state) = nullptr;
    // After the walk over a non-empty list: pairs, deferred style/disable.
    void (*after)(Evas_Object* obj, S& state) = nullptr;
    // After each property, whatever its name (a value re-applied each time).
    void (*each)(Evas_Object* obj, S& state) = nullptr;
};

template <class S, size_t N>
constexpr PropertyTable<S> property_table(const Row<S> (&rows)[N], UnknownNames unknown = UnknownNames::ToCommon,
                                          bool (*before)(Evas_Object*, std::type_identity_t<S>&) = nullptr,
                                          void (*after)(Evas_Object*, std::type_identity_t<S>&) = nullptr)
{
    return { rows, N, unknown, before, after };
}

template <class S>
bool set_properties(Evas_Object* obj, const _WidgetInfo* node, const PropertyTable<S>& table, S& state)
{
    if (!obj || !node)
        return false;
    if (!node->properties)
        return true;
    if (table.before && !table.before(obj, state))
        return false;
    const Eina_List* l;
    void* data;
    EINA_LIST_FOREACH(node->properties, l, data) {
        const auto* p = static_cast<const Property*>(data);
        const Row<S>* hit = nullptr;
        for (size_t i = 0; i < table.count && !hit; ++i)
            if (p->name == table.rows[i].name)
                hit = &table.rows[i];
        if (hit)
            hit->apply(obj, p->value, state);
        else if (table.unknown == UnknownNames::ToCommon)
            common_set_property(obj, p->name, p->value);
        if (table.each)
            table.each(obj, state);
    }
    if (table.after)
        table.after(obj, state);
    return true;
}

// A fresh state per call: remembered values live for one node only.
template <class S>
bool set_properties(Evas_Object* obj, const _WidgetInfo* node, const PropertyTable<S>& table)
{
    S state {};
    return set_properties(obj, node, table, state);
}

// One diagnostic line naming the node built on `obj` (its "wid").
void node_diag(Evas_Object* obj, const char* fmt, ...) __attribute__((format(printf, 2, 3)));

// `atof` of a non-empty, finite value; "nan" and "inf" are reported and refused.
bool prop_finite(Evas_Object* obj, const std::string& value, double& out);

// After a walk: a non-empty pending style, then "true"/"false" disable.
void apply_deferred(Evas_Object* obj, const DeferredStyleDisable& pending);

namespace row {

// --- Setters on the widget: F(obj, converted value) -----------------------
template <auto F, class S>
void set_bool(Evas_Object* obj, const std::string& v, S&)
{
    bool b;
    if (prop_bool(v, b))
        F(obj, b ? EINA_TRUE : EINA_FALSE);
}

template <auto F, class S>
void set_int(Evas_Object* obj, const std::string& v, S&)
{
    int i;
    if (prop_int(v, i))
        F(obj, static_cast<typename rule::value_arg<decltype(F)>::type>(i));
}

template <auto F, class S>
void set_real(Evas_Object* obj, const std::string& v, S&)
{
    double d;
    if (prop_finite(obj, v, d))
        F(obj, static_cast<typename rule::value_arg<decltype(F)>::type>(d));
}

template <auto F, class S>
void set_text(Evas_Object* obj, const std::string& v, S&)
{
    F(obj, v.c_str());
}

template <auto F, class S>
void set_text_skip_empty(Evas_Object* obj, const std::string& v, S&)
{
    if (!v.empty())
        F(obj, v.c_str());
}

// The empty text passes null (clears a file or a selection).
template <auto F, class S>
void set_text_null_if_empty(Evas_Object* obj, const std::string& v, S&)
{
    F(obj, v.empty() ? nullptr : v.c_str());
}

template <class S>
void ignore(Evas_Object*, const std::string&, S&)
{
}

// --- Remembered values: state.*M ------------------------------------------
// M may name a member of a base of S, so shared schemes keep shared fields.
template <auto M, class S>
void keep_bool(Evas_Object*, const std::string& v, S& s)
{
    bool b;
    if (prop_bool(v, b))
        s.*M = b;
}

template <auto M, class S>
void keep_int(Evas_Object*, const std::string& v, S& s)
{
    int i;
    if (prop_int(v, i))
        s.*M = i;
}

template <auto M, class S>
void keep_real(Evas_Object* obj, const std::string& v, S& s)
{
    double d;
    if (prop_finite(obj, v, d))
        s.*M = d;
}

template <auto M, class S>
void keep_text(Evas_Object*, const std::string& v, S& s)
{
    s.*M = v;
}

// --- Deferred style and disable of one adapter kind -------------------------
template <DeferredStyleDisable* D, class S>
void defer_style(Evas_Object*, const std::string& v, S&)
{
    D->style = v;
}

template <DeferredStyleDisable* D, class S>
void defer_disable(Evas_Object*, const std::string& v, S&)
{
    D->disable = v;
}

} // namespace row
