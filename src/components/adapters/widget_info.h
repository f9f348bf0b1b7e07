#pragma once
#include <Eina.h>

#include <memory>
#include <string>

struct Property {
    std::string name;
    std::string value;
};

// One node of a render request's widget tree; lives only while that render runs.
struct _WidgetInfo {
    std::string wid;
    std::string widgetType;
    Eina_List* properties = nullptr; // owned Property*, ascending by name
    Eina_List* children = nullptr;   // owned _WidgetInfo*, in request order
    _WidgetInfo* parent = nullptr;
    int winWidth = 0;
    int winHeight = 0;
    std::string projectPath;
};

void deleteWidgetsInfo(_WidgetInfo* node);

// A node and its subtree, deleted together.
struct WidgetInfoDelete {
    void operator()(_WidgetInfo* node) const { deleteWidgetsInfo(node); }
};
using WidgetInfoPtr = std::unique_ptr<_WidgetInfo, WidgetInfoDelete>;
// The value of the node's property `name`, or null when it has none.
const std::string* widget_info_property(const _WidgetInfo* node, const char* name);
