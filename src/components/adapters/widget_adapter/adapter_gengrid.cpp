#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/list_shared.h"

namespace {

struct GengridState : ScrollerScheme {
    int itemW = 0;
    int itemH = 0;
};

using S = GengridState;

const Row<S> GENGRID_ROWS[] = {
    { "multi-select", row::set_bool<elm_gengrid_multi_select_set, S> },
    { "style", row::set_text_skip_empty<elm_object_style_set, S> },
    { "select-mode", row::set_int<elm_gengrid_select_mode_set, S> },
    { "horizontal", row::set_bool<elm_gengrid_horizontal_set, S> },
    { "item-size-w", row::keep_int<&S::itemW, S> },
    { "item-size-h", row::keep_int<&S::itemH, S> },
    { "policy-h", scroller_row::policy_h<S> },
    { "policy-v", scroller_row::policy_v<S> },
    { "h-bounce", scroller_row::bounce_h<S> },
    { "v-bounce", scroller_row::bounce_v<S> },
};

// The item size takes both halves; half a size would squash every item.
void gengrid_after(Evas_Object* grid, S& s)
{
    if (s.itemW != 0 && s.itemH != 0)
        elm_gengrid_item_size_set(grid, s.itemW, s.itemH);
    scroller_bounce(grid, s);
}

constexpr PropertyTable<S> GENGRID_TABLE = property_table(GENGRID_ROWS, { .after = gengrid_after });

constexpr auto gengrid_set_property = set_property_by<GENGRID_TABLE>;

constexpr auto gengrid_add = tracked_list_add<elm_gengrid_add>;
constexpr auto gengrid_remove = class_list_remove<gengrid_item_classes>;

} // namespace

extern const WidgetAdapter gengrid_adapter = {
    .add = gengrid_add,
    .remove = gengrid_remove,
    .set_property = gengrid_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
