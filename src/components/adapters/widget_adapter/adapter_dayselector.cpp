#include "components/adapters/Adapter.h"

namespace {

// A day selector takes no property at all, not even the shared ones.
bool dayselector_set_property(Evas_Object* dayselector, _WidgetInfo* node, std::string)
{
    return dayselector && node;
}

} // namespace

extern const WidgetAdapter dayselector_adapter = {
    .add = elm_dayselector_add,
    .remove = remove_widget,
    .set_property = dayselector_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
