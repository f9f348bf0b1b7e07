#include "components/adapters/Adapter.h"

namespace {

// Every property is ignored, the shared ones included.
bool diskselector_set_property(Evas_Object* selector, _WidgetInfo* node, std::string)
{
    return selector && node;
}

} // namespace

extern const WidgetAdapter diskselector_adapter = {
    .add = elm_diskselector_add,
    .remove = remove_widget,
    .set_property = diskselector_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
