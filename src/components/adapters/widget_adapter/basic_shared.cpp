#include "components/adapters/widget_adapter/basic_shared.h"

bool icon_part_pack(Evas_Object* container, Evas_Object* child, _WidgetInfo*)
{
    if (!container || !child)
        return false;
    elm_object_part_content_set(container, "icon", child);
    return true;
}

bool icon_part_unpack(Evas_Object* container, Evas_Object*, _WidgetInfo*)
{
    if (!container)
        return false;
    elm_object_part_content_unset(container, "icon");
    return true;
}
