#include "components/adapters/widget_adapter/selector_shared.h"

#include <sys/stat.h>

#include <algorithm>

#include <cstdlib>

#include "components/adapters/Adapter.h"

Evas_Object* carrier_item_add(Evas_Object* parent, const char* toolkitType, ItemAppend append)
{
    if (!item_parent_is(parent, toolkitType))
        return nullptr;
    Elm_Object_Item* item = append(parent);
    if (!item) {
        adapter_refuse_add("the toolkit made no item");
        return nullptr;
    }
    Evas_Object* carrier = item_carrier_add(parent, item, false);
    if (!carrier) {
        elm_object_item_del(item);
        adapter_refuse_add("no carrier object could be made");
    }
    return carrier;
}

Evas_Object* track_item_add(Evas_Object* parent, const char* toolkitType, ItemAppend append)
{
    if (!item_parent_is(parent, toolkitType))
        return nullptr;
    return item_track_node(append(parent), nullptr);
}

bool item_state_load(Evas_Object* node, ItemState& s)
{
    s.item = node_item(node);
    return s.item != nullptr;
}

namespace item_row {

// The flip selector copies a fixed count of bytes (its theme's label limit,
// 50 by default) from the text, however short the text is; so the text is
// handed over in a buffer at least that long, zero-filled past its end.
void text(Evas_Object*, const std::string& v, ItemState& s)
{
    if (v.empty())
        return;
    std::string padded = v;
    padded.resize(std::max<size_t>(v.size() + 1, 1024), '\0');
    elm_object_item_part_text_set(s.item, nullptr, padded.c_str());
    s.textSet = true;
}

} // namespace item_row

namespace {

const Row<ItemState> ITEM_TEXT_ROWS[] = {
    { "label", item_row::text },
    { "text", item_row::text },
};

} // namespace

extern const PropertyTable<ItemState> ITEM_TEXT_TABLE = item_table(ITEM_TEXT_ROWS);
extern const PropertyTable<NoState> COMMON_ONLY_TABLE = {};

bool item_icon_pack(Evas_Object* node, Evas_Object* child, bool square)
{
    Elm_Object_Item* item = node_item(node);
    if (!item || !child)
        return false;
    if (square)
        evas_object_size_hint_aspect_set(child, EVAS_ASPECT_CONTROL_VERTICAL, 1, 1);
    elm_object_item_part_content_set(item, "icon", child);
    return true;
}

bool item_icon_unpack(Evas_Object* node, Evas_Object* child)
{
    Elm_Object_Item* item = node_item(node);
    if (!item || !child || elm_object_item_part_content_get(item, "icon") != child)
        return false;
    return elm_object_item_part_content_unset(item, "icon") == child;
}

bool item_icon_unpacked(Evas_Object* node, Evas_Object* child, _WidgetInfo*)
{
    return item_icon_unpack(node, child);
}

bool item_icon_kept(Evas_Object*, Evas_Object*, _WidgetInfo*)
{
    return false;
}

bool image_path_usable(Evas_Object* node, const std::string& path)
{
    struct stat st;
    if (stat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode))
        return true;
    node_diag(node, "\"%s\" is not a regular file; image not loaded", path.c_str());
    return false;
}

