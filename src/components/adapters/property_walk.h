#pragma once
// The shared shape of every set_property: a table of rows (name, effect)
// tried in order, the first equal name wins, other names go to the common
// properties (or are ignored by item kinds). An adapter that remembers values
// while its properties are walked keeps them in a small struct of its own
// (the state S); rows that only call a setter work for any state. One driver
// runs every walk: guards, an optional step before, the rows, an optional
// step after each property, the after-walk step and the kind's deferred
// style/disable. An adapter file is then its table plus its own steps.
#include <Elementary.h>

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <type_traits>

#include "components/adapters/Adapter.h"
#include "components/adapters/widget_info.h"

// --- Value conversions -----------------------------------------------------
// Each returns false when the value must be ignored; `obj` names the node in
// the one diagnostic line of a refusal.
bool prop_bool(const std::string& value, bool& out); // exactly "true" / "false"
bool prop_int(const std::string& value, int& out);   // atoi; empty skipped, beyond int refused
// prop_int within [low, high]; outside it one diagnostic line names `what`
// ("year", "icon size"...) with the value and the range, and false.
bool prop_int_within(Evas_Object* obj, const std::string& value, int low, int high, const char* what, int& out);
// `atof` of a non-empty, finite value; "nan" and "inf" are reported and refused.
bool prop_finite(Evas_Object* obj, const std::string& value, double& out);
bool prop_color(const std::string& value, int& r, int& g, int& b); // "#RRGGBB"; empty skipped
// True when `path` names a regular file the toolkit may open; otherwise says
// why ("does not exist", "is a FIFO", ...) and the file is not loaded.
bool prop_file(Evas_Object* obj, const std::string& path);

// One diagnostic line naming the node built on `obj` (its "wid").
void node_diag(Evas_Object* obj, const char* fmt, ...) __attribute__((format(printf, 2, 3)));

// --- Deferred style and disable ----------------------------------------------
// Pending "style"/"disable" texts of one adapter kind. They outlive the node
// on purpose: a node without the property gets the value stored last.
struct DeferredStyleDisable {
    std::string style;
    std::string disable;
};

// How a pending "disable" text reaches the widget after the walk.
enum class PendingDisable {
    TrueOrFalse,  // "true" disables, "false" enables, other texts change nothing
    TrueDisables, // "true" disables, any other text (the empty one too) enables
};

// A non-empty pending style, then the pending disable text by `rule`.
void apply_deferred(Evas_Object* obj, const DeferredStyleDisable& pending,
                    PendingDisable rule = PendingDisable::TrueOrFalse);

// --- Tables ------------------------------------------------------------------
enum class UnknownNames { ToCommon, Ignore };

struct NoState {};

template <class S>
using RowApply = void (*)(Evas_Object* obj, const std::string& value, S& state);

template <class S>
struct Row {
    const char* name;
    RowApply<S> apply;
};

// A kind's rows and what its walk does besides them. The steps run only
// for a non-empty property list; a node without properties gets nothing,
// deferred values included.
template <class S>
struct PropertyTable {
    const Row<S>* rows = nullptr;
    size_t count = 0;
    UnknownNames unknown = UnknownNames::ToCommon;
    // Before the rows; false stops with false (an item node whose toolkit
    // item is missing, say).
    bool (*before)(Evas_Object* obj, S& state) = nullptr;
    // After the rows: pairs, ranges, values made of several properties.
    void (*after)(Evas_Object* obj, S& state) = nullptr;
    // After each property, whatever its name (a value re-applied each time).
    void (*each)(Evas_Object* obj, S& state) = nullptr;
    // Last: the kind's pending style and disable.
    DeferredStyleDisable* deferred = nullptr;
    PendingDisable disable = PendingDisable::TrueOrFalse;
};

// The table of `rows` with the steps set in `steps` (whose own rows and
// count are replaced): property_table(ROWS, { .after = pair_after }).
template <class S, size_t N>
constexpr PropertyTable<S> property_table(const Row<S> (&rows)[N], PropertyTable<std::type_identity_t<S>> steps = {})
{
    steps.rows = rows;
    steps.count = N;
    return steps;
}

template <class S, size_t N>
constexpr PropertyTable<S> property_table(const std::array<Row<S>, N>& rows,
                                          PropertyTable<std::type_identity_t<S>> steps = {})
{
    steps.rows = rows.data();
    steps.count = N;
    return steps;
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
    if (table.deferred)
        apply_deferred(obj, *table.deferred, table.disable);
    return true;
}

// A fresh state per call: remembered values live for one node only.
template <class S>
bool set_properties(Evas_Object* obj, const _WidgetInfo* node, const PropertyTable<S>& table)
{
    S state {};
    return set_properties(obj, node, table, state);
}

// The set_property of a kind that is its table:
// `constexpr auto label_set_property = set_property_by<LABEL_TABLE>;`
template <const auto& TABLE>
bool set_property_by(Evas_Object* obj, _WidgetInfo* node, std::string)
{
    return set_properties(obj, node, TABLE);
}

// --- Pairs ---------------------------------------------------------------------
// Two integers a kind applies together after the walk, and only when both
// were given (a padding, a grid size, a load size): rows keep them with
// row::keep_int<&IntPair::first> and <&IntPair::second>.
struct IntPair {
    std::optional<int> first, second;
};

template <auto F>
void int_pair_after(Evas_Object* obj, IntPair& p)
{
    if (p.first && p.second)
        F(obj, *p.first, *p.second);
}

// --- Rows ----------------------------------------------------------------------
// One row per conversion. Setters take the converted value: row::set_int<F>
// calls F(obj, int converted to F's parameter type).
namespace row {

namespace detail {
template <class F>
struct value_arg;
template <class R, class O, class V>
struct value_arg<R (*)(O, V)> {
    using type = V;
};
template <auto F>
using value_of = typename value_arg<decltype(F)>::type;
} // namespace detail

// --- Setters on the widget ---------------------------------------------------
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
        F(obj, static_cast<detail::value_of<F>>(i));
}

template <auto F, class S>
void set_real(Evas_Object* obj, const std::string& v, S&)
{
    double d;
    if (prop_finite(obj, v, d))
        F(obj, static_cast<detail::value_of<F>>(d));
}

template <auto F, class S>
void set_color(Evas_Object* obj, const std::string& v, S&)
{
    int r, g, b;
    if (prop_color(v, r, g, b))
        F(obj, r, g, b);
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

// A file: the empty text passes null, which clears the file; a name that is
// no regular file is reported and not loaded. Works for setters with and
// without a trailing group argument.
template <auto F, class S>
void set_path(Evas_Object* obj, const std::string& v, S&)
{
    if (!v.empty() && !prop_file(obj, v))
        return;
    const char* path = v.empty() ? nullptr : v.c_str();
    if constexpr (std::is_invocable_v<decltype(F), Evas_Object*, const char*, const char*>)
        F(obj, path, nullptr);
    else
        F(obj, path);
}

template <class S>
void ignore(Evas_Object*, const std::string&, S&)
{
}

// --- Remembered values: state.*M ------------------------------------------
// M may name a member of a base of S, so shared schemes keep shared fields.
// A std::optional member tells "not given" from any value. The IDE sends a
// number it leaves out as its "none" marker NONE (-1; the map's coordinates
// -99999.0): in an optional member that marker is no value, also when the
// walk gave one before it. A plain member keeps whatever arrives.
namespace detail {
template <class T>
struct is_optional : std::false_type {};
template <class T>
struct is_optional<std::optional<T>> : std::true_type {};

template <auto M, auto NONE, class S, class V>
void keep_number(S& s, V value)
{
    if constexpr (is_optional<std::remove_reference_t<decltype(s.*M)>>::value) {
        if (value == NONE)
            s.*M = std::nullopt;
        else
            s.*M = value;
    } else {
        s.*M = value;
    }
}
} // namespace detail

template <auto M, class S>
void keep_bool(Evas_Object*, const std::string& v, S& s)
{
    bool b;
    if (prop_bool(v, b))
        s.*M = b;
}

template <auto M, class S, int NONE = -1>
void keep_int(Evas_Object*, const std::string& v, S& s)
{
    int i;
    if (prop_int(v, i))
        detail::keep_number<M, NONE>(s, i);
}

// The "not given" marker is a whole number: clang takes no double template
// argument.
template <auto M, class S, int NONE = -1>
void keep_real(Evas_Object* obj, const std::string& v, S& s)
{
    double d;
    if (prop_finite(obj, v, d))
        detail::keep_number<M, NONE>(s, d);
}

template <auto M, class S>
void keep_text(Evas_Object*, const std::string& v, S& s)
{
    s.*M = v;
}

template <auto M, class S>
void keep_text_skip_empty(Evas_Object*, const std::string& v, S& s)
{
    if (!v.empty())
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
