#include "components/adapters/Adapter.h"
#include "components/adapters/widget_adapter/selector_shared.h"

namespace {

Elm_Object_Item* segmentcontrol_append(Evas_Object* control)
{
    return elm_segment_control_item_add(control, nullptr, nullptr);
}

Evas_Object* segmentcontrolitem_add(Evas_Object* parent)
{
    return carrier_item_add(parent, "Elm_Segment_Control", segmentcontrol_append);
}

const Row<ItemState> SEGMENTCONTROLITEM_ROWS[] = {
    { "label", item_row::text },
    { "text", item_row::text },
    { "selected", item_row::set_bool<elm_segment_control_item_selected_set> },
};

constexpr PropertyTable<ItemState> SEGMENTCONTROLITEM_TABLE = item_table(SEGMENTCONTROLITEM_ROWS);

constexpr auto segmentcontrolitem_set_property = set_property_by<SEGMENTCONTROLITEM_TABLE>;

constexpr auto segmentcontrolitem_packed = item_icon_packed<false>;
constexpr auto segmentcontrolitem_unpacked = item_icon_kept;

} // namespace

// remove_widget deletes the carrier only: the item stays in the control
// until the control itself goes.
extern const WidgetAdapter segmentcontrolitem_adapter = {
    .add = segmentcontrolitem_add,
    .remove = remove_widget,
    .set_property = segmentcontrolitem_set_property,
    .pack = segmentcontrolitem_packed,
    .unpack = segmentcontrolitem_unpacked,
};
