#pragma once
#include <Elementary.h>

#include "components/adapters/widget_info.h"

// The "icon" part of button-like widgets holds their one child. A second
// child replaces (and the toolkit deletes) the first.
bool icon_part_pack(Evas_Object* container, Evas_Object* child, _WidgetInfo* childNode);
bool icon_part_unpack(Evas_Object* container, Evas_Object* child, _WidgetInfo* childNode);
