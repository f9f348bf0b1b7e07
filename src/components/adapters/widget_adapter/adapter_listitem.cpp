#include "components/adapters/Adapter.h"
#include "components/adapters/item_shared.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/list_shared.h"

namespace {

void listitem_text(Evas_Object* track, const std::string& v, NoState&)
{
    Elm_Object_Item* item = node_item(track);
    if (item && !v.empty())
        elm_object_item_part_text_set(item, nullptr, v.c_str());
}

const Row<NoState> LISTITEM_ROWS[] = {
    { "label", listitem_text },
    { "text", listitem_text },
    { "selected", item_bool<elm_list_item_selected_set, NoState> },
    { "separator", item_bool<elm_list_item_separator_set, NoState> },
};

constexpr PropertyTable<NoState> LISTITEM_TABLE
    = property_table(LISTITEM_ROWS, { .unknown = UnknownNames::Ignore, .before = item_present<NoState> });

// The list lays its items out only when told to, so every item node asks,
// with or without properties of its own.
bool listitem_set_property(Evas_Object* track, _WidgetInfo* node, std::string)
{
    if (!set_properties(track, node, LISTITEM_TABLE))
        return false;
    if (Evas_Object* list = node_container(track))
        elm_list_go(list);
    return true;
}

Evas_Object* listitem_add(Evas_Object* list)
{
    if (!item_parent_is(list, "Elm_List"))
        return nullptr;
    return item_track_node(elm_list_item_append(list, nullptr, nullptr, nullptr, nullptr, nullptr), list);
}

// A child of a list item is its start icon, kept square.
bool listitem_packed(Evas_Object* track, Evas_Object* child, _WidgetInfo*)
{
    Elm_Object_Item* item = node_item(track);
    if (!item || !child)
        return false;
    evas_object_size_hint_aspect_set(child, EVAS_ASPECT_CONTROL_VERTICAL, 1, 1);
    elm_object_item_part_content_set(item, "start", child);
    return true;
}

bool listitem_unpacked(Evas_Object* track, Evas_Object*, _WidgetInfo*)
{
    Elm_Object_Item* item = node_item(track);
    if (!item)
        return false;
    elm_object_item_part_content_unset(item, "start");
    return true;
}

} // namespace

extern const WidgetAdapter listitem_adapter = {
    .add = listitem_add,
    .remove = item_track_node_remove,
    .set_property = listitem_set_property,
    .pack = listitem_packed,
    .unpack = listitem_unpacked,
};
