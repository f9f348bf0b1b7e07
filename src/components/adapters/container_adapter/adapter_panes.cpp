#include "components/adapters/Adapter.h"
#include "components/adapters/container_adapter/container_shared.h"
#include "components/adapters/property_walk.h"
#include "utils/efl_util.h"

namespace {

const char* const SIDES[] = { "left", "right" };

// An empty side shows a placeholder; the "placeholder" list holds, per side,
// the placeholder or the child that replaced it (left first).
bool make_side_placeholders(Evas_Object* panes, NoState&)
{
    for (const char* side : SIDES) {
        Evas_Object* ph = makePlaceHolder(panes);
        elm_object_part_content_set(panes, side, ph);
        efl_util_list_append(panes, KEY_PLACEHOLDER, ph);
    }
    return true;
}

const Row<NoState> PANES_ROWS[] = {
    { "horizontal", row::set_bool<elm_panes_horizontal_set, NoState> },
    { "fixed", row::set_bool<elm_panes_fixed_set, NoState> },
    { "right-size", row::set_real<elm_panes_content_right_size_set, NoState> },
};

constexpr PropertyTable<NoState> PANES_TABLE = property_table(PANES_ROWS, { .before = make_side_placeholders });

constexpr auto panes_set_property = set_property_by<PANES_TABLE>;

// The side a child asks for: 0 left, 1 right, -1 none.
int side_of(const _WidgetInfo* childNode)
{
    const std::string* value = widget_info_property(childNode, "pack-left");
    int n = -1;
    if (value && prop_int(*value, n) && (n == 0 || n == 1))
        return n;
    return -1;
}

bool panes_pack(Evas_Object* panes, Evas_Object* child, _WidgetInfo* childNode)
{
    if (!panes || !child)
        return false;
    int side = side_of(childNode);
    if (side < 0)
        return true;
    bool listed = efl_util_list_get(panes, KEY_PLACEHOLDER) != nullptr;
    // The toolkit deletes what the side held (placeholder or earlier child),
    // which leaves the list by itself; the child takes its place.
    slot_content_set(panes, panes, SIDES[side], child);
    if (!listed || elm_object_part_content_get(panes, SIDES[side]) != child)
        return true;
    if (side == 0)
        efl_util_list_prepend(panes, KEY_PLACEHOLDER, child);
    else
        efl_util_list_append(panes, KEY_PLACEHOLDER, child);
    return true;
}

bool panes_unpack(Evas_Object* panes, Evas_Object* child, _WidgetInfo* childNode)
{
    if (!panes || !child)
        return false;
    int side = side_of(childNode);
    if (side >= 0)
        elm_object_part_content_unset(panes, SIDES[side]);
    return true;
}

} // namespace

extern const WidgetAdapter panes_adapter = {
    .add = elm_panes_add,
    .remove = remove_widget,
    .set_property = panes_set_property,
    .pack = panes_pack,
    .unpack = panes_unpack,
};
