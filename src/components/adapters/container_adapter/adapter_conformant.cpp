#include "components/adapters/Adapter.h"
#include "components/adapters/container_adapter/container_shared.h"

// "efl.conformant" and "zelva.popup" share this record.
extern const WidgetAdapter conformant_adapter = {
    .add = add_in_parent<elm_conformant_add>,
    .remove = remove_widget,
    .set_property = indicator_set_property,
    .pack = content_part_pack<CONFORMANT_CONTENT_PART>,
    .unpack = content_part_unpack<CONFORMANT_CONTENT_PART>,
};
