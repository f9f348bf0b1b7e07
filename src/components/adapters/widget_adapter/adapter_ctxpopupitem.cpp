#include <cstring>

#include "components/adapters/Adapter.h"
#include "components/adapters/widget_adapter/selector_shared.h"

namespace {

// The popup draws its items as rows of an inner list; the popup's own items
// have no view of their own to follow, the rows do. The new item's row is
// the list's last one.
Elm_Object_Item* ctxpopup_last_row(Evas_Object* popup)
{
    Evas_Object* list = elm_object_content_get(popup);
    const char* type = list ? elm_object_widget_type_get(list) : nullptr;
    if (!type || strcmp(type, "Elm_List") != 0)
        return nullptr;
    return elm_list_last_item_get(list);
}

// A context popup shown while it has no content ignores the show and stays
// undrawn; the render command shows it before its items exist. With its
// first item it has content, so it is shown again.
void ctxpopup_reshow_with_first_item(Evas_Object* popup)
{
    if (!evas_object_visible_get(popup) || eina_list_count(elm_ctxpopup_items_get(popup)) != 1)
        return;
    evas_object_hide(popup);
    evas_object_show(popup);
}

Evas_Object* ctxpopupitem_add(Evas_Object* parent)
{
    if (!item_parent_is(parent, "Elm_Ctxpopup"))
        return nullptr;
    Elm_Object_Item* item = elm_ctxpopup_item_append(parent, "ctxpopupitem", nullptr, nullptr, nullptr);
    ctxpopup_reshow_with_first_item(parent);
    // Down first; the other directions left to the toolkit.
    elm_ctxpopup_direction_priority_set(parent, ELM_CTXPOPUP_DIRECTION_DOWN, ELM_CTXPOPUP_DIRECTION_UNKNOWN,
                                        ELM_CTXPOPUP_DIRECTION_UNKNOWN, ELM_CTXPOPUP_DIRECTION_UNKNOWN);
    return item_track_node_shown(item, item ? ctxpopup_last_row(parent) : nullptr, parent);
}

constexpr auto ctxpopupitem_set_property = set_property_by<ITEM_TEXT_TABLE>;
constexpr auto ctxpopupitem_remove = item_track_node_remove;
constexpr auto ctxpopupitem_packed = item_icon_packed<true>;
constexpr auto ctxpopupitem_unpacked = item_icon_unpacked;

} // namespace

extern const WidgetAdapter ctxpopupitem_adapter = {
    .add = ctxpopupitem_add,
    .remove = ctxpopupitem_remove,
    .set_property = ctxpopupitem_set_property,
    .pack = ctxpopupitem_packed,
    .unpack = ctxpopupitem_unpacked,
};
