#include "components/adapters/widget_adapter/circle_shared.h"

Evas_Object* circle_datetime = nullptr;

CircleSurface* circle_surface_of(Evas_Object* parent)
{
    Evas_Object* top = parent ? elm_object_top_widget_get(parent) : nullptr;
    return top ? static_cast<CircleSurface*>(evas_object_data_get(top, "circle-surface")) : nullptr;
}

namespace {

void forget(void* data, Evas*, Evas_Object* obj, void*)
{
    auto** slot = static_cast<Evas_Object**>(data);
    if (*slot == obj)
        *slot = nullptr;
}

} // namespace

void circle_pointer_keep(Evas_Object** slot, Evas_Object* circle)
{
    if (*slot)
        evas_object_event_callback_del_full(*slot, EVAS_CALLBACK_DEL, forget, slot);
    *slot = circle;
    if (circle)
        evas_object_event_callback_add(circle, EVAS_CALLBACK_DEL, forget, slot);
}
