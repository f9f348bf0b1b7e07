#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/basic_shared.h"

namespace {

// Process-wide on purpose: a button node without "style"/"disable" gets the
// values the last button carrying them asked for.
DeferredStyleDisable button_pending;

const Row<NoState> BUTTON_ROWS[] = {
    { "autorepeat", row::set_bool<elm_button_autorepeat_set> },
    { "autorepeat_initial_timeout", row::set_real<elm_button_autorepeat_initial_timeout_set> },
    { "autorepeat_gap_timeout", row::set_real<elm_button_autorepeat_gap_timeout_set> },
    { "style", row::defer_style<&button_pending> },
    { "disable", row::defer_disable<&button_pending> },
};

constexpr auto BUTTON_TABLE = property_table(BUTTON_ROWS, { .deferred = &button_pending });
constexpr auto button_set_property = set_property_by<BUTTON_TABLE>;

constexpr auto button_packed = icon_part_pack;
constexpr auto button_unpacked = icon_part_unpack;

} // namespace

extern const WidgetAdapter button_adapter = {
    .add = elm_button_add,
    .remove = remove_widget,
    .set_property = button_set_property,
    .pack = button_packed,
    .unpack = button_unpacked,
};
