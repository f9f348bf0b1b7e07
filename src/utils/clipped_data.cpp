// The group class, to tell smart objects from the rest, is in the toolkit's
// object API only.
#define EFL_BETA_API_SUPPORT
#include "utils/clipped_data.h"

#include <cstdlib>
#include <cstring>

namespace {

const char* const KEY_ADOPTED = "clipped-data-adopted";

void free_copy(void* copy, const Efl_Event*)
{
    free(copy);
}

void adopt(Evas_Object* obj)
{
    const char* type = evas_object_type_get(obj);
    if (!type || strcmp(type, "edje") != 0 || evas_object_data_get(obj, KEY_ADOPTED))
        return;
    auto* block = static_cast<Evas_Object_Smart_Clipped_Data*>(evas_object_smart_data_get(obj));
    // Only the library's own clipper block; anything else is left alone.
    if (!block || !block->clipper || block->clipper != evas_object_smart_clipped_clipper_get(obj))
        return;
    auto* copy = static_cast<Evas_Object_Smart_Clipped_Data*>(malloc(sizeof(Evas_Object_Smart_Clipped_Data)));
    if (!copy)
        return;
    *copy = *block;
    // Frees the library's block; the copy is never freed by the library.
    evas_object_smart_data_set(obj, copy);
    evas_object_data_set(obj, KEY_ADOPTED, copy);
    efl_event_callback_add(obj, EFL_EVENT_DESTRUCT, free_copy, copy);
}

void adopt_tree(Evas_Object* root)
{
    // Asking a plain object for members logs an error with a backtrace.
    if (!efl_isa(root, EFL_CANVAS_GROUP_CLASS))
        return;
    adopt(root);
    Eina_List* members = evas_object_smart_members_get(root);
    void* member;
    EINA_LIST_FREE(members, member)
        adopt_tree(static_cast<Evas_Object*>(member));
}

} // namespace

void clipped_data_adopt_canvas(Evas* canvas)
{
    if (!canvas)
        return;
    for (Evas_Object* top = evas_object_bottom_get(canvas); top; top = evas_object_above_get(top))
        adopt_tree(top);
}
