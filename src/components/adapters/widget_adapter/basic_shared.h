#pragma once
#include <Elementary.h>

#include "components/adapters/widget_info.h"

// The "icon" part of button-like widgets holds their one child. A second
// child replaces (and the toolkit deletes) the first.
bool icon_part_pack(Evas_Object* container, Evas_Object* child, _WidgetInfo* childNode);
bool icon_part_unpack(Evas_Object* container, Evas_Object* child, _WidgetInfo* childNode);

// `add` of the image kinds: a null parent gives null; preloading is left on.
template <Evas_Object* (*Add)(Evas_Object*)>
Evas_Object* image_kind_add(Evas_Object* parent)
{
    if (!parent)
        return nullptr;
    Evas_Object* obj = Add(parent);
    elm_image_preload_disabled_set(obj, EINA_FALSE);
    return obj;
}
