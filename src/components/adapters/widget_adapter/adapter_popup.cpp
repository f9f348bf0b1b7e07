#include <climits>

#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/selector_shared.h"

namespace {

const int POPUP_HEIGHT_UNSET = -1;
// Pixels before scaling. A tall content costs the toolkit nothing (23,000
// scaled pixels lay out and draw as fast as 100: the popup clips it), so the
// limit is only far beyond any window the IDE renders and keeps the scaled
// height well inside an int.
const int POPUP_HEIGHT_MAX = 10000;

// Process-wide on purpose: a popup without "height" gives its content the
// height the last popup carrying it asked for. -1 gives none.
int popup_height = POPUP_HEIGHT_UNSET;

Evas_Object* popup_add(Evas_Object* parent)
{
    if (!parent)
        return nullptr;
    Evas_Object* popup = elm_popup_add(parent);
    elm_popup_align_set(popup, ELM_NOTIFY_ALIGN_FILL, 1.0);
    evas_object_size_hint_weight_set(popup, EVAS_HINT_EXPAND, EVAS_HINT_EXPAND);
    return popup;
}

void popup_title(Evas_Object* popup, const char* title)
{
    elm_object_part_text_set(popup, "title,text", title);
}

// -1 forgets the height; other negative numbers would reach the toolkit as
// a negative minimum size.
void popup_height_row(Evas_Object* popup, const std::string& v, NoState&)
{
    int h;
    if (prop_int_within(popup, v, POPUP_HEIGHT_UNSET, POPUP_HEIGHT_MAX, "height", h))
        popup_height = h;
}

const Row<NoState> POPUP_ROWS[] = {
    { "title", row::set_text_skip_empty<popup_title> },
    { "height", popup_height_row },
};

constexpr PropertyTable<NoState> POPUP_TABLE = property_table(POPUP_ROWS);

constexpr auto popup_set_property = set_property_by<POPUP_TABLE>;

// The remembered height is in the IDE's pixels at the base scale; the
// content gets it at the scale the render applied.
int popup_scaled_height()
{
    double base = elm_app_base_scale_get();
    if (base <= 0.0)
        base = 1.0;
    double scaled = popup_height / base * elm_config_scale_get();
    return scaled < INT_MAX ? static_cast<int>(scaled) : INT_MAX;
}

bool popup_pack(Evas_Object* popup, Evas_Object* child, _WidgetInfo*)
{
    if (!popup || !child)
        return false;
    // A widget rewrites its legacy minimum size hint whenever it sizes
    // itself, so the height goes into the user minimum, which the layout
    // combines with the widget's own (the larger wins). Width 0 leaves the
    // width to the content.
    if (popup_height != POPUP_HEIGHT_UNSET)
        efl_gfx_hint_size_min_set(child, EINA_SIZE2D(0, popup_scaled_height()));
    elm_object_part_content_set(popup, nullptr, child);
    return true;
}

bool popup_unpack(Evas_Object* popup, Evas_Object*, _WidgetInfo*)
{
    if (!popup)
        return false;
    elm_object_part_content_unset(popup, nullptr);
    return true;
}

} // namespace

extern const WidgetAdapter popup_adapter = {
    .add = popup_add,
    .remove = remove_widget,
    .set_property = popup_set_property,
    .pack = popup_pack,
    .unpack = popup_unpack,
};
