#include "components/adapters/Adapter.h"
#include "components/adapters/container_adapter/container_shared.h"
#include "components/adapters/property_walk.h"
#include "utils/retired_pages.h"

namespace {

// On the tab bar (its naviframe): its own toolbar, and the frame below the
// toolbar when the theme's page has no "tabbar" part.
const char* const KEY_TOOLBAR = "tabbar-toolbar";
const char* const KEY_HOLDER = "tabbar-holder";
const char* const HOLDER_PART = "elm.swallow.content";

// The tab bar created last: where a tab outside any tab bar goes. Cleared
// when that tab bar is deleted, so it never names a freed widget.
Evas_Object* g_last_tabbar = nullptr;

void last_tabbar_deleted(void*, Evas*, Evas_Object* tabbar, void*)
{
    if (g_last_tabbar == tabbar)
        g_last_tabbar = nullptr;
}

void toolbar_deleted(void* tabbar, Evas*, Evas_Object*, void*)
{
    evas_object_data_del(static_cast<Evas_Object*>(tabbar), KEY_TOOLBAR);
}

// Themes without a tab-bar page style (the toolkit's own) get the same
// page built from a box: the toolbar on top, the tab content below.
void place_toolbar_in_page_box(Evas_Object* tabbar, Elm_Object_Item* page, Evas_Object* toolbar)
{
    elm_naviframe_item_title_enabled_set(page, EINA_FALSE, EINA_FALSE);
    Evas_Object* box = elm_box_add(tabbar);
    evas_object_size_hint_weight_set(toolbar, EVAS_HINT_EXPAND, 0.0);
    evas_object_size_hint_align_set(toolbar, EVAS_HINT_FILL, 0.0);
    elm_box_pack_end(box, toolbar);
    evas_object_show(toolbar);
    Evas_Object* holder = elm_bg_add(box);
    evas_object_size_hint_weight_set(holder, EVAS_HINT_EXPAND, EVAS_HINT_EXPAND);
    evas_object_size_hint_align_set(holder, EVAS_HINT_FILL, EVAS_HINT_FILL);
    elm_box_pack_end(box, holder);
    evas_object_show(holder);
    elm_object_item_content_set(page, box);
    evas_object_data_set(tabbar, KEY_HOLDER, holder);
}

Evas_Object* tabbar_add(Evas_Object* parent)
{
    if (!parent)
        return nullptr;
    Evas_Object* tabbar = elm_naviframe_add(parent);
    Elm_Object_Item* page =
        elm_naviframe_item_push(tabbar, nullptr, nullptr, nullptr, nullptr, "tabbar/icon/notitle");
    Evas_Object* toolbar = elm_toolbar_add(tabbar);
    elm_object_style_set(toolbar, "tabbar");
    elm_toolbar_shrink_mode_set(toolbar, ELM_TOOLBAR_SHRINK_EXPAND);
    elm_toolbar_transverse_expanded_set(toolbar, EINA_TRUE);
    elm_toolbar_select_mode_set(toolbar, ELM_OBJECT_SELECT_MODE_ALWAYS);
    elm_object_item_part_content_set(page, "tabbar", toolbar);
    if (elm_object_item_part_content_get(page, "tabbar") != toolbar)
        place_toolbar_in_page_box(tabbar, page, toolbar);
    evas_object_data_set(tabbar, KEY_TOOLBAR, toolbar);
    evas_object_event_callback_add(toolbar, EVAS_CALLBACK_DEL, toolbar_deleted, tabbar);
    g_last_tabbar = tabbar;
    evas_object_event_callback_add(tabbar, EVAS_CALLBACK_DEL, last_tabbar_deleted, nullptr);
    return tabbar;
}

// Each tab bar removes its own toolbar, never another tab bar's.
bool tabbar_remove(Evas_Object* tabbar)
{
    if (!tabbar)
        return false;
    if (Evas_Object* toolbar = tabbar_toolbar(tabbar))
        evas_object_del(toolbar);
    return remove_widget(tabbar);
}

struct TabbarState {
    Evas_Object* toolbar = nullptr;
};

bool find_toolbar(Evas_Object* tabbar, TabbarState& s)
{
    s.toolbar = tabbar_toolbar(tabbar);
    return s.toolbar != nullptr;
}

// A row of the toolbar table applied to the tab bar's toolbar.
template <void (*Apply)(Evas_Object*, const std::string&, TabbarState&)>
void on_toolbar(Evas_Object*, const std::string& v, TabbarState& s)
{
    Apply(s.toolbar, v, s);
}

void shrink_mode(Evas_Object* toolbar, const std::string& v, TabbarState&)
{
    int mode;
    if (prop_int_in(toolbar, "shrink-mode", v, ELM_TOOLBAR_SHRINK_NONE, ELM_TOOLBAR_SHRINK_LAST, mode))
        elm_toolbar_shrink_mode_set(toolbar, Elm_Toolbar_Shrink_Mode(mode));
}

void icon_size(Evas_Object* toolbar, const std::string& v, TabbarState&)
{
    int size;
    if (prop_int_in(toolbar, "icon-size", v, 0, 1 << 16, size))
        elm_toolbar_icon_size_set(toolbar, size);
}

// Read as an integer on purpose: "0.5" aligns like "0".
void align(Evas_Object* toolbar, const std::string& v, TabbarState&)
{
    int a;
    if (prop_int(v, a))
        elm_toolbar_align_set(toolbar, double(a));
}

using S = TabbarState;

const Row<S> TABBAR_ROWS[] = {
    { "shrink-mode", on_toolbar<shrink_mode> },
    { "select-mode", on_toolbar<row::set_int<elm_toolbar_select_mode_set, S>> },
    { "icon-size", on_toolbar<icon_size> },
    { "icon-order-lookup", on_toolbar<row::set_int<elm_toolbar_icon_order_lookup_set, S>> },
    { "transverse-expanded", on_toolbar<row::set_bool<elm_toolbar_transverse_expanded_set, S>> },
    { "homogeneous", on_toolbar<row::set_bool<elm_toolbar_homogeneous_set, S>> },
    { "align", on_toolbar<align> },
    { "horizontal", on_toolbar<row::set_bool<elm_toolbar_horizontal_set, S>> },
    { "standard-priority", on_toolbar<row::set_int<elm_toolbar_standard_priority_set, S>> },
};

constexpr PropertyTable<S> TABBAR_TABLE = property_table(TABBAR_ROWS, { .before = find_toolbar });

constexpr auto tabbar_set_property = set_property_by<TABBAR_TABLE>;

bool is_tabbar(const Evas_Object* obj)
{
    return obj && tabbar_toolbar(obj);
}

} // namespace

Evas_Object* tabbar_toolbar(const Evas_Object* tabbar)
{
    return tabbar ? static_cast<Evas_Object*>(evas_object_data_get(tabbar, KEY_TOOLBAR)) : nullptr;
}

Evas_Object* tabbar_for_tab(Evas_Object* parent)
{
    if (is_tabbar(parent))
        return parent;
    // A tab bar of a page the window no longer shows is as good as gone.
    if (!is_tabbar(g_last_tabbar) || retired_pages_contain(g_last_tabbar)) {
        adapter_refuse_add("no tab bar to join");
        return nullptr;
    }
    if (!parent || evas_object_evas_get(parent) != evas_object_evas_get(g_last_tabbar)) {
        adapter_refuse_add("the last tab bar is in another window");
        return nullptr;
    }
    return g_last_tabbar;
}

void tabbar_show_content(Evas_Object* tabbar, Evas_Object* content)
{
    if (auto* holder = static_cast<Evas_Object*>(evas_object_data_get(tabbar, KEY_HOLDER)))
        slot_content_set(tabbar, holder, HOLDER_PART, content);
    else
        slot_content_set(tabbar, tabbar, nullptr, content);
}

extern const WidgetAdapter tabbar_adapter = {
    .add = tabbar_add,
    .remove = tabbar_remove,
    .set_property = tabbar_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
