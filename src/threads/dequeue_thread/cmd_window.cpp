#include "threads/dequeue_thread/cmd_window.h"

#include <Elementary.h>

#include <memory>
#include <string>

#include "components/adapters/Adapter.h"
#include "components/manager/project_manager.h"
#include "components/manager/window_manager.h"
#include "components/msg_writer/msg_writer.h"
#include "threads/dequeue_thread/cmd_json.h"
#include "threads/dequeue_thread/cmd_render.h"
#include "utils/efl_util.h"
#include "utils/json_util.h"
#include "utils/log_util.h"
#include "utils/theme_util.h"
#include "utils/window_canvas.h"

namespace {

// What a created window carries for the paint snapshot, the position
// documents ("win-width", "win-height": the created size) and the render
// command ("project-path"). One block, freed with the window whichever way
// the window goes.
struct WindowData {
    int width;
    int height;
    std::string projectPath;
};

const char* const WINDOW_DATA_KEYS[] = { "win-width", "win-height", "project-path" };

void window_data_free(void* data, Evas*, Evas_Object* win, void*)
{
    std::unique_ptr<WindowData> owned(static_cast<WindowData*>(data));
    for (const char* key : WINDOW_DATA_KEYS)
        evas_object_data_del(win, key);
}

void window_data_attach(Evas_Object* win, int width, int height, const std::string& projectPath)
{
    auto data = std::make_unique<WindowData>(WindowData { width, height, projectPath });
    evas_object_data_set(win, "win-width", &data->width);
    evas_object_data_set(win, "win-height", &data->height);
    evas_object_data_set(win, "project-path", const_cast<char*>(data->projectPath.c_str()));
    evas_object_event_callback_add(win, EVAS_CALLBACK_FREE, window_data_free, data.release());
}

} // namespace

// Not JSON at all: every field keeps its initial value and the window is
// still made (0 x 0). Valid JSON without a usable size is refused instead.
void CmdCreate::deserialize(std::string data)
{
    Json::Value root;
    if (JsonRead r = json_util_read(data, root); r != JsonRead::Ok) {
        // Text that is not JSON at all makes the 0 x 0 window the protocol
        // asks for; JSON the engine refuses to read makes nothing.
        if (r != JsonRead::NotJson) {
            diag("command data %s; no window made", json_util_reason(r));
            m_bValid = false;
        }
        return;
    }
    if (!root.isObject()) {
        diag("command data is not a JSON object; no window made");
        m_bValid = false;
        return;
    }
    m_projectPath = "defaultValue";
    m_elmProfile = "mobile";
    bool texts = cmd_json_text(root, "project-path", m_projectPath) != Member::WrongType
        && cmd_json_text(root, "elm-profile", m_elmProfile) != Member::WrongType
        && cmd_json_text(root, "default-theme-path", m_defaultThemePath) != Member::WrongType
        && cmd_json_text(root, "custom-theme-path", m_customThemePath) != Member::WrongType;
    if (!cmd_json_size(root, m_iWidth, m_iHeight, "no window made")) {
        m_bValid = false;
        return;
    }
    if (!texts) {
        diag("a text member has the wrong type; no window made");
        m_bValid = false;
    }
}

void CmdCreate::doCmd()
{
    int id = getId();
    WindowManager* windows = WindowManager::getInstance();
    if (!windows->find(id)) {
        if (!m_bValid)
            return;
        efl_util_set_elm_profile(m_elmProfile.c_str());
        Evas_Object* win = efl_util_create_off_screen_window_with_callbacks(id);
        if (!win) {
            diag("the toolkit could not make a window");
            return;
        }
        window_canvas_watch(win);
        windows->add(id, win, m_projectPath, m_elmProfile);
        windows->setCurrentProjectPath(id);
        efl_util_set_fonts_global(id);
        elm_win_autodel_set(win, EINA_TRUE);
        evas_object_resize(win, m_iWidth, m_iHeight);
        evas_object_show(win);
        window_data_attach(win, m_iWidth, m_iHeight, m_projectPath);
        // A refused theme file counts as none given.
        if (!m_defaultThemePath.empty() && !theme_file_usable(m_defaultThemePath.c_str(), "the default theme is used"))
            m_defaultThemePath.clear();
        Elm_Theme* theme = ProjectManager::getInstance()->setTheme(m_projectPath, m_defaultThemePath);
        if (!m_customThemePath.empty() && theme_file_usable(m_customThemePath.c_str(), "no overlay added"))
            efl_util_overlay_theme(theme, m_customThemePath.c_str());
        elm_object_theme_set(win, theme);
    }
    MsgWriter::getInstance()->sendResponseEventMessage(id, "EVENT_CREATE", "");
}

void CmdDestroy::doCmd()
{
    int id = getId();
    Evas_Object* win = WindowManager::getInstance()->find(id);
    if (!win) {
        diag("no window with this id; nothing destroyed");
        return;
    }
    // A frame still being drawn would write into pixels the deletion frees.
    window_canvas_settle(win);
    window_canvas_unwatch(win);
    WindowManager::getInstance()->remove(id);
    remove_callbacks(win);
    if (auto* page = static_cast<Evas_Object*>(evas_object_data_del(win, KEY_PAGE)))
        free_evas_object(page);
    evas_object_del(win);
    MsgWriter::getInstance()->sendResponseEventMessage(id, "EVENT_DESTROY", "");
}
