#include "components/adapters/Adapter.h"
#include "components/adapters/item_shared.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/list_shared.h"

namespace {

using S = GenlistItemShape;

template <char (ItemRecord::*FIELD)[ITEM_TEXT_SIZE]>
constexpr RowApply<S> text_row = record_text<FIELD, elm_genlist_item_update, S>;

const Row<S> GENLISTITEM_ROWS[] = {
    { "label", text_row<&ItemRecord::text> },
    { "text", text_row<&ItemRecord::text> },
    { "sub-label", text_row<&ItemRecord::sub> },
    { "end-standard-icon", text_row<&ItemRecord::endName> },
    { "end-image-path", text_row<&ItemRecord::endFile> },
    { "standard-icon", text_row<&ItemRecord::iconName> },
    { "image-path", text_row<&ItemRecord::iconFile> },
    { "selected", row::keep_bool<&S::selected, S> },
    { "item-type", row::keep_int<&S::type, S> },
    { "style", row::keep_text<&S::style, S> },
};

constexpr PropertyTable<S> GENLISTITEM_TABLE = property_table(GENLISTITEM_ROWS, UnknownNames::Ignore);

// The item is made once the properties are walked, also when there are none.
bool genlistitem_set_property(Evas_Object* carrier, _WidgetInfo* node, std::string)
{
    S shape;
    if (!set_properties(carrier, node, GENLISTITEM_TABLE, shape))
        return false;
    carrier_hide(carrier);
    return genlist_item_place(carrier, genlist_item_classes(), shape);
}

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
