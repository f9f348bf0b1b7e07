#include "components/adapters/Adapter.h"
#include "components/adapters/widget_adapter/selector_shared.h"

namespace {

constexpr auto segmentcontrol_set_property = common_only_set_property;

} // namespace

extern const WidgetAdapter segmentcontrol_adapter = {
    .add = elm_segment_control_add,
    .remove = remove_widget,
    .set_property = segmentcontrol_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
