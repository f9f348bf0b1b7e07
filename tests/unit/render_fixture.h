#pragma once
#include "components/adapters/Adapter.h"
#include "components/manager/window_manager.h"
#include "threads/dequeue_thread/cmd_render.h"
#include "toolkit_fixture.h"
#include "tree_json.h"
#include "utils/efl_util.h"
#include "utils/retired_pages.h"

// One command run in-process, without what the dispatcher does after it.
template <class Command>
void run_command_alone(int id, const Json::Value& data)
{
    Command cmd;
    cmd.setId(id);
    cmd.deserialize(tree_json::compact(data));
    cmd.doCmd();
}

// One command run in-process the way the dispatcher runs it.
template <class Command>
void run_command(int id, const Json::Value& data)
{
    run_command_alone<Command>(id, data);
    // The dispatcher deletes the replaced page before the next request runs.
    retired_pages_flush();
}

// A render command's data: the size and the tree as JSON text.
inline Json::Value render_data(int width, int height, const std::string& tree)
{
    Json::Value data;
    data["width"] = width;
    data["height"] = height;
    data["render-data"] = tree;
    return data;
}

// A window registered like a created one, rendered through the render
// command in-process, then laid out and drawn once.
class RenderWindowTest : public ToolkitTest {
protected:
    const int id = 901;
    int width = 480, height = 800;

    void SetUp() override
    {
        ToolkitTest::SetUp();
        evas_object_resize(win, width, height);
        WindowManager::getInstance()->add(id, win, "/p", "mobile");
        evas_object_data_set(win, "project-path", (void*)"/p");
        evas_object_data_set(win, "win-width", &width);
        evas_object_data_set(win, "win-height", &height);
    }
    void TearDown() override
    {
        window_canvas_settle(win);
        if (auto* page = static_cast<Evas_Object*>(evas_object_data_del(win, KEY_PAGE)))
            free_evas_object(page);
        WindowManager::getInstance()->remove(id);
        g_render_batching = true;
        ToolkitTest::TearDown();
    }

    void renderText(const std::string& tree)
    {
        renderTextIn(id, tree);
        renderOnce();
    }
    // The render command alone, for the window registered under `windowId`.
    void renderTextIn(int windowId, const std::string& tree)
    {
        run_command<CmdRender>(windowId, render_data(width, height, tree));
    }
    void render(const Json::Value& tree) { renderText(tree_json::compact(tree)); }

    Evas_Object* page() const { return static_cast<Evas_Object*>(evas_object_data_get(win, KEY_PAGE)); }
};
