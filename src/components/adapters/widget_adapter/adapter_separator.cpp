#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"

namespace {

const Row<NoState> SEPARATOR_ROWS[] = {
    { "horizontal", row::set_bool<elm_separator_horizontal_set> },
};

constexpr auto SEPARATOR_TABLE = property_table(SEPARATOR_ROWS);
constexpr auto separator_set_property = set_property_by<SEPARATOR_TABLE>;

} // namespace

extern const WidgetAdapter separator_adapter = {
    .add = elm_separator_add,
    .remove = remove_widget,
    .set_property = separator_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
