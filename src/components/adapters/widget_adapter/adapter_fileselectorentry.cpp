#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/picker_shared.h"
#include "components/adapters/widget_adapter/value_shared.h"

namespace {

constexpr auto FILESELECTORENTRY_ROWS =
    picker_rows<elm_fileselector_entry_window_title_set, elm_fileselector_entry_inwin_mode_set>();

constexpr PropertyTable<PickerState> FILESELECTORENTRY_TABLE = {
    .rows = FILESELECTORENTRY_ROWS.data(),
    .count = FILESELECTORENTRY_ROWS.size(),
    .after = picker_size_after<elm_fileselector_entry_window_size_set>,
};

bool fileselectorentry_set_property(Evas_Object* entry, _WidgetInfo* node, std::string)
{
    return set_properties(entry, node, FILESELECTORENTRY_TABLE);
}

bool fileselectorentry_pack(Evas_Object* container, Evas_Object* child, _WidgetInfo*)
{
    return part_content_pack(container, child, "button icon");
}

bool fileselectorentry_unpack(Evas_Object* container, Evas_Object*, _WidgetInfo*)
{
    return part_content_unpack(container, "button icon");
}

} // namespace

extern const WidgetAdapter fileselectorentry_adapter = {
    .add = elm_fileselector_entry_add,
    .remove = remove_file_picker,
    .set_property = fileselectorentry_set_property,
    .pack = fileselectorentry_pack,
    .unpack = fileselectorentry_unpack,
};
