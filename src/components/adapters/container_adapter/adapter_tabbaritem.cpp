#include "components/adapters/Adapter.h"
#include "components/adapters/container_adapter/container_shared.h"
#include "components/adapters/item_shared.h"
#include "components/adapters/property_walk.h"

namespace {

// A tab is an item of its tab bar's toolbar, carried by a box made in that
// tab bar and recorded as its "container": the box goes when the tab bar goes.
Evas_Object* tabbaritem_add(Evas_Object* parent)
{
    Evas_Object* tabbar = tabbar_for_tab(parent);
    if (!tabbar)
        return nullptr;
    Elm_Object_Item* item = elm_toolbar_item_append(tabbar_toolbar(tabbar), nullptr, nullptr, nullptr, nullptr);
    if (!item) {
        adapter_refuse_add("the toolbar made no item");
        return nullptr;
    }
    return item_carrier_add(tabbar, item, true);
}

struct TabState {
    Elm_Object_Item* item = nullptr;
    bool labelled = false;
};

bool find_item(Evas_Object* carrier, TabState& s)
{
    s.item = node_item(carrier);
    return s.item != nullptr;
}

void label(Evas_Object*, const std::string& v, TabState& s)
{
    if (v.empty())
        return;
    elm_object_item_part_text_set(s.item, nullptr, v.c_str());
    s.labelled = true;
}

void standard_icon(Evas_Object*, const std::string& v, TabState& s)
{
    if (!v.empty())
        elm_toolbar_item_icon_set(s.item, v.c_str());
}

// The empty text passes no file, which clears the icon.
void image_path(Evas_Object*, const std::string& v, TabState& s)
{
    elm_toolbar_item_icon_file_set(s.item, v.empty() ? nullptr : v.c_str(), nullptr);
}

template <void (*F)(Elm_Object_Item*, Eina_Bool)>
void item_bool(Evas_Object*, const std::string& v, TabState& s)
{
    bool b;
    if (prop_bool(v, b))
        F(s.item, b);
}

const Row<TabState> TAB_ROWS[] = {
    { "label", label },
    { "text", label },
    { "standard-icon", standard_icon },
    { "image-path", image_path },
    { "disabled", item_bool<elm_object_item_disabled_set> },
    { "selected", item_bool<elm_toolbar_item_selected_set> },
};

// The toolkit's item theme lays an item out for icon, label or both on
// signals that an icon set after the item was made never sends, so the
// icon would stay hidden. (A label set now reaches the item's getter only
// once the theme's label transition has run.)
void show_icon_and_label(Evas_Object*, TabState& s)
{
    bool icon = elm_toolbar_item_icon_object_get(s.item) != nullptr;
    elm_object_item_signal_emit(s.item, icon ? "elm,icon,visible" : "elm,icon,hidden", "elm");
    if (s.labelled)
        elm_object_item_signal_emit(s.item, "elm,text,visible", "elm");
}

constexpr PropertyTable<TabState> TAB_TABLE =
    property_table(TAB_ROWS, { .unknown = UnknownNames::Ignore, .before = find_item, .after = show_icon_and_label });

constexpr auto tabbaritem_set_property = set_property_by<TAB_TABLE>;

// A tab's child is shown as its tab bar's page content.
bool tabbaritem_packed(Evas_Object* carrier, Evas_Object* child, _WidgetInfo*)
{
    if (!carrier || !child)
        return false;
    Evas_Object* tabbar = node_container(carrier);
    if (!tabbar)
        return false;
    tabbar_show_content(tabbar, child);
    return true;
}

bool tabbaritem_unpacked(Evas_Object* carrier, Evas_Object*, _WidgetInfo*)
{
    return carrier != nullptr;
}

} // namespace

extern const WidgetAdapter tabbaritem_adapter = {
    .add = tabbaritem_add,
    .remove = remove_widget,
    .set_property = tabbaritem_set_property,
    .pack = tabbaritem_packed,
    .unpack = tabbaritem_unpacked,
};
