#include "components/adapters/widget_info.h"

void deleteWidgetsInfo(_WidgetInfo* node)
{
    if (!node)
        return;
    void* data;
    EINA_LIST_FREE(node->children, data)
        deleteWidgetsInfo(static_cast<_WidgetInfo*>(data));
    EINA_LIST_FREE(node->properties, data)
        delete static_cast<Property*>(data);
    delete node;
}

const std::string* widget_info_property(const _WidgetInfo* node, const char* name)
{
    if (!node)
        return nullptr;
    const Eina_List* l;
    void* data;
    EINA_LIST_FOREACH(node->properties, l, data) {
        auto* p = static_cast<Property*>(data);
        if (p->name == name)
            return &p->value;
    }
    return nullptr;
}
