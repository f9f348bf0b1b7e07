#include "components/adapters/Adapter.h"
#include "components/adapters/container_adapter/container_shared.h"
#include "components/adapters/container_adapter/scroller_shared.h"

extern const WidgetAdapter scroller_adapter = {
    .add = add_in_parent<elm_scroller_add>,
    .remove = remove_widget,
    .set_property = scroller_kind_set_property,
    .pack = content_part_pack<nullptr>,
    .unpack = content_part_unpack<nullptr>,
};
