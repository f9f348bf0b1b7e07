#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/value_shared.h"

namespace {

using SliderRange = RangeFrom<0, 1>;

// Process-wide on purpose: a slider without "style"/"disable" gets the last stored.
DeferredStyleDisable slider_pending;

const Row<SliderRange> SLIDER_ROWS[] = {
    { "unit-format", row::set_format_skip_empty<elm_slider_unit_format_set> },
    { "indicator-format", row::set_format_skip_empty<elm_slider_indicator_format_set> },
    { "span-size", row::set_int<elm_slider_span_size_set> },
    { "horizontal", row::set_bool<elm_slider_horizontal_set> },
    { "min", row::range_min<elm_slider_min_max_set> },
    { "max", row::range_max<elm_slider_min_max_set> },
    { "value", row::set_real<elm_slider_value_set> },
    { "inverted", row::set_bool<elm_slider_inverted_set> },
    { "step", row::set_real<elm_slider_step_set> },
    { "show-indicator", row::set_bool<elm_slider_indicator_show_set> },
    { "show-indicator-on-focus", row::ignore },
    { "style", row::defer_style<&slider_pending> },
    { "disable", row::defer_disable<&slider_pending> },
};

constexpr auto SLIDER_TABLE
    = property_table(SLIDER_ROWS, { .after = range_after<SliderRange>, .deferred = &slider_pending });
constexpr auto slider_set_property = set_property_by<SLIDER_TABLE>;

} // namespace

extern const WidgetAdapter slider_adapter = {
    .add = elm_slider_add,
    .remove = remove_widget,
    .set_property = slider_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
