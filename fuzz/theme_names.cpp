// Theme group names, one per line: the name grammar (widget, style and item
// style of a group) and the sorted, unique name lists built from them.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz_support.h"
#include "utils/theme_util.h"

namespace {

void check_name(const char* name, size_t limit)
{
    FUZZ_REQUIRE(!name || strlen(name) <= limit);
    eina_stringshare_del(name);
}

// Sorted, unique, and every entry a shared string the caller releases.
void check_list(Eina_List* names)
{
    const char* previous = nullptr;
    const Eina_List* l;
    void* data;
    EINA_LIST_FOREACH(names, l, data)
    {
        auto* name = static_cast<const char*>(data);
        FUZZ_REQUIRE(!previous || strcmp(previous, name) < 0);
        previous = name;
    }
    theme_util_name_list_free(names);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz_init_once();
    std::string text = fuzz_text(data, size);
    std::vector<std::string> lines;
    for (size_t start = 0; start <= text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    Eina_List* groups = nullptr;
    for (const std::string& line : lines) {
        const char* group = line.c_str();
        check_name(widget_name_get(group), WIDGET_NAME_MAX);
        check_name(style_name_get(group), STYLE_NAME_MAX + PART_NAME_MAX + 1);
        const char* tail = _strrstr(group, "/");
        FUZZ_REQUIRE(!tail || (tail > group && tail < group + line.size()));
        check_name(item_style_name_get(group, tail), STYLE_NAME_MAX);
        groups = eina_list_append(groups, group);
    }
    Eina_List* widgets = widget_name_list_get(groups);
    const char* first = widgets ? static_cast<const char*>(eina_list_data_get(widgets)) : nullptr;
    if (first) {
        Eina_List* styles = style_name_list_get(groups, first);
        const char* style = styles ? static_cast<const char*>(eina_list_data_get(styles)) : nullptr;
        if (style)
            check_list(item_style_name_list_get(groups, first, style));
        check_list(styles);
    }
    check_list(widgets);
    eina_list_free(groups);
    return 0;
}
