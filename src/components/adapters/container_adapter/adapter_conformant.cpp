#include "components/adapters/Adapter.h"
#include "components/adapters/container_adapter/container_shared.h"

namespace {

Evas_Object* conformant_add(Evas_Object* parent)
{
    return parent ? elm_conformant_add(parent) : nullptr;
}

} // namespace

// "efl.conformant" and "zelva.popup" share this record.
extern const WidgetAdapter conformant_adapter = {
    .add = conformant_add,
    .remove = remove_widget,
    .set_property = indicator_set_property,
    .pack = content_part_pack<CONFORMANT_CONTENT_PART>,
    .unpack = content_part_unpack<CONFORMANT_CONTENT_PART>,
};
