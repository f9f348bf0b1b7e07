#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/circle_shared.h"
#include "components/adapters/widget_adapter/list_shared.h"

Evas_Object* circle_genlist = nullptr;

namespace {

using S = ScrollerScheme;

// The policies go to the indicator of the most recent circle genlist. The
// render command sets a node's properties right after its add, before the
// next circle genlist is made, so that is the node's own.
void circle_policy_apply(Evas_Object*, Elm_Scroller_Policy h, Elm_Scroller_Policy v)
{
    if (circle_genlist)
        eext_circle_object_genlist_scroller_policy_set(circle_genlist, h, v);
}

// "style" is a common property here.
constexpr auto CIRCLE_GENLIST_ROWS = genlist_rows<circle_policy_apply>();
constexpr PropertyTable<S> CIRCLE_GENLIST_TABLE = genlist_table(CIRCLE_GENLIST_ROWS);

constexpr auto circle_genlist_set_property = set_property_by<CIRCLE_GENLIST_TABLE>;

// A genlist in scroll mode with its indicator, hidden until a policy shows it.
Evas_Object* circle_genlist_add(Evas_Object* parent)
{
    Evas_Object* genlist = tracked_list_add<elm_genlist_add>(parent);
    if (!genlist)
        return nullptr;
    elm_genlist_mode_set(genlist, ELM_LIST_SCROLL);
    Evas_Object* indicator = eext_circle_object_genlist_add(genlist, circle_surface_of(parent));
    circle_pointer_keep(&circle_genlist, indicator);
    eext_circle_object_genlist_scroller_policy_set(indicator, ELM_SCROLLER_POLICY_OFF, ELM_SCROLLER_POLICY_OFF);
    return genlist;
}

constexpr auto circle_genlist_remove = class_list_remove<circle_genlist_item_classes>;

} // namespace

extern const WidgetAdapter circle_genlist_adapter = {
    .add = circle_genlist_add,
    .remove = circle_genlist_remove,
    .set_property = circle_genlist_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
