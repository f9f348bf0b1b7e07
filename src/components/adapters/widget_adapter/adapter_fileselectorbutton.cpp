#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/picker_shared.h"
#include "components/adapters/widget_adapter/value_shared.h"

namespace {

constexpr auto FILESELECTORBUTTON_ROWS =
    picker_rows<elm_fileselector_button_window_title_set, elm_fileselector_button_inwin_mode_set>();

constexpr PropertyTable<PickerState> FILESELECTORBUTTON_TABLE = {
    .rows = FILESELECTORBUTTON_ROWS.data(),
    .count = PICKER_BUTTON_ROWS,
    .after = picker_size_after<elm_fileselector_button_window_size_set>,
};

bool fileselectorbutton_set_property(Evas_Object* button, _WidgetInfo* node, std::string)
{
    return set_properties(button, node, FILESELECTORBUTTON_TABLE);
}

bool fileselector_packed(Evas_Object* container, Evas_Object* child, _WidgetInfo*)
{
    return part_content_pack(container, child, "icon");
}

bool fileselector_unpacked(Evas_Object* container, Evas_Object*, _WidgetInfo*)
{
    return part_content_unpack(container, "icon");
}

} // namespace

extern const WidgetAdapter fileselectorbutton_adapter = {
    .add = elm_fileselector_button_add,
    .remove = remove_file_picker,
    .set_property = fileselectorbutton_set_property,
    .pack = fileselector_packed,
    .unpack = fileselector_unpacked,
};
