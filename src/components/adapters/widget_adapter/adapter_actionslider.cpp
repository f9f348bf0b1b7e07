#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"

namespace {

// Values are the toolkit's position bits, passed through unchanged.
const Row<NoState> ACTIONSLIDER_ROWS[] = {
    { "indicator-pos", row::set_int<elm_actionslider_indicator_pos_set> },
    { "magnet-pos", row::set_int<elm_actionslider_magnet_pos_set> },
    { "enabled-pos", row::set_int<elm_actionslider_enabled_pos_set> },
};

constexpr auto ACTIONSLIDER_TABLE = property_table(ACTIONSLIDER_ROWS);
constexpr auto actionslider_set_property = set_property_by<ACTIONSLIDER_TABLE>;

} // namespace

extern const WidgetAdapter actionslider_adapter = {
    .add = elm_actionslider_add,
    .remove = remove_widget,
    .set_property = actionslider_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
