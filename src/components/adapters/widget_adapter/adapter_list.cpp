#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/list_shared.h"

namespace {

using S = ScrollerScheme;

const Row<S> LIST_ROWS[] = {
    { "policy-h", scroller_row::policy_h<S> },
    { "policy-v", scroller_row::policy_v<S> },
    { "mode", row::set_int<elm_list_mode_set, S> },
    { "select-mode", row::set_int<elm_list_select_mode_set, S> },
    { "multi-select", row::set_bool<elm_list_multi_select_set, S> },
    { "multi-select-mode", row::ignore<S> },
    { "horizontal", row::set_bool<elm_list_horizontal_set, S> },
    { "h-bounce", scroller_row::bounce_h<S> },
    { "v-bounce", scroller_row::bounce_v<S> },
};

constexpr PropertyTable<S> LIST_TABLE = property_table(LIST_ROWS, { .after = scroller_row::after<S> });

constexpr auto list_set_property = set_property_by<LIST_TABLE>;

} // namespace

extern const WidgetAdapter list_adapter = {
    .add = elm_list_add,
    .remove = remove_widget,
    .set_property = list_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
