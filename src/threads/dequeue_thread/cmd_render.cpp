#include "threads/dequeue_thread/cmd_render.h"

#include <strings.h>

#include "components/adapters/Adapter.h"
#include "components/adapters/widget_adapter/picker_shared.h"
#include "components/manager/window_manager.h"
#include "threads/dequeue_thread/cmd_json.h"
#include "threads/dequeue_thread/cmd_window.h"
#include "utils/efl_util.h"
#include "utils/json_util.h"
#include "utils/log_util.h"
#include "utils/retired_pages.h"
#include "utils/util.h"
#include "utils/window_canvas.h"

double getScaleFromWinSize(int width, int height)
{
    struct Entry {
        int w, h;
        double scale;
    };
    static const Entry TABLE[] = {
        { 480, 800, 1.8 }, { 720, 1280, 2.3 }, { 540, 960, 1.7 },
        { 320, 320, 1.4 }, { 360, 480, 1.3 },  { 360, 360, 1.3 },
    };
    for (const Entry& e : TABLE)
        if (e.w == width && e.h == height)
            return e.scale;
    return 1.8;
}

void CmdRender::deserialize(std::string data)
{
    Json::Value root;
    JsonRead read = json_util_read(data, root);
    if (read != JsonRead::Ok || !root.isObject()) {
        diag("command data %s; nothing rendered", read == JsonRead::Ok ? "is not a JSON object" : json_util_reason(read));
        m_bValid = false;
        return;
    }
    m_renderData = "defaultValue";
    m_renderType = "defaultValue";
    bool texts = cmd_json_text(root, "render-data", m_renderData) != Member::WrongType
        && cmd_json_text(root, "render-type", m_renderType) != Member::WrongType;
    if (!cmd_json_size(root, m_iWidth, m_iHeight, "nothing rendered")) {
        m_bValid = false;
    } else if (!texts) {
        diag("a text member has the wrong type; nothing rendered");
        m_bValid = false;
    }
}

void CmdRender::doCmd()
{
    int id = getId();
    Evas_Object* win = WindowManager::getInstance()->find(id);
    if (!win) {
        diag("no window with this id; nothing rendered");
        return;
    }
    if (!m_bValid)
        return;
    auto* path = static_cast<const char*>(evas_object_data_get(win, "project-path"));
    setProjectPath(path ? path : "");

    // Read and checked before the old tree goes, so that a refused tree
    // leaves the window showing what it showed.
    WidgetInfoPtr root = createWingetsInfo();
    if (!m_refusal.empty()) {
        diag("%s; the window keeps its previous tree", m_refusal.c_str());
        return;
    }
    // A frame still being drawn shows the old page: it goes out now, with the
    // old page's positions, not later with those of a page not yet laid out.
    window_canvas_settle(win);
    RenderBatch batch(win);
    // The old page goes after this render's frame, off its way. Pages with
    // file pickers go now, as they always did: whether the toolkit leaves open
    // the home folder a picker's path replaced depends on when the picker goes.
    if (auto* page = static_cast<Evas_Object*>(evas_object_data_del(win, KEY_PAGE))) {
        if (holds_file_picker(page))
            free_evas_object(page);
        else
            retired_pages_add(win, page);
    }
    WindowManager::getInstance()->setCurrentProjectPath(id);
    efl_util_set_fonts_global(id);
    double scale = getScaleFromWinSize(m_iWidth, m_iHeight);
    if (scale != getScale()) {
        setScale(scale);
        elm_config_scale_set(scale);
        elm_app_base_scale_set(scale);
    }
    if (!root) {
        diag("render data is not a JSON widget tree; window left empty");
        return;
    }
    if (Evas_Object* page = createWidgets(win, win, root.get()))
        evas_object_data_set(win, KEY_PAGE, page);
    // The resize frees the canvas a frame may still be drawn into.
    window_canvas_settle(win);
    evas_object_resize(win, m_iWidth, m_iHeight);
    evas_object_show(win);
}

namespace {

void restore_escapes(std::string& value)
{
    util_replace_string_all(value, UTIL_BACKSLASH_MARKER, "\\");
    util_remove_garbage_backslash(value);
    util_replace_all_utf8_string(value);
}

} // namespace

// A node whose own members have the wrong type cannot be built: it and its
// subtree are skipped. A single bad property is skipped alone.
bool CmdRender::refuse(std::string why)
{
    if (m_refusal.empty())
        m_refusal = std::move(why);
    return false;
}

WidgetInfoPtr CmdRender::makeNode(const Json::Value& object, _WidgetInfo* parent, bool restoreEscapes, int depth)
{
    if (depth > MAX_RENDER_DEPTH) {
        refuse("widget tree nests deeper than " + std::to_string(MAX_RENDER_DEPTH) + " levels");
        return nullptr;
    }
    if (++m_iNodes > MAX_RENDER_NODES) {
        refuse("widget tree has more than " + std::to_string(MAX_RENDER_NODES) + " nodes");
        return nullptr;
    }
    if (!object.isObject()) {
        diag("a widget node is not a JSON object; node skipped");
        return nullptr;
    }
    WidgetInfoPtr node(new _WidgetInfo);
    node->widgetType = "defaultValue";
    node->wid = "defaultValue";
    if (cmd_json_text(object, "widgetType", node->widgetType) == Member::WrongType
        || cmd_json_text(object, "wid", node->wid) == Member::WrongType) {
        diag("node \"%s\": \"wid\" or \"widgetType\" is not a string; node and its children skipped", node->wid.c_str());
        return nullptr;
    }
    node->parent = parent;
    node->projectPath = m_projectPath;
    const Json::Value& props = object["properties"];
    if (!props.isNull() && !props.isObject())
        diag("node \"%s\": \"properties\" is not an object; properties skipped", node->wid.c_str());
    if (props.isObject()) {
        for (const std::string& name : props.getMemberNames()) { // ascending byte order
            Property p { name, {} };
            if (cmd_json_text(props, name.c_str(), p.value) != Member::Ok) {
                diag("node \"%s\": property \"%s\" skipped", node->wid.c_str(), name.c_str());
                continue;
            }
            if (restoreEscapes)
                restore_escapes(p.value);
            node->properties = eina_list_append(node->properties, new Property(std::move(p)));
        }
    }
    const Json::Value& children = object["children"];
    if (!children.isNull() && !children.isArray())
        diag("node \"%s\": \"children\" is not an array; children skipped", node->wid.c_str());
    else if (children.isArray())
        node->children = createSubWidgets(node.get(), children, depth + 1);
    return node;
}

WidgetInfoPtr CmdRender::createWingetsInfo()
{
    m_refusal.clear();
    m_iNodes = 0;
    if (m_renderData.size() > MAX_RENDER_DATA_BYTES) {
        refuse("render data of " + std::to_string(m_renderData.size()) + " bytes is over the limit of "
               + std::to_string(MAX_RENDER_DATA_BYTES));
        return nullptr;
    }
    util_replace_string_all(m_renderData, "\\", UTIL_BACKSLASH_MARKER);
    // Every node is an object, and so are its properties.
    if (json_util_shape(m_renderData, JSON_MAX_DEPTH).objects > 2 * size_t(MAX_RENDER_NODES)) {
        refuse("widget tree has more than " + std::to_string(MAX_RENDER_NODES) + " nodes");
        return nullptr;
    }
    Json::Value root;
    JsonRead read = json_util_read(m_renderData, root);
    if (read == JsonRead::NotJson)
        return nullptr;
    if (read != JsonRead::Ok) {
        refuse(std::string("render data ") + json_util_reason(read));
        return nullptr;
    }
    WidgetInfoPtr tree = makeNode(root, nullptr, false, 1);
    return m_refusal.empty() ? std::move(tree) : nullptr;
}

Eina_List* CmdRender::createSubWidgetInfo(_WidgetInfo* parent, const Json::Value& array)
{
    int depth = 1;
    for (const _WidgetInfo* n = parent; n; n = n->parent)
        ++depth;
    return createSubWidgets(parent, array, depth);
}

Eina_List* CmdRender::createSubWidgets(_WidgetInfo* parent, const Json::Value& array, int depth)
{
    Eina_List* list = nullptr;
    for (Json::ArrayIndex i = 0; i < array.size() && m_refusal.empty(); ++i)
        if (WidgetInfoPtr node = makeNode(array[i], parent, true, depth))
            list = eina_list_append(list, node.release()); // the parent's list owns its children
    return list;
}

Evas_Object* CmdRender::createWidgets(Evas_Object* window, Evas_Object* parent, _WidgetInfo* node)
{
    node->winWidth = m_iWidth;
    node->winHeight = m_iHeight;
    const WidgetAdapter* adapter = getAdapter(node->widgetType);
    adapter_take_refusal();
    Evas_Object* obj = adapter && adapter->add ? adapter->add(parent) : nullptr;
    if (!obj) {
        std::string reason = adapter_take_refusal();
        diag("node \"%s\": %s widget type \"%s\"%s%s%s; node and its children skipped", node->wid.c_str(),
             adapter ? "could not create" : "unknown", node->widgetType.c_str(), reason.empty() ? "" : " (",
             reason.c_str(), reason.empty() ? "" : ")");
        return nullptr;
    }
    adapter_attach(obj, adapter);
    efl_util_tag_text(obj, KEY_WID, node->wid.c_str());
    efl_util_tag_text(obj, KEY_WIDGET_TYPE, node->widgetType.c_str());
    evas_object_show(obj);
    adapter->set_property(obj, node, m_renderType);

    const char* parentType = elm_object_widget_type_get(parent);
    if (parentType && strcasecmp(parentType, "Elm_Win") == 0) {
        evas_object_size_hint_weight_set(obj, 1.0, 1.0);
        window_canvas_fill(parent, obj);
    } else if (node->parent && strcasecmp(node->parent->widgetType.c_str(), "zelva.doc") == 0) {
        evas_object_size_hint_weight_set(obj, 1.0, 1.0);
        window_canvas_fill(window, obj);
    } else if (const WidgetAdapter* container = adapter_of(parent)) {
        container->pack(parent, obj, node);
    }

    const Eina_List* l;
    void* data;
    EINA_LIST_FOREACH(node->children, l, data)
        if (Evas_Object* child = createWidgets(window, obj, static_cast<_WidgetInfo*>(data)))
            efl_util_list_append(obj, KEY_CHILDREN, child);
    return obj;
}
