#include <optional>

#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"

// Exported by the toolkit but declared only in its widget-internal headers.
extern "C" Eina_Bool elm_widget_sub_object_add(Evas_Object* obj, Evas_Object* sobj);

namespace {

struct ColorState {
    std::optional<int> r, g, b, a;
};

// The parts a mode shows or hides, each under its current and its older name.
const char* const MODE_PARTS[][2] = {
    { "elm.palette", "palette" },
    { "elm.selector", "selector" },
    { "elm.picker", "picker" },
};
constexpr size_t MODE_PART_COUNT = sizeof MODE_PARTS / sizeof MODE_PARTS[0];

Evas_Object* mode_part(Evas_Object* selector, const char* const (&names)[2])
{
    Evas_Object* content = elm_layout_content_get(selector, names[0]);
    return content ? content : elm_layout_content_get(selector, names[1]);
}

// A mode that hides a part unsets its content (the palette box, the colour
// bars, the picker) and hands it to the window: the selector keeps using it
// but no longer deletes it, so every selector rendered in a mode other than
// its initial one left its hidden bars (some 340 kB) to live as long as the
// window. Taking the hidden content back as a sub-object makes the selector's
// own deletion free it; it stays hidden and unswallowed, so nothing drawn
// changes.
void colorselector_mode(Evas_Object* selector, const std::string& v, ColorState&)
{
    int mode;
    if (!prop_int(v, mode))
        return;
    Evas_Object* shown[MODE_PART_COUNT];
    for (size_t i = 0; i < MODE_PART_COUNT; ++i)
        shown[i] = mode_part(selector, MODE_PARTS[i]);
    elm_colorselector_mode_set(selector, static_cast<Elm_Colorselector_Mode>(mode));
    for (Evas_Object* part : shown)
        if (part && elm_object_parent_widget_get(part) != selector)
            elm_widget_sub_object_add(selector, part);
}

const Row<ColorState> COLORSELECTOR_ROWS[] = {
    { "select-r", row::keep_int<&ColorState::r> },
    { "select-g", row::keep_int<&ColorState::g> },
    { "select-b", row::keep_int<&ColorState::b> },
    { "select-a", row::keep_int<&ColorState::a> },
    { "mode", colorselector_mode },
};

// Only a whole colour is set.
void colorselector_color(Evas_Object* selector, ColorState& c)
{
    if (c.r && c.g && c.b && c.a)
        elm_colorselector_color_set(selector, *c.r, *c.g, *c.b, *c.a);
}

constexpr auto COLORSELECTOR_TABLE = property_table(COLORSELECTOR_ROWS, { .after = colorselector_color });
constexpr auto colorselector_set_property = set_property_by<COLORSELECTOR_TABLE>;

} // namespace

extern const WidgetAdapter colorselector_adapter = {
    .add = elm_colorselector_add,
    .remove = remove_widget,
    .set_property = colorselector_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
