#include "components/adapters/Adapter.h"
#include "components/adapters/widget_adapter/selector_shared.h"

namespace {

Elm_Object_Item* multibuttonentry_append(Evas_Object* entry)
{
    return elm_multibuttonentry_item_append(entry, "test", nullptr, nullptr);
}

Evas_Object* multibuttonentryitem_add(Evas_Object* parent)
{
    Evas_Object* node = track_item_add(parent, "Elm_Multibuttonentry", multibuttonentry_append);
    if (node)
        multibuttonentry_apply_pending_disable(parent);
    return node;
}

const Row<ItemState> MULTIBUTTONENTRYITEM_ROWS[] = {
    { "label", item_row::text },
    { "text", item_row::text },
    { "selected", item_row::set_bool<elm_multibuttonentry_item_selected_set> },
};

constexpr PropertyTable<ItemState> MULTIBUTTONENTRYITEM_TABLE = item_table(MULTIBUTTONENTRYITEM_ROWS);

constexpr auto multibuttonentryitem_set_property = set_property_by<MULTIBUTTONENTRYITEM_TABLE>;

constexpr auto multibuttonentryitem_remove = item_track_node_remove;

} // namespace

extern const WidgetAdapter multibuttonentryitem_adapter = {
    .add = multibuttonentryitem_add,
    .remove = multibuttonentryitem_remove,
    .set_property = multibuttonentryitem_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
