#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"

namespace {

const PropertyRule SEPARATOR_RULES[] = {
    { "horizontal", rule::set_bool<elm_separator_horizontal_set> },
};

bool separator_set_property(Evas_Object* separator, _WidgetInfo* node, std::string)
{
    WalkSlots slots;
    return walk_succeeded(walk_properties(separator, node, SEPARATOR_RULES, slots));
}

} // namespace

extern const WidgetAdapter separator_adapter = {
    .add = elm_separator_add,
    .remove = remove_widget,
    .set_property = separator_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
