#include "components/adapters/container_adapter/container_shared.h"

#include "components/adapters/Adapter.h"

namespace {

const char* wid_of(const Evas_Object* obj)
{
    return obj ? static_cast<const char*>(evas_object_data_get(obj, KEY_WID)) : nullptr;
}

} // namespace

void note_replaced_content(Evas_Object* subject, Evas_Object* previous, Evas_Object* child)
{
    const char* before = wid_of(previous);
    if (!before || previous == child)
        return;
    const char* after = wid_of(child);
    node_diag(subject, "holds one child here: \"%s\" replaces \"%s\", which is removed", after ? after : "",
              before);
}

void slot_content_set(Evas_Object* subject, Evas_Object* holder, const char* part, Evas_Object* child)
{
    note_replaced_content(subject, elm_object_part_content_get(holder, part), child);
    elm_object_part_content_set(holder, part, child);
}

Elm_Object_Item* naviframe_replace_page(Evas_Object* subject, Evas_Object* naviframe, Evas_Object* content)
{
    Elm_Object_Item* shown = elm_naviframe_top_item_get(naviframe);
    note_replaced_content(subject, shown ? elm_object_item_content_get(shown) : nullptr, content);
    elm_naviframe_item_pop(naviframe);
    return elm_naviframe_item_push(naviframe, nullptr, nullptr, nullptr, content, nullptr);
}

Elm_Object_Item* naviframe_push_untitled(Evas_Object* naviframe, Evas_Object* content)
{
    Elm_Object_Item* page = elm_naviframe_item_push(naviframe, nullptr, nullptr, nullptr, content, nullptr);
    if (page)
        elm_naviframe_item_title_enabled_set(page, EINA_FALSE, EINA_FALSE);
    return page;
}

namespace {

void indicator(Evas_Object* obj, const std::string& value, NoState&)
{
    if (value == "true") {
        elm_object_signal_emit(obj, "elm,state,indicator,show", "elm");
        elm_object_signal_emit(obj, "elm,state,indicator,opaque", "elm");
    } else if (value == "false") {
        elm_object_signal_emit(obj, "elm,state,indicator,hide", "elm");
    }
}

const Row<NoState> INDICATOR_ROWS[] = {
    { "indicator", indicator },
};

} // namespace

extern const PropertyTable<NoState> INDICATOR_TABLE = property_table(INDICATOR_ROWS);

bool prop_int_in(Evas_Object* obj, const char* name, const std::string& value, int lo, int hi, int& out)
{
    int i;
    if (!prop_int(value, i))
        return false;
    if (i < lo || i >= hi) {
        node_diag(obj, "\"%s\" %d is outside %d..%d; ignored", name, i, lo, hi - 1);
        return false;
    }
    out = i;
    return true;
}
