#include "components/adapters/Adapter.h"
#include "components/adapters/item_shared.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/list_shared.h"

namespace {

// "item-type" 1 and 2 re-create the item as a tree or group item in place;
// other numbers change nothing.
void genlistitem_type(Evas_Object* carrier, const std::string& v, NoState&)
{
    int type;
    Elm_Object_Item* item = node_item(carrier);
    if (!item || !prop_int(v, type) || (type != ELM_GENLIST_ITEM_TREE && type != ELM_GENLIST_ITEM_GROUP))
        return;
    genlist_item_recreate(carrier, elm_genlist_item_item_class_get(item), elm_genlist_item_parent_get(item),
                          static_cast<Elm_Genlist_Item_Type>(type));
}

void genlistitem_style(Evas_Object* carrier, const std::string& v, NoState&)
{
    genlist_item_restyle(carrier, genlist_item_classes(), v);
}

template <char (ItemRecord::*FIELD)[ITEM_TEXT_SIZE]>
constexpr RowApply<NoState> text_row = record_text<FIELD, elm_genlist_item_update, NoState>;

const Row<NoState> GENLISTITEM_ROWS[] = {
    { "label", text_row<&ItemRecord::text> },
    { "text", text_row<&ItemRecord::text> },
    { "sub-label", text_row<&ItemRecord::sub> },
    { "end-standard-icon", text_row<&ItemRecord::endName> },
    { "end-image-path", text_row<&ItemRecord::endFile> },
    { "standard-icon", text_row<&ItemRecord::iconName> },
    { "image-path", text_row<&ItemRecord::iconFile> },
    { "selected", item_bool<elm_genlist_item_selected_set, NoState> },
    { "item-type", genlistitem_type },
    { "style", genlistitem_style },
};

constexpr PropertyTable<NoState> GENLISTITEM_TABLE
    = property_table(GENLISTITEM_ROWS, UnknownNames::Ignore, item_present<NoState>);

bool genlistitem_set_property(Evas_Object* carrier, _WidgetInfo* node, std::string)
{
    return set_properties(carrier, node, GENLISTITEM_TABLE);
}

// Under a genlist: a top-level item. Under another genlist item's carrier:
// a tree child of that item, in the same genlist.
Evas_Object* genlistitem_add(Evas_Object* parent)
{
    if (widget_is(parent, "Elm_Genlist"))
        return genlist_item_add_to(parent, parent, nullptr, genlist_item_classes());
    Elm_Object_Item* parentItem = node_item(parent);
    Evas_Object* genlist = node_container(parent);
    if (!parentItem || !widget_is(genlist, "Elm_Genlist") || elm_object_item_widget_get(parentItem) != genlist) {
        adapter_refuse_add("its parent is neither a genlist nor a genlist item that has its item");
        return nullptr;
    }
    return genlist_item_add_to(parent, genlist, parentItem, genlist_item_classes());
}

} // namespace

extern const WidgetAdapter genlistitem_adapter = {
    .add = genlistitem_add,
    .remove = carrier_remove,
    .set_property = genlistitem_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
