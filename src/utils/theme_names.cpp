#include <Edje.h>
#include <json/json.h>

#include <cstring>
#include <string>
#include <string_view>

#include "utils/json_util.h"
#include "utils/theme_util.h"

namespace {

// Group prefixes whose fourth component still belongs to the part: the style
// is whatever follows the whole prefix.
const char* const exception_[] = {
    "elm/map/marker/empty/",
    "elm/map/marker/radio/",
    "elm/map/circle/base/",
    "elm/map/scale/base/",
    "elm/scroller/panel/top/",
    "elm/scroller/panel/bottom/",
    "elm/scroller/panel/left/",
    "elm/scroller/panel/right/",
    "elm/index/base/vertical/",
    "elm/index/item/vertical/",
    "elm/index/item_odd/vertical/",
    "elm/index/item/horizontal/",
    "elm/index/item_odd/horizontal/",
    "elm/colorselector/picker/base/",
    "elm/colorselector/item/color/",
    "elm/colorselector/image/colorbar_0/",
    "elm/colorselector/image/colorbar_1/",
    "elm/colorselector/image/colorbar_2/",
    "elm/colorselector/image/colorbar_3/",
    "elm/gengrid/item/default/",
    "elm/entry/handler/start/",
    "elm/entry/handler/end/",
    "elm/entry/emoticon/wtf/",
    "elm/popup/buttons1/popup/",
    "elm/popup/buttons2/popup/",
    "elm/popup/buttons3/popup/",
    "elm/popup/content/popup/",
    "elm/popup/item/popup/",
};

struct GroupName {
    std::string_view widget;
    std::string_view part;
    const char* rest = nullptr; // after the '/' that ends the part; null when there is none
};

const char* component_end(const char* s)
{
    while (*s && *s != '/')
        ++s;
    return s;
}

// False for groups outside the grammar: not under "elm/", or with a component
// longer than the grammar takes (see theme_util.h).
bool split_group(const char* group, GroupName& out)
{
    if (!group || strncmp(group, "elm/", 4) != 0)
        return false;
    const char* widget = group + 4;
    const char* widgetEnd = component_end(widget);
    out.widget = std::string_view(widget, widgetEnd - widget);
    if (*widgetEnd == '/') {
        const char* part = widgetEnd + 1;
        const char* partEnd = component_end(part);
        out.part = std::string_view(part, partEnd - part);
        if (*partEnd == '/')
            out.rest = partEnd + 1;
    }
    return out.widget.size() <= WIDGET_NAME_MAX && out.part.size() <= PART_NAME_MAX
        && (!out.rest || strlen(out.rest) <= STYLE_NAME_MAX);
}

// The toolkit's shared strings look one-byte strings up in a table indexed
// by a signed char, so a single byte above 0x7f would be read from outside
// that table. Such a name (never valid UTF-8) is outside the grammar.
const char* share(std::string_view name)
{
    if (name.size() == 1 && static_cast<unsigned char>(name[0]) > 0x7f)
        return nullptr;
    return eina_stringshare_add_length(name.data(), unsigned(name.size()));
}

bool is_list_widget(std::string_view widget) { return widget == "genlist" || widget == "gengrid"; }

bool widget_is(const char* group, const char* widget)
{
    const char* name = widget_name_get(group);
    bool same = name && strcmp(name, widget) == 0;
    eina_stringshare_del(name);
    return same;
}

// Inserts a shared string in sorted position, or releases it when the list
// already has it.
Eina_List* insert_unique(Eina_List* list, const char* name)
{
    if (!name)
        return list;
    Eina_List* l;
    void* data;
    EINA_LIST_FOREACH(list, l, data)
    {
        int order = efl_util_string_comp(name, data);
        if (order == 0) {
            eina_stringshare_del(name);
            return list;
        }
        if (order < 0)
            return eina_list_prepend_relative_list(list, name, l);
    }
    return eina_list_append(list, name);
}

} // namespace

const char* _strrstr(const char* text, const char* pattern)
{
    if (!text || !pattern || !*text || !*pattern)
        return nullptr;
    size_t textLength = strlen(text);
    size_t patternLength = strlen(pattern);
    if (patternLength >= textLength)
        return nullptr;
    // An occurrence at the first character is never reported.
    for (size_t i = textLength - patternLength; i > 0; --i) {
        if (memcmp(text + i, pattern, patternLength) == 0)
            return text + i;
    }
    return nullptr;
}

const char* widget_name_get(const char* group)
{
    GroupName name;
    if (!split_group(group, name))
        return nullptr;
    return share(name.widget);
}

const char* style_name_get(const char* group)
{
    GroupName name;
    if (!split_group(group, name))
        return nullptr;
    for (const char* prefix : exception_) {
        size_t length = strlen(prefix);
        if (strncmp(group, prefix, length) == 0 && group[length])
            return share(group + length);
    }
    // The other genlist groups carry item styles, not widget styles.
    if (name.widget == "genlist" && name.part != "base")
        return nullptr;
    return share(name.rest ? name.rest : "");
}

const char* item_style_name_get(const char* group, const char* tail)
{
    GroupName name;
    if (!tail || !split_group(group, name))
        return nullptr;
    if (!is_list_widget(name.widget) || name.part == "base")
        return nullptr;
    const char* rest = name.rest ? name.rest : "";
    const char* p = _strrstr(rest, tail);
    if (!p)
        return nullptr;
    // p never starts the rest, so the '/' (or whatever) before it exists.
    return share(std::string_view(rest, p - rest - 1));
}

int efl_util_string_comp(const void* a, const void* b)
{
    return strcmp(static_cast<const char*>(a), static_cast<const char*>(b));
}

Eina_List* widget_name_list_get(const Eina_List* groups)
{
    Eina_List* names = nullptr;
    const Eina_List* l;
    void* group;
    EINA_LIST_FOREACH(groups, l, group)
    {
        names = insert_unique(names, widget_name_get(static_cast<const char*>(group)));
    }
    return names;
}

Eina_List* style_name_list_get(const Eina_List* groups, const char* widget)
{
    if (!widget)
        return nullptr;
    Eina_List* names = nullptr;
    const Eina_List* l;
    void* data;
    EINA_LIST_FOREACH(groups, l, data)
    {
        auto* group = static_cast<const char*>(data);
        if (widget_is(group, widget))
            names = insert_unique(names, style_name_get(group));
    }
    return names;
}

Eina_List* item_style_name_list_get(const Eina_List* groups, const char* widget, const char* style)
{
    if (!widget || !style)
        return nullptr;
    Eina_List* names = nullptr;
    const Eina_List* l;
    void* data;
    EINA_LIST_FOREACH(groups, l, data)
    {
        auto* group = static_cast<const char*>(data);
        if (!widget_is(group, widget))
            continue;
        if (const char* tail = _strrstr(group, style))
            names = insert_unique(names, item_style_name_get(group, tail));
    }
    return names;
}

void theme_util_name_list_free(Eina_List* names)
{
    void* name;
    EINA_LIST_FREE(names, name)
    {
        eina_stringshare_del(static_cast<const char*>(name));
    }
}

std::string efl_util_get_group_names(const char* path, const char* pathText)
{
    Eina_List* groups = path ? edje_file_collection_list(path) : nullptr;
    Json::Value names(Json::objectValue);
    int count = 0;
    const Eina_List* l;
    void* group;
    EINA_LIST_FOREACH(groups, l, group)
    {
        names[std::to_string(count++)] = static_cast<const char*>(group);
    }
    names["path"] = pathText ? pathText : "";
    names["length"] = count;
    edje_file_collection_list_free(groups);

    Json::Value entry(Json::objectValue);
    entry["group_names"] = names;
    Json::Value answer(Json::arrayValue);
    answer.append(entry);
    return json_util_styled(answer);
}

std::string efl_util_get_style_names(const char* path, const char* pathText)
{
    Json::Value answer(Json::objectValue);
    answer["path"] = pathText ? pathText : "";
    Json::Value& widgets = answer["widgets"];

    Eina_List* groups = path ? edje_file_collection_list(path) : nullptr;
    Eina_List* widgetNames = widget_name_list_get(groups);
    Json::ArrayIndex i = 0;
    const Eina_List* wl;
    void* widget;
    EINA_LIST_FOREACH(widgetNames, wl, widget)
    {
        auto* widgetName = static_cast<const char*>(widget);
        Json::Value& entry = widgets[i++];
        entry["widgetType"] = widgetName;
        Json::Value& styles = entry["styles"];
        Eina_List* styleNames = style_name_list_get(groups, widgetName);
        const Eina_List* sl;
        void* style;
        EINA_LIST_FOREACH(styleNames, sl, style)
        {
            auto* styleName = static_cast<const char*>(style);
            Json::Value& items = styles[styleName];
            Eina_List* itemNames = item_style_name_list_get(groups, widgetName, styleName);
            const Eina_List* il;
            void* item;
            EINA_LIST_FOREACH(itemNames, il, item)
            {
                items.append(static_cast<const char*>(item));
            }
            theme_util_name_list_free(itemNames);
        }
        theme_util_name_list_free(styleNames);
    }
    theme_util_name_list_free(widgetNames);
    edje_file_collection_list_free(groups);
    return json_util_styled(answer);
}
