#pragma once
// In-process benchmark helpers: buffer-engine windows, one manual frame, and
// a window registered like a created one that runs the render command.
#include <Ecore_Evas.h>
#include <Elementary.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "components/adapters/Adapter.h"
#include "components/manager/window_manager.h"
#include "threads/dequeue_thread/cmd_render.h"
#include "utils/efl_util.h"
#include "utils/retired_pages.h"

namespace bench {

using Clock = std::chrono::steady_clock;

inline double ms_since(Clock::time_point t)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

inline Evas_Object* make_window(int w, int h)
{
    Evas_Object* win = elm_win_util_standard_add("", "");
    evas_object_resize(win, w, h);
    evas_object_show(win);
    return win;
}

inline void render_once(Evas_Object* win)
{
    ecore_evas_manual_render(ecore_evas_ecore_evas_get(evas_object_evas_get(win)));
}

struct EngineWindow {
    int id;
    Evas_Object* win;
    int w, h;
    EngineWindow(int w_, int h_, int id_ = 4242) : id(id_), w(w_), h(h_)
    {
        win = make_window(w, h);
        WindowManager::getInstance()->add(id, win, "/bench", "mobile");
        evas_object_data_set(win, "project-path", (void*)"/bench");
        evas_object_data_set(win, "win-width", &w);
        evas_object_data_set(win, "win-height", &h);
    }
    ~EngineWindow()
    {
        if (auto* p = static_cast<Evas_Object*>(evas_object_data_del(win, KEY_PAGE)))
            free_evas_object(p);
        WindowManager::getInstance()->remove(id);
        evas_object_del(win);
    }
    EngineWindow(const EngineWindow&) = delete;
    EngineWindow& operator=(const EngineWindow&) = delete;

    // The render command alone: teardown of the old tree, build of the new.
    void command(const std::string& data) const
    {
        CmdRender cmd;
        cmd.setId(id);
        cmd.deserialize(data);
        cmd.doCmd();
        // Counted here: the engine deletes the replaced page after the frame.
        retired_pages_flush();
    }
    Evas_Object* page() const { return static_cast<Evas_Object*>(evas_object_data_get(win, KEY_PAGE)); }
};

} // namespace bench
