#include <optional>

#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/circle_shared.h"
#include "components/adapters/widget_adapter/value_shared.h"

namespace {

// The range is remembered per node and set again after every property once
// both ends are known.
struct BarRange {
    std::optional<double> min, max;
};

const Row<BarRange> CIRCLE_PROGRESSBAR_ROWS[] = {
    { "horizontal", row::set_bool<elm_progressbar_horizontal_set> },
    { "pulse", row::set_bool<elm_progressbar_pulse_set> },
    { "value", row::set_real<eext_circle_object_value_set> },
    { "span-size", row::set_int<elm_progressbar_span_size_set> },
    { "format", row::set_format_also_empty<elm_progressbar_unit_format_set> },
    { "inverted", row::set_bool<elm_progressbar_inverted_set> },
    { "min", row::keep_real<&BarRange::min> },
    { "max", row::keep_real<&BarRange::max> },
    { "disable", row::set_bool<eext_circle_object_disabled_set> },
};

void circle_progressbar_range(Evas_Object* bar, BarRange& r)
{
    if (r.min && r.max)
        eext_circle_object_value_min_max_set(bar, *r.min, *r.max);
}

void circle_progressbar_after(Evas_Object* bar, BarRange& r)
{
    if (r.min && r.max && *r.min > *r.max)
        node_diag(bar, "minimum %g above maximum %g; range not applied", *r.min, *r.max);
}

constexpr auto CIRCLE_PROGRESSBAR_TABLE = property_table(
    CIRCLE_PROGRESSBAR_ROWS, { .after = circle_progressbar_after, .each = circle_progressbar_range });
constexpr auto circle_progressbar_set_property = set_property_by<CIRCLE_PROGRESSBAR_TABLE>;

Evas_Object* circle_progressbar_add(Evas_Object* parent)
{
    if (!parent)
        return nullptr;
    return eext_circle_object_progressbar_add(parent, circle_surface_of(parent));
}

} // namespace

extern const WidgetAdapter circle_progressbar_adapter = {
    .add = circle_progressbar_add,
    .remove = remove_widget,
    .set_property = circle_progressbar_set_property,
    .pack = progressbar_packed,
    .unpack = progressbar_unpacked,
};
