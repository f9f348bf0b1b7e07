#include <cstdlib>
#include <cstring>
#include <string>

#include "components/adapters/Adapter.h"
#include "utils/efl_util.h"
#include "utils/json_util.h"

namespace {

const char* text_tag(const Evas_Object* obj, const char* key)
{
    auto* text = static_cast<const char*>(evas_object_data_get(obj, key));
    return text ? text : "";
}

int int_tag(const Evas_Object* obj, const char* key)
{
    auto* value = static_cast<const int*>(evas_object_data_get(obj, key));
    return value ? *value : 0;
}

Json::Value full_rectangle(int x, int y, int w, int h)
{
    Json::Value r;
    r["x"] = x;
    r["y"] = y;
    r["w"] = w;
    r["h"] = h;
    r["l"] = 0;
    r["r"] = 0;
    r["t"] = 0;
    r["b"] = 0;
    r["left"] = x;
    r["top"] = y;
    r["width"] = w;
    r["height"] = h;
    return r;
}

bool all_zero(int x, int y, int w, int h) { return x == 0 && y == 0 && w == 0 && h == 0; }

void add_placeholders(Evas_Object* obj, Json::Value& element, const char* key)
{
    const Eina_List* list = efl_util_list_get(obj, KEY_PLACEHOLDER);
    if (!list)
        return;
    Json::Value array;
    int k = 0;
    const Eina_List* l;
    void* entry;
    EINA_LIST_FOREACH(list, l, entry)
        get_placeholder_position(static_cast<Evas_Object*>(entry), array, k++);
    element[key] = array;
}

char* heap_text(const Json::Value& value)
{
    std::string text = json_util_styled(value);
    char* out = static_cast<char*>(malloc(text.size() + 1));
    if (out)
        memcpy(out, text.c_str(), text.size() + 1);
    return out;
}

} // namespace

void get_placeholder_position(Evas_Object* placeholder, Json::Value& array, int index)
{
    int x = 0, y = 0, w = 0, h = 0;
    evas_object_geometry_get(placeholder, &x, &y, &w, &h);
    Json::Value& element = array[index];
    element["rectangle"]["x"] = x;
    element["rectangle"]["y"] = y;
    element["rectangle"]["w"] = w;
    element["rectangle"]["h"] = h;
    if (evas_object_data_get(placeholder, KEY_WID))
        element["wid"] = text_tag(placeholder, KEY_WID);
}

char* get_all_widget_positions(Evas_Object* window, Evas_Object* root)
{
    if (!root)
        return nullptr;
    Json::Value array;
    int w = int_tag(window, "win-width");
    int h = int_tag(window, "win-height");
    Json::Value& element = array[0];
    element["wid"] = text_tag(root, KEY_WID);
    element["rectangle"] = full_rectangle(0, 0, w, h);
    add_placeholders(root, element, "placeholders");
    int index = 0;
    const Eina_List* l;
    void* child;
    EINA_LIST_FOREACH(efl_util_list_get(root, KEY_CHILDREN), l, child)
        if (child)
            index = get_widget_positions(static_cast<Evas_Object*>(child), array, index + 1);
    return heap_text(array);
}

// Items that are not realised have no geometry of their own: fall back to
// the item's tracking object, then to the widget that holds the item.
int get_widget_positions(Evas_Object* obj, Json::Value& array, int index)
{
    int x = 0, y = 0, w = 0, h = 0;
    evas_object_geometry_get(obj, &x, &y, &w, &h);
    if (all_zero(x, y, w, h)) {
        if (auto* track = static_cast<Evas_Object*>(evas_object_data_get(obj, "item-track")))
            evas_object_geometry_get(track, &x, &y, &w, &h);
    }
    if (all_zero(x, y, w, h)) {
        auto* item = static_cast<Elm_Object_Item*>(evas_object_data_get(obj, "widgetitem"));
        if (Evas_Object* holder = item ? elm_object_item_widget_get(item) : nullptr)
            evas_object_geometry_get(holder, &x, &y, &w, &h);
    }
    Json::Value& element = array[index];
    element["wid"] = text_tag(obj, KEY_WID);
    element["rectangle"] = full_rectangle(x, y, w, h);
    add_placeholders(obj, element, "placeholders");
    const Eina_List* l;
    void* child;
    EINA_LIST_FOREACH(efl_util_list_get(obj, KEY_CHILDREN), l, child)
        if (child)
            index = get_widget_positions(static_cast<Evas_Object*>(child), array, index + 1);
    return index;
}

char* get_placeholder_positions(Evas_Object* root, const char*)
{
    if (!root)
        return nullptr;
    Json::Value array;
    int next = 0;
    const Eina_List* l;
    void* child;
    EINA_LIST_FOREACH(efl_util_list_get(root, KEY_CHILDREN), l, child)
        if (child)
            next = get_placeholder_positions(static_cast<Evas_Object*>(child), array, next);
    return heap_text(array);
}

int get_placeholder_positions(Evas_Object* obj, Json::Value& array, int index)
{
    if (efl_util_list_get(obj, KEY_PLACEHOLDER)) {
        Json::Value& element = array[index];
        element["wid"] = text_tag(obj, KEY_WID);
        add_placeholders(obj, element, "ph_list");
        element["ph_cnt"] = Json::Value(int(element["ph_list"].size()));
        ++index;
    }
    const Eina_List* l;
    void* child;
    EINA_LIST_FOREACH(efl_util_list_get(obj, KEY_CHILDREN), l, child)
        if (child)
            index = get_placeholder_positions(static_cast<Evas_Object*>(child), array, index);
    return index;
}
