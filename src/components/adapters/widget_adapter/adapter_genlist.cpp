#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/list_shared.h"

namespace {

using S = ScrollerScheme;

constexpr auto GENLIST_ROWS = genlist_rows(Row<S> { "style", row::set_text_skip_empty<elm_object_style_set, S> });
constexpr PropertyTable<S> GENLIST_TABLE = genlist_table(GENLIST_ROWS);

constexpr auto genlist_set_property = set_property_by<GENLIST_TABLE>;

constexpr auto genlist_add = tracked_list_add<elm_genlist_add>;
constexpr auto genlist_remove = class_list_remove<genlist_item_classes>;

} // namespace

extern const WidgetAdapter genlist_adapter = {
    .add = genlist_add,
    .remove = genlist_remove,
    .set_property = genlist_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
