#include "threads/dequeue_thread/cmd_window.h"

#include <Elementary.h>

#include <cstdlib>

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
        evas_object_data_set(win, "win-width", new int(m_iWidth));
        evas_object_data_set(win, "win-height", new int(m_iHeight));
        evas_object_data_set(win, "project-path", strdup(m_projectPath.c_str()));
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
    free(evas_object_data_del(win, "project-path"));
    delete static_cast<int*>(evas_object_data_del(win, "win-width"));
    delete static_cast<int*>(evas_object_data_del(win, "win-height"));
    remove_callbacks(win);
    {
        RenderBatch batch(win);
        if (auto* page = static_cast<Evas_Object*>(evas_object_data_del(win, KEY_PAGE)))
            free_evas_object(page);
    }
    evas_object_del(win);
    MsgWriter::getInstance()->sendResponseEventMessage(id, "EVENT_DESTROY", "");
}
