#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/list_shared.h"

namespace {

using S = ScrollerScheme;

const Row<S> GENLIST_ROWS[] = {
    { "style", row::set_text_skip_empty<elm_object_style_set, S> },
    { "homogeneous", row::set_bool<elm_genlist_homogeneous_set, S> },
    { "select-mode", row::set_int<elm_genlist_select_mode_set, S> },
    { "mode", row::set_int<elm_genlist_mode_set, S> },
    { "multi-select", row::set_bool<elm_genlist_multi_select_set, S> },
    { "policy-h", scroller_row::policy_h<S> },
    { "policy-v", scroller_row::policy_v<S> },
    { "h-bounce", scroller_row::bounce_h<S> },
    { "v-bounce", scroller_row::bounce_v<S> },
};

constexpr PropertyTable<S> GENLIST_TABLE = property_table(GENLIST_ROWS, UnknownNames::ToCommon, nullptr, scroller_row::after<S>);

bool genlist_set_property(Evas_Object* genlist, _WidgetInfo* node, std::string)
{
    return set_properties(genlist, node, GENLIST_TABLE);
}

constexpr auto genlist_add = tracked_list_add<elm_genlist_add>;
constexpr auto genlist_remove = class_list_remove<genlist_item_classes>;

} // namespace

extern const WidgetAdapter genlist_adapter = {
    .add = genlist_add,
    .remove = genlist_remove,
    .set_property = genlist_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
