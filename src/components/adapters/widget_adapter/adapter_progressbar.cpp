#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/value_shared.h"

namespace {

// Process-wide on purpose: a bar without "disable" gets the last stored.
DeferredStyleDisable progressbar_pending;

const Row<NoState> PROGRESSBAR_ROWS[] = {
    { "horizontal", row::set_bool<elm_progressbar_horizontal_set> },
    { "pulse", row::set_bool<elm_progressbar_pulse_set> },
    { "value", row::set_real<elm_progressbar_value_set> },
    { "span-size", row::set_int<elm_progressbar_span_size_set> },
    { "format", row::set_format_also_empty<elm_progressbar_unit_format_set> },
    { "inverted", row::set_bool<elm_progressbar_inverted_set> },
    { "disable", row::defer_disable<&progressbar_pending> },
};

// Unlike the other deferred kinds but the check, any text but "true" enables.
constexpr auto PROGRESSBAR_TABLE = property_table(
    PROGRESSBAR_ROWS, { .deferred = &progressbar_pending, .disable = PendingDisable::TrueDisables });
constexpr auto progressbar_set_property = set_property_by<PROGRESSBAR_TABLE>;

} // namespace

extern const WidgetAdapter progressbar_adapter = {
    .add = elm_progressbar_add,
    .remove = remove_widget,
    .set_property = progressbar_set_property,
    .pack = progressbar_packed,
    .unpack = progressbar_unpacked,
};
