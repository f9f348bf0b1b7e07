#include <algorithm>
#include <vector>

#include "components/adapters/Adapter.h"
#include "components/adapters/item_shared.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/list_shared.h"

namespace {

// The carriers of all live index items, in creation order. A carrier leaves
// the list when it is deleted, also with its index widget.
std::vector<Evas_Object*> index_item_list;

void carrier_deleted(void*, Evas*, Evas_Object* carrier, void*) { std::erase(index_item_list, carrier); }

// Levelling gives an index's items new views (and drops the old ones with
// their tracking objects); the items of this index are tracked again.
void index_level(Evas_Object* index)
{
    elm_index_level_go(index, 0);
    for (Evas_Object* carrier : index_item_list)
        if (node_container(carrier) == index)
            carrier_track(carrier, node_item(carrier));
}

// The letter is fixed when an item is made: a new letter, also an empty
// one, means a new item at the end of the index.
void indexitem_letter(Evas_Object* carrier, const std::string& v, NoState&)
{
    Evas_Object* index = node_container(carrier);
    Elm_Object_Item* old = node_item(carrier);
    if (!index || !old)
        return;
    elm_object_item_del(old);
    Elm_Object_Item* item = elm_index_item_append(index, v.c_str(), nullptr, nullptr);
    item_carrier_rebind(carrier, item);
    if (!item)
        node_diag(carrier, "the toolkit did not re-create the index item; the node has no item now");
}

void indexitem_level(Evas_Object* carrier, NoState&)
{
    if (Evas_Object* index = node_container(carrier))
        index_level(index);
}

const Row<NoState> INDEXITEM_ROWS[] = {
    { "label", indexitem_letter },
    { "text", indexitem_letter },
    { "selected", item_bool<elm_index_item_selected_set, NoState> },
};

constexpr PropertyTable<NoState> INDEXITEM_TABLE
    = property_table(INDEXITEM_ROWS,
                     { .unknown = UnknownNames::Ignore, .before = item_present<NoState>, .after = indexitem_level });

constexpr auto indexitem_set_property = set_property_by<INDEXITEM_TABLE>;

Evas_Object* indexitem_add(Evas_Object* index)
{
    if (!item_parent_is(index, "Elm_Index"))
        return nullptr;
    Elm_Object_Item* item = elm_index_item_append(index, nullptr, nullptr, nullptr);
    if (!item) {
        adapter_refuse_add("the toolkit made no index item");
        return nullptr;
    }
    Evas_Object* carrier = item_carrier_add(index, item, true);
    if (!carrier) {
        elm_object_item_del(item);
        adapter_refuse_add("the toolkit made no carrier box");
        return nullptr;
    }
    carrier_forget_track_on_del(carrier);
    evas_object_event_callback_add(carrier, EVAS_CALLBACK_DEL, carrier_deleted, nullptr);
    index_item_list.push_back(carrier);
    return carrier;
}

} // namespace

extern const WidgetAdapter indexitem_adapter = {
    .add = indexitem_add,
    .remove = carrier_remove,
    .set_property = indexitem_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
