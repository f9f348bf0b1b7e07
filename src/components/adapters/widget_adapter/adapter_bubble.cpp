#include <cstring>

#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"

namespace {

void bubble_info_text(Evas_Object* bubble, const char* text)
{
    elm_object_part_text_set(bubble, "info", text);
}

const Row<NoState> BUBBLE_ROWS[] = {
    { "pos", row::set_int<elm_bubble_pos_set> },
    { "bubble-text", row::set_text_skip_empty<bubble_info_text> },
};

constexpr auto BUBBLE_TABLE = property_table(BUBBLE_ROWS);
constexpr auto bubble_set_property = set_property_by<BUBBLE_TABLE>;

// Where a child goes: icons to "icon", labels to the default content; any
// other kind has no place in a bubble.
enum class BubbleSlot { Icon, Content, None };

BubbleSlot bubble_slot_of(Evas_Object* child)
{
    const char* type = elm_object_widget_type_get(child);
    if (type && strcmp(type, "Elm_Icon") == 0)
        return BubbleSlot::Icon;
    if (type && strcmp(type, "Elm_Label") == 0)
        return BubbleSlot::Content;
    return BubbleSlot::None;
}

bool bubble_pack(Evas_Object* bubble, Evas_Object* child, _WidgetInfo*)
{
    if (!bubble || !child)
        return false;
    switch (bubble_slot_of(child)) {
    case BubbleSlot::Icon:
        elm_object_part_content_set(bubble, "icon", child);
        break;
    case BubbleSlot::Content:
        elm_object_content_set(bubble, child);
        break;
    case BubbleSlot::None:
        break;
    }
    return true;
}

bool bubble_unpack(Evas_Object* bubble, Evas_Object* child, _WidgetInfo*)
{
    if (!bubble || !child)
        return false;
    switch (bubble_slot_of(child)) {
    case BubbleSlot::Icon:
        elm_object_part_content_unset(bubble, "icon");
        break;
    case BubbleSlot::Content:
        elm_object_content_unset(bubble);
        break;
    case BubbleSlot::None:
        break;
    }
    return true;
}

} // namespace

extern const WidgetAdapter bubble_adapter = {
    .add = elm_bubble_add,
    .remove = remove_widget,
    .set_property = bubble_set_property,
    .pack = bubble_pack,
    .unpack = bubble_unpack,
};
