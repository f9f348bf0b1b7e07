#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/selector_shared.h"

namespace {

// Icon sizes are pixels before scaling. A negative size moves the items off
// the canvas. Four theme icons at 1,024 build and draw in 40 ms (20 ms at 48),
// at 4,096 in 80 ms with 20 MB more memory, at 16,384 in 250 ms with 90 MB:
// the cost follows the area, and an icon beyond 1,024 is larger than any
// window the IDE renders.
const int TOOLBAR_ICON_SIZE_MAX = 1024;

// Per node: homogeneity is set after the walk unless the shrink mode has
// its own rule for it.
struct ToolbarState {
    bool homogeneous = true;
    int shrinkMode = ELM_TOOLBAR_SHRINK_NONE;
};

// The toolkit stores any number as the shrink mode, and lays the items out
// by none of its rules then; the number is its enumeration, passed as is.
void toolbar_shrink_mode(Evas_Object* toolbar, const std::string& v, ToolbarState& s)
{
    int mode;
    if (!prop_int_within(toolbar, v, ELM_TOOLBAR_SHRINK_NONE, ELM_TOOLBAR_SHRINK_LAST - 1, "shrink mode", mode))
        return;
    elm_toolbar_shrink_mode_set(toolbar, static_cast<Elm_Toolbar_Shrink_Mode>(mode));
    s.shrinkMode = mode;
}

void toolbar_icon_size(Evas_Object* toolbar, const std::string& v, ToolbarState&)
{
    int size;
    if (prop_int_within(toolbar, v, 0, TOOLBAR_ICON_SIZE_MAX, "icon size", size))
        elm_toolbar_icon_size_set(toolbar, size);
}

void toolbar_homogeneous(Evas_Object*, const std::string& v, ToolbarState& s)
{
    bool b;
    if (prop_bool(v, b))
        s.homogeneous = b;
}

// Read as an integer, so only the two ends take effect; any other number
// would place the items outside the toolbar.
void toolbar_align(Evas_Object* toolbar, const std::string& v, ToolbarState&)
{
    int align;
    if (prop_int_within(toolbar, v, 0, 1, "align", align))
        elm_toolbar_align_set(toolbar, align);
}

// Select mode and icon lookup order are the toolkit's enumerations too; it
// ignores numbers outside them itself, so they pass unchecked.
const Row<ToolbarState> TOOLBAR_ROWS[] = {
    { "shrink-mode", toolbar_shrink_mode },
    { "select-mode", row::set_int<elm_toolbar_select_mode_set> },
    { "icon-size", toolbar_icon_size },
    { "icon-order-lookup", row::set_int<elm_toolbar_icon_order_lookup_set> },
    { "transverse-expanded", row::set_bool<elm_toolbar_transverse_expanded_set> },
    { "homogeneous", toolbar_homogeneous },
    { "align", toolbar_align },
    { "horizontal", row::set_bool<elm_toolbar_horizontal_set> },
    { "standard-priority", row::set_int<elm_toolbar_standard_priority_set> },
};

// The hide, menu and expand modes manage homogeneity themselves.
void toolbar_after(Evas_Object* toolbar, ToolbarState& s)
{
    switch (s.shrinkMode) {
    case ELM_TOOLBAR_SHRINK_HIDE:
    case ELM_TOOLBAR_SHRINK_MENU:
    case ELM_TOOLBAR_SHRINK_EXPAND:
        return;
    default:
        elm_toolbar_homogeneous_set(toolbar, s.homogeneous);
    }
}

constexpr PropertyTable<ToolbarState> TOOLBAR_TABLE =
    property_table(TOOLBAR_ROWS, { .after = toolbar_after });

constexpr auto toolbar_set_property = set_property_by<TOOLBAR_TABLE>;

} // namespace

extern const WidgetAdapter toolbar_adapter = {
    .add = elm_toolbar_add,
    .remove = remove_widget,
    .set_property = toolbar_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
