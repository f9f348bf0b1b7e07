#include <optional>

#include "components/adapters/Adapter.h"
#include "components/adapters/container_adapter/container_shared.h"
#include "components/adapters/property_walk.h"

namespace {

// The title texts of the naviframe's pages. They live on the naviframe
// (owned copies, freed with it) because set_property runs before the
// children are packed and the render's node tree is gone afterwards.
struct PageTitles {
    std::optional<std::string> title;
    std::optional<std::string> subtitle;
    std::optional<std::string> titleEnabled;
};

const char* const KEY_TITLES = "page-titles";

void titles_free(void* data, Evas*, Evas_Object*, void*)
{
    delete static_cast<PageTitles*>(data);
}

PageTitles* titles_of(Evas_Object* naviframe)
{
    auto* titles = static_cast<PageTitles*>(evas_object_data_get(naviframe, KEY_TITLES));
    if (titles)
        return titles;
    titles = new PageTitles;
    evas_object_data_set(naviframe, KEY_TITLES, titles);
    evas_object_event_callback_add(naviframe, EVAS_CALLBACK_DEL, titles_free, titles);
    return titles;
}

template <auto M>
void keep(Evas_Object*, const std::string& v, PageTitles& t)
{
    t.*M = v;
}

const Row<PageTitles> NAVIFRAME_ROWS[] = {
    { "title", keep<&PageTitles::title> },
    { "subtitle", keep<&PageTitles::subtitle> },
    { "item-title-enabled", keep<&PageTitles::titleEnabled> },
};

constexpr PropertyTable<PageTitles> NAVIFRAME_TABLE = property_table(NAVIFRAME_ROWS);

bool naviframe_set_property(Evas_Object* naviframe, _WidgetInfo* node, std::string)
{
    if (!naviframe || !node)
        return false;
    if (!node->properties)
        return true;
    return set_properties(naviframe, node, NAVIFRAME_TABLE, *titles_of(naviframe));
}

void apply_titles(Elm_Object_Item* page, const PageTitles& t)
{
    if (t.title)
        elm_object_item_part_text_set(page, "default", t.title->c_str());
    if (t.subtitle)
        elm_object_item_part_text_set(page, "subtitle", t.subtitle->c_str());
    bool enabled;
    if (t.titleEnabled && prop_bool(*t.titleEnabled, enabled))
        elm_naviframe_item_title_enabled_set(page, enabled, EINA_FALSE);
}

// One page at a time: a later child replaces the page of the earlier one.
bool naviframe_pack(Evas_Object* naviframe, Evas_Object* child, _WidgetInfo*)
{
    if (!naviframe || !child)
        return false;
    Elm_Object_Item* page = naviframe_replace_page(naviframe, naviframe, child);
    auto* titles = static_cast<const PageTitles*>(evas_object_data_get(naviframe, KEY_TITLES));
    if (page && titles)
        apply_titles(page, *titles);
    return true;
}

bool naviframe_unpack(Evas_Object* naviframe, Evas_Object*, _WidgetInfo*)
{
    if (!naviframe)
        return false;
    elm_naviframe_item_pop(naviframe);
    return true;
}

} // namespace

extern const WidgetAdapter naviframe_adapter = {
    .add = add_in_parent<elm_naviframe_add>,
    .remove = remove_widget,
    .set_property = naviframe_set_property,
    .pack = naviframe_pack,
    .unpack = naviframe_unpack,
};
