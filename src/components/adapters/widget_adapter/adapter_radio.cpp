#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/basic_shared.h"

namespace {

// Process-wide on purpose: a radio node without "disable" gets the value the
// last radio carrying it asked for.
DeferredStyleDisable radio_pending;

const Row<NoState> RADIO_ROWS[] = {
    { "value", row::set_int<elm_radio_value_set> },
    { "state-value", row::set_int<elm_radio_state_value_set> },
    { "disable", row::defer_disable<&radio_pending> },
};

constexpr auto RADIO_TABLE = property_table(RADIO_ROWS, { .deferred = &radio_pending });
constexpr auto radio_set_property = set_property_by<RADIO_TABLE>;

constexpr auto radio_packed = icon_part_pack;
constexpr auto radio_unpacked = icon_part_unpack;

} // namespace

extern const WidgetAdapter radio_adapter = {
    .add = elm_radio_add,
    .remove = remove_widget,
    .set_property = radio_set_property,
    .pack = radio_packed,
    .unpack = radio_unpacked,
};
