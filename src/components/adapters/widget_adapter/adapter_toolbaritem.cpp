#include "components/adapters/Adapter.h"
#include "components/adapters/widget_adapter/selector_shared.h"

namespace {

Elm_Object_Item* toolbar_append(Evas_Object* toolbar)
{
    return elm_toolbar_item_append(toolbar, nullptr, nullptr, nullptr, nullptr);
}

Evas_Object* toolbaritem_add(Evas_Object* parent)
{
    return track_item_add(parent, "Elm_Toolbar", toolbar_append);
}

// A name that begins with a slash is loaded as a file by the toolkit.
void toolbaritem_standard_icon(Evas_Object* track, const std::string& v, ItemState& s)
{
    if (v.empty() || (v[0] == '/' && !image_path_usable(track, v)))
        return;
    elm_toolbar_item_icon_set(s.item, v.c_str());
}

// The empty text passes no file, which clears the icon.
void toolbaritem_image_path(Evas_Object* track, const std::string& v, ItemState& s)
{
    if (!v.empty() && !image_path_usable(track, v))
        return;
    elm_toolbar_item_icon_file_set(s.item, v.empty() ? nullptr : v.c_str(), nullptr);
}

const Row<ItemState> TOOLBARITEM_ROWS[] = {
    { "label", item_row::text },
    { "text", item_row::text },
    { "standard-icon", toolbaritem_standard_icon },
    { "image-path", toolbaritem_image_path },
    { "disable", item_row::set_bool<elm_object_item_disabled_set> },
    { "selected", item_row::set_bool<elm_toolbar_item_selected_set> },
};

// An item is made without icon and text, and the theme keeps the layout it
// chose for that: an icon set later stays hidden, and so does a text set
// after an icon, until the theme is told what the item now shows. Both
// signals go after the walk, whatever order the properties came in.
void toolbaritem_after(Evas_Object*, ItemState& s)
{
    if (s.textSet)
        elm_object_item_signal_emit(s.item, "elm,text,visible", "elm");
    if (elm_toolbar_item_icon_object_get(s.item))
        elm_object_item_signal_emit(s.item, "elm,icon,visible", "elm");
}

constexpr PropertyTable<ItemState> TOOLBARITEM_TABLE =
    property_table(TOOLBARITEM_ROWS,
                   { .unknown = UnknownNames::Ignore, .before = item_state_load, .after = toolbaritem_after });

constexpr auto toolbaritem_set_property = set_property_by<TOOLBARITEM_TABLE>;

constexpr auto toolbaritem_remove = item_track_node_remove;

} // namespace

extern const WidgetAdapter toolbaritem_adapter = {
    .add = toolbaritem_add,
    .remove = toolbaritem_remove,
    .set_property = toolbaritem_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
