#include "components/adapters/Adapter.h"
#include "components/adapters/container_adapter/container_shared.h"
#include "components/adapters/property_walk.h"

namespace {

struct PanelState {
    int orient = ELM_PANEL_ORIENT_TOP;
    std::string hidden = "false";
};

// The toolkit stores any number as an orientation, and its layout knows
// only the four edges.
void keep_orient(Evas_Object* panel, const std::string& v, PanelState& s)
{
    prop_int_in(panel, "orient", v, ELM_PANEL_ORIENT_TOP, ELM_PANEL_ORIENT_RIGHT + 1, s.orient);
}

const Row<PanelState> PANEL_ROWS[] = {
    { "orient", keep_orient },
    { "hidden", row::keep_text<&PanelState::hidden, PanelState> },
    { "scrollable", row::set_bool<elm_panel_scrollable_set, PanelState> },
};

// Orientation first, so a hidden panel hides towards its own edge.
void panel_after(Evas_Object* panel, PanelState& s)
{
    elm_panel_orient_set(panel, Elm_Panel_Orient(s.orient));
    bool hidden;
    if (prop_bool(s.hidden, hidden))
        elm_panel_hidden_set(panel, hidden);
}

constexpr PropertyTable<PanelState> PANEL_TABLE =
    property_table(PANEL_ROWS, { .after = panel_after });

constexpr auto panel_set_property = set_property_by<PANEL_TABLE>;

bool panel_unpack(Evas_Object* panel, Evas_Object* child, _WidgetInfo* childNode)
{
    return child && content_part_unpack<nullptr>(panel, child, childNode);
}

} // namespace

extern const WidgetAdapter panel_adapter = {
    .add = elm_panel_add,
    .remove = remove_widget,
    .set_property = panel_set_property,
    .pack = content_part_pack<nullptr>,
    .unpack = panel_unpack,
};
