#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"

namespace {

const Row<NoState> INDEX_ROWS[] = {
    { "autohide-disabled", row::set_bool<elm_index_autohide_disabled_set, NoState> },
    { "indicator-disabled", row::set_bool<elm_index_indicator_disabled_set, NoState> },
    { "horizontal", row::set_bool<elm_index_horizontal_set, NoState> },
};

constexpr PropertyTable<NoState> INDEX_TABLE = property_table(INDEX_ROWS);

constexpr auto index_set_property = set_property_by<INDEX_TABLE>;

} // namespace

// The index emits no "realized" signals: its items get their views when it
// levels them, which the index item adapter follows (adapter_indexitem.cpp).
extern const WidgetAdapter index_adapter = {
    .add = elm_index_add,
    .remove = remove_widget,
    .set_property = index_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
