// The group class, to tell smart objects from the rest, is in the toolkit's
// object API only.
#define EFL_BETA_API_SUPPORT
#include "utils/clipped_data.h"

#include <cstdlib>

// Exported by the toolkit but left out of its installed headers.
extern "C" const Efl_Class* elm_pan_class_get(void);
extern "C" const Efl_Class* efl_ui_pan_class_get(void);
extern "C" const Efl_Class* efl_canvas_layout_class_get(void);
extern "C" const Efl_Class* evas_table_class_get(void);

namespace {

const char* const KEY_ADOPTED = "clipped-data-adopted";

void free_copy(void* copy, const Efl_Event*)
{
    free(copy);
}

// The classes whose smart data stays the library's clipper block. Boxes and
// grids are clipped too but put their own data in its place at once: their
// block is freed, and what is there now is not a clipper block.
bool keeps_library_block(Evas_Object* obj)
{
    return efl_isa(obj, efl_canvas_layout_class_get()) || efl_isa(obj, elm_pan_class_get())
        || efl_isa(obj, efl_ui_pan_class_get()) || efl_isa(obj, evas_table_class_get());
}

} // namespace

void clipped_data_adopt(Evas_Object* obj)
{
    if (!keeps_library_block(obj) || evas_object_data_get(obj, KEY_ADOPTED))
        return;
    auto* block = static_cast<Evas_Object_Smart_Clipped_Data*>(evas_object_smart_data_get(obj));
    // Only the library's own block: its canvas and a clipper that is a member
    // of the object. Anything else is left alone.
    if (!block || block->evas != evas_object_evas_get(obj) || !block->clipper
        || evas_object_smart_parent_get(block->clipper) != obj)
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

void clipped_data_adopt_tree(Evas_Object* root)
{
    // Asking a plain object for members logs an error with a backtrace.
    if (!efl_isa(root, EFL_CANVAS_GROUP_CLASS))
        return;
    clipped_data_adopt(root);
    Eina_List* members = evas_object_smart_members_get(root);
    void* member;
    EINA_LIST_FREE(members, member)
        clipped_data_adopt_tree(static_cast<Evas_Object*>(member));
}

bool clipped_data_adopted(const Evas_Object* obj)
{
    return obj && evas_object_data_get(obj, KEY_ADOPTED);
}

void clipped_data_adopt_canvas(Evas* canvas)
{
    if (!canvas)
        return;
    for (Evas_Object* top = evas_object_bottom_get(canvas); top; top = evas_object_above_get(top))
        clipped_data_adopt_tree(top);
}
