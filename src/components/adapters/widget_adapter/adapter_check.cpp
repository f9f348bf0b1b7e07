#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/basic_shared.h"

namespace {

// Process-wide on purpose: a check node without "disable" gets the value the
// last check carrying it asked for.
DeferredStyleDisable check_pending;

const Row<NoState> CHECK_ROWS[] = {
    { "state", row::set_bool<elm_check_state_set> },
    { "disable", row::defer_disable<&check_pending> },
};

// Unlike button and radio, any text but "true" (empty included) enables.
constexpr auto CHECK_TABLE
    = property_table(CHECK_ROWS, { .deferred = &check_pending, .disable = PendingDisable::TrueDisables });
constexpr auto check_set_property = set_property_by<CHECK_TABLE>;

constexpr auto check_packed = icon_part_pack;
constexpr auto check_unpacked = icon_part_unpack;

} // namespace

extern const WidgetAdapter check_adapter = {
    .add = elm_check_add,
    .remove = remove_widget,
    .set_property = check_set_property,
    .pack = check_packed,
    .unpack = check_unpacked,
};
