#include "components/adapters/Adapter.h"
#include "components/adapters/widget_adapter/selector_shared.h"

namespace {

Elm_Object_Item* flipselector_append(Evas_Object* selector)
{
    return elm_flipselector_item_append(selector, "", nullptr, nullptr);
}

Evas_Object* flipselectoritem_add(Evas_Object* parent)
{
    return carrier_item_add(parent, "Elm_Flipselector", flipselector_append);
}

const Row<ItemState> FLIPSELECTORITEM_ROWS[] = {
    { "label", item_row::text },
    { "text", item_row::text },
    { "selected", item_row::set_bool<elm_flipselector_item_selected_set> },
};

constexpr PropertyTable<ItemState> FLIPSELECTORITEM_TABLE = item_table(FLIPSELECTORITEM_ROWS);

constexpr auto flipselectoritem_set_property = set_property_by<FLIPSELECTORITEM_TABLE>;

} // namespace

// remove_widget deletes the carrier only: the item stays in the selector
// until the selector itself goes.
extern const WidgetAdapter flipselectoritem_adapter = {
    .add = flipselectoritem_add,
    .remove = remove_widget,
    .set_property = flipselectoritem_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
