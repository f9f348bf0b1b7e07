#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/value_shared.h"

namespace {

using SpinnerRange = RangeFrom<0, 100>;

// Process-wide on purpose: a spinner without "style"/"disable" gets the last stored.
DeferredStyleDisable spinner_pending;

const Row<SpinnerRange> SPINNER_ROWS[] = {
    { "label-format", row::set_format_skip_empty<elm_spinner_label_format_set> },
    { "min", row::range_min<elm_spinner_min_max_set> },
    { "max", row::range_max<elm_spinner_min_max_set> },
    { "step", row::set_real<elm_spinner_step_set> },
    { "value", row::set_real<elm_spinner_value_set> },
    { "wrap", row::set_bool<elm_spinner_wrap_set> },
    { "editable", row::set_bool<elm_spinner_editable_set> },
    { "interval", row::set_real<elm_spinner_interval_set> },
    { "base", row::set_real<elm_spinner_base_set> },
    { "round", row::set_int<elm_spinner_round_set> },
    { "style", row::defer_style<&spinner_pending> },
    { "disable", row::defer_disable<&spinner_pending> },
};

constexpr auto SPINNER_TABLE
    = property_table(SPINNER_ROWS, { .after = range_after<SpinnerRange>, .deferred = &spinner_pending });
constexpr auto spinner_set_property = set_property_by<SPINNER_TABLE>;

} // namespace

extern const WidgetAdapter spinner_adapter = {
    .add = elm_spinner_add,
    .remove = remove_widget,
    .set_property = spinner_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
