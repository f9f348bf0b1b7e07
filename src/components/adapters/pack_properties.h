#pragma once
#include "components/adapters/widget_info.h"

// The packing properties a child carries for its table or grid.
struct PackArea {
    int left, top, width, height;
};

// Reads "pack-left", "pack-top", "pack-width", "pack-height" as integers;
// an absent or empty one gets its `absent` value.
PackArea read_pack_area(const _WidgetInfo* child, int absentPosition, int absentSize);
