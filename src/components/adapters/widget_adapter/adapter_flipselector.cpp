#include "components/adapters/Adapter.h"
#include "components/adapters/widget_adapter/selector_shared.h"

namespace {

Evas_Object* flipselector_add(Evas_Object* parent)
{
    if (!parent)
        return nullptr;
    Evas_Object* selector = elm_flipselector_add(parent);
    elm_flipselector_first_interval_set(selector, 0.01);
    return selector;
}

constexpr auto flipselector_set_property = common_only_set_property;

} // namespace

extern const WidgetAdapter flipselector_adapter = {
    .add = flipselector_add,
    .remove = remove_widget,
    .set_property = flipselector_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
