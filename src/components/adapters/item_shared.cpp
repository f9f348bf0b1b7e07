#include "components/adapters/item_shared.h"

#include <strings.h>

#include <cstring>

#include "components/adapters/Adapter.h"
#include "utils/efl_util.h"

Elm_Object_Item* node_item(const Evas_Object* node)
{
    return node ? static_cast<Elm_Object_Item*>(evas_object_data_get(node, KEY_WIDGETITEM)) : nullptr;
}

Evas_Object* node_container(const Evas_Object* node)
{
    return node ? static_cast<Evas_Object*>(evas_object_data_get(node, KEY_CONTAINER)) : nullptr;
}

bool item_parent_is(Evas_Object* parent, const char* toolkitType)
{
    const char* type = parent ? elm_object_widget_type_get(parent) : nullptr;
    if (type && strcasecmp(type, toolkitType) == 0)
        return true;
    std::string reason = std::string("its parent is not a ") + toolkitType + " widget";
    adapter_refuse_add(reason.c_str());
    return false;
}

namespace {

// The item whose view a tracking node follows, when it is not "widgetitem".
const char KEY_SHOWN_ITEM[] = "item-shown";

} // namespace

Evas_Object* item_track_node(Elm_Object_Item* item, Evas_Object* container)
{
    return item_track_node_shown(item, item, container);
}

Evas_Object* item_track_node_shown(Elm_Object_Item* item, Elm_Object_Item* shown, Evas_Object* container)
{
    if (!item) {
        adapter_refuse_add("the toolkit made no item");
        return nullptr;
    }
    Evas_Object* track = shown ? elm_object_item_track(shown) : nullptr;
    if (!track) {
        elm_object_item_del(item);
        adapter_refuse_add("the toolkit gave the item no tracking object");
        return nullptr;
    }
    evas_object_data_set(track, KEY_WIDGETITEM, item);
    if (shown != item)
        evas_object_data_set(track, KEY_SHOWN_ITEM, shown);
    if (container)
        evas_object_data_set(track, KEY_CONTAINER, container);
    return track;
}

bool item_track_node_remove(Evas_Object* track)
{
    if (!track)
        return false;
    efl_util_tag_text_del(track, KEY_WID);
    efl_util_tag_text_del(track, KEY_WIDGET_TYPE);
    evas_object_data_del(track, KEY_CONTAINER);
    auto* shown = static_cast<Elm_Object_Item*>(evas_object_data_del(track, KEY_SHOWN_ITEM));
    auto* item = static_cast<Elm_Object_Item*>(evas_object_data_del(track, KEY_WIDGETITEM));
    if (!item)
        return true;
    if (!shown)
        shown = item;
    // Untracking drops the last reference and deletes the tracking object;
    // it comes first, as a tracked item deleted by the toolkit unrefs its
    // tracking object once too often.
    while (elm_object_item_track_get(shown) > 0)
        elm_object_item_untrack(shown);
    elm_object_item_del(item);
    return true;
}

namespace {

void carrier_item_deleted(void* data, Evas_Object*, void*)
{
    auto* carrier = static_cast<Evas_Object*>(data);
    evas_object_data_del(carrier, KEY_WIDGETITEM);
    evas_object_data_del(carrier, KEY_ITEM_TRACK);
}

void unlink_item(Evas_Object* carrier)
{
    Elm_Object_Item* item = node_item(carrier);
    if (!item || elm_object_item_data_get(item) != carrier)
        return;
    elm_object_item_del_cb_set(item, nullptr);
    elm_object_item_data_set(item, nullptr);
}

void carrier_deleted(void*, Evas*, Evas_Object* carrier, void*)
{
    unlink_item(carrier);
}

void link_item(Evas_Object* carrier, Elm_Object_Item* item)
{
    evas_object_data_set(carrier, KEY_WIDGETITEM, item);
    if (!item)
        return;
    elm_object_item_data_set(item, carrier);
    elm_object_item_del_cb_set(item, carrier_item_deleted);
}

} // namespace

Evas_Object* item_carrier_add(Evas_Object* container, Elm_Object_Item* item, bool withContainer)
{
    if (!container)
        return nullptr;
    Evas_Object* carrier = elm_box_add(container);
    if (!carrier)
        return nullptr;
    if (withContainer)
        evas_object_data_set(carrier, KEY_CONTAINER, container);
    evas_object_event_callback_add(carrier, EVAS_CALLBACK_DEL, carrier_deleted, nullptr);
    link_item(carrier, item);
    return carrier;
}

void item_carrier_rebind(Evas_Object* carrier, Elm_Object_Item* item)
{
    if (!carrier)
        return;
    unlink_item(carrier);
    link_item(carrier, item);
}

void utf8_copy(char* dst, size_t size, const char* src)
{
    if (!dst || size == 0)
        return;
    size_t n = src ? strlen(src) : 0;
    if (n >= size) {
        n = size - 1;
        // Back up over continuation bytes to the start of the cut character.
        size_t start = n;
        while (start > 0 && (static_cast<unsigned char>(src[start]) & 0xC0) == 0x80)
            --start;
        n = start;
    }
    if (n)
        memcpy(dst, src, n);
    dst[n] = '\0';
}
