#include "components/adapters/Adapter.h"
#include "components/adapters/item_shared.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/list_shared.h"

namespace {

using S = GenlistItemShape;

constexpr auto GENLISTITEM_ROWS = genlist_item_rows(Row<S> { "item-type", row::keep_int<&S::type, S> });
constexpr PropertyTable<S> GENLISTITEM_TABLE = genlist_item_table(GENLISTITEM_ROWS);
// The item is made once the properties are walked, also when there are none.
constexpr auto genlistitem_set_property = genlist_item_set_property<GENLISTITEM_TABLE, genlist_item_classes>;

// Under a genlist: a top-level item. Under another genlist item's carrier:
// a tree child of that item, in the same genlist.
Evas_Object* genlistitem_add(Evas_Object* parent)
{
    if (widget_is(parent, "Elm_Genlist"))
        return genlist_item_carrier_add(parent, nullptr);
    Elm_Object_Item* parentItem = node_item(parent);
    Evas_Object* genlist = node_container(parent);
    if (!parentItem || !widget_is(genlist, "Elm_Genlist") || elm_object_item_widget_get(parentItem) != genlist) {
        adapter_refuse_add("its parent is neither a genlist nor a genlist item that has its item");
        return nullptr;
    }
    return genlist_item_carrier_add(genlist, parentItem);
}

} // namespace

extern const WidgetAdapter genlistitem_adapter = {
    .add = genlistitem_add,
    .remove = record_carrier_remove,
    .set_property = genlistitem_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
