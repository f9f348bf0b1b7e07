#pragma once
// The one property set of the two scroller kinds ("efl.scroller" and
// "efl.circlescroller"): both are plain toolkit scrollers holding one child
// in their default content part (content_part_pack<nullptr>).
#include <Elementary.h>

#include <string>

#include "components/adapters/widget_info.h"

bool scroller_kind_set_property(Evas_Object* scroller, _WidgetInfo* node, std::string renderType);
