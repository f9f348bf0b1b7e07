#include <cstdlib>
#include <cstring>

#include "components/adapters/Adapter.h"
#include "utils/clipped_data.h"
#include "utils/efl_util.h"
#include "utils/window_canvas.h"

namespace {

const char* const OWNED_TEXT_KEYS[] = { "wid", "widget-type", "align-x", "align-y", "weight-x", "weight-y" };
const char* const OWNED_MARK = "owned-texts";

void free_owned_texts(void*, Evas*, Evas_Object* obj, void*)
{
    for (const char* key : OWNED_TEXT_KEYS)
        free(evas_object_data_del(obj, key));
}

bool is_owned_key(const char* key)
{
    for (const char* owned : OWNED_TEXT_KEYS)
        if (strcmp(owned, key) == 0)
            return true;
    return false;
}

Eina_List* list_of(const Evas_Object* owner, const char* key)
{
    return static_cast<Eina_List*>(evas_object_data_get(owner, key));
}

template <const char* KEY>
void member_deleted(void* owner, Evas*, Evas_Object* member, void*)
{
    auto* o = static_cast<Evas_Object*>(owner);
    evas_object_data_set(o, KEY, eina_list_remove(list_of(o, KEY), member));
}

Evas_Object_Event_Cb member_callback(const char* key)
{
    if (strcmp(key, KEY_CHILDREN) == 0)
        return member_deleted<KEY_CHILDREN>;
    if (strcmp(key, KEY_PLACEHOLDER) == 0)
        return member_deleted<KEY_PLACEHOLDER>;
    return nullptr;
}

const char* const TRACKED_KEYS[] = { KEY_CHILDREN, KEY_PLACEHOLDER };
const char* const TRACKED_MARK = "tracked-lists";

// The owner going away first must not leave members pointing back at it.
void owner_deleted(void*, Evas*, Evas_Object* owner, void*)
{
    for (const char* key : TRACKED_KEYS) {
        Eina_List* list = static_cast<Eina_List*>(evas_object_data_del(owner, key));
        void* member;
        EINA_LIST_FREE(list, member)
            evas_object_event_callback_del_full(static_cast<Evas_Object*>(member), EVAS_CALLBACK_DEL,
                                                 member_callback(key), owner);
    }
}

} // namespace

void efl_util_tag_text(Evas_Object* obj, const char* key, const char* text)
{
    if (!obj || !key || !is_owned_key(key))
        return;
    if (!evas_object_data_get(obj, OWNED_MARK)) {
        evas_object_data_set(obj, OWNED_MARK, obj);
        evas_object_event_callback_add(obj, EVAS_CALLBACK_DEL, free_owned_texts, nullptr);
    }
    free(evas_object_data_del(obj, key));
    evas_object_data_set(obj, key, strdup(text ? text : ""));
}

void efl_util_tag_text_del(Evas_Object* obj, const char* key)
{
    if (obj && key)
        free(evas_object_data_del(obj, key));
}

namespace {

void list_insert(Evas_Object* owner, const char* key, Evas_Object* member, bool front)
{
    Evas_Object_Event_Cb cb = member_callback(key);
    if (!owner || !member || !cb)
        return;
    if (!evas_object_data_get(owner, TRACKED_MARK)) {
        evas_object_data_set(owner, TRACKED_MARK, owner);
        evas_object_event_callback_add(owner, EVAS_CALLBACK_DEL, owner_deleted, nullptr);
    }
    Eina_List* list = list_of(owner, key);
    evas_object_data_set(owner, key, front ? eina_list_prepend(list, member) : eina_list_append(list, member));
    evas_object_event_callback_add(member, EVAS_CALLBACK_DEL, cb, owner);
}

} // namespace

void efl_util_list_append(Evas_Object* owner, const char* key, Evas_Object* member)
{
    list_insert(owner, key, member, false);
}

void efl_util_list_prepend(Evas_Object* owner, const char* key, Evas_Object* member)
{
    list_insert(owner, key, member, true);
}

Evas_Object* efl_util_list_pop_front(Evas_Object* owner, const char* key)
{
    Eina_List* list = list_of(owner, key);
    if (!list)
        return nullptr;
    auto* member = static_cast<Evas_Object*>(eina_list_data_get(list));
    evas_object_data_set(owner, key, eina_list_remove_list(list, list));
    evas_object_event_callback_del_full(member, EVAS_CALLBACK_DEL, member_callback(key), owner);
    return member;
}

const Eina_List* efl_util_list_get(const Evas_Object* owner, const char* key)
{
    return owner ? list_of(owner, key) : nullptr;
}

namespace {

void free_node(Evas_Object* obj)
{
    while (Evas_Object* child = efl_util_list_pop_front(obj, KEY_CHILDREN))
        free_node(child);
    // An object no render built, or one already removed, is left as it is.
    if (const WidgetAdapter* adapter = adapter_detach(obj))
        adapter->remove(obj);
}

} // namespace

void free_evas_object(Evas_Object* obj)
{
    if (!obj)
        return;
    // Unbatched, each removed widget relays out what is left of the page:
    // 1.2 s instead of 55 ms for 500 widgets.
    RenderBatch batch(obj);
    // The toolkit's own objects of the page (theme parts, popups' frames) are
    // not all below it in the canvas: the whole canvas is handed over.
    clipped_data_adopt_canvas(evas_object_evas_get(obj));
    free_node(obj);
}
