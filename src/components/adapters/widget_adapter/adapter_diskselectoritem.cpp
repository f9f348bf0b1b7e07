#include "components/adapters/Adapter.h"
#include "components/adapters/widget_adapter/selector_shared.h"

namespace {

Elm_Object_Item* diskselector_append(Evas_Object* selector)
{
    return elm_diskselector_item_append(selector, nullptr, nullptr, nullptr, nullptr);
}

Evas_Object* diskselectoritem_add(Evas_Object* parent)
{
    return carrier_item_add(parent, "Elm_Diskselector", diskselector_append);
}

constexpr auto diskselectoritem_set_property = set_property_by<ITEM_TEXT_TABLE>;
constexpr auto diskselectoritem_packed = item_icon_packed<false>;
constexpr auto diskselectoritem_unpacked = item_icon_kept;

} // namespace

// remove_widget deletes the carrier only: the item stays in the selector
// until the selector itself goes.
extern const WidgetAdapter diskselectoritem_adapter = {
    .add = diskselectoritem_add,
    .remove = remove_widget,
    .set_property = diskselectoritem_set_property,
    .pack = diskselectoritem_packed,
    .unpack = diskselectoritem_unpacked,
};
