// Windows made and destroyed by the create and destroy commands, two at once:
// each window's own data (created size, project path) lives exactly as long
// as the window, and one window going never touches the other's.
#include <Ecore_Evas.h>
#include <Elementary.h>
#include <gtest/gtest.h>
#include <json/json.h>

#include <string>

#include "fake_connection.h"
#include "render_fixture.h"
#include "threads/dequeue_thread/cmd_window.h"
#include "utils/heap_block.h"

namespace {

class WindowCommands : public ::testing::Test {
protected:
    CapturedWriter out;
    int freed[2] = { 0, 0 };

    static Evas_Object* create(int id, int width, int height, const std::string& project)
    {
        Json::Value data;
        data["width"] = width;
        data["height"] = height;
        data["project-path"] = project;
        run_command<CmdCreate>(id, data);
        return WindowManager::getInstance()->find(id);
    }
    static void destroy(int id) { run_command<CmdDestroy>(id, Json::Value()); }
    static void render(int id, int width, int height, const char* label)
    {
        Json::Value text;
        text["text"] = label;
        Json::Value tree = tree_json::node("efl.box", "box", Json::Value(), Json::Value(Json::arrayValue));
        tree["children"].append(tree_json::node("efl.label", "label", text));
        run_command<CmdRender>(id, render_data(width, height, tree_json::compact(tree)));
    }
    static void counted(void* data, Evas*, Evas_Object*, void*) { ++*static_cast<int*>(data); }
    void watch(Evas_Object* win, int slot) { evas_object_event_callback_add(win, EVAS_CALLBACK_FREE, counted, &freed[slot]); }

    static int intData(Evas_Object* win, const char* key)
    {
        auto* value = static_cast<const int*>(evas_object_data_get(win, key));
        return value ? *value : -1;
    }
    static std::string textData(Evas_Object* win, const char* key)
    {
        auto* value = static_cast<const char*>(evas_object_data_get(win, key));
        return value ? value : "(none)";
    }
    // The widget positions of the window's page, as the frame would carry them.
    static Json::Value positions(Evas_Object* win)
    {
        auto* page = static_cast<Evas_Object*>(evas_object_data_get(win, KEY_PAGE));
        HeapBlock<char> text(page ? get_all_widget_positions(win, page) : nullptr);
        return text ? tree_json::parse(text.get()) : Json::Value();
    }
};

TEST_F(WindowCommands, DestroyingOneWindowFreesItsDataOnceAndLeavesTheOther)
{
    Evas_Object* one = create(7101, 120, 90, "/projects/one");
    Evas_Object* two = create(7102, 64, 48, "/projects/two");
    ASSERT_TRUE(one && two);
    watch(one, 0);
    watch(two, 1);
    EXPECT_EQ(intData(one, "win-width"), 120);
    EXPECT_EQ(textData(one, "project-path"), "/projects/one");
    render(7101, 120, 90, "one");
    render(7102, 64, 48, "two");

    destroy(7101);
    EXPECT_EQ(freed[0], 1) << "the destroyed window and its data are gone";
    EXPECT_EQ(freed[1], 0);
    EXPECT_EQ(WindowManager::getInstance()->find(7101), nullptr);
    EXPECT_EQ(intData(two, "win-width"), 64);
    EXPECT_EQ(intData(two, "win-height"), 48);
    EXPECT_EQ(textData(two, "project-path"), "/projects/two");

    // The other window still renders and places its page at its created size.
    render(7102, 64, 48, "again");
    ecore_evas_manual_render(ecore_evas_ecore_evas_get(evas_object_evas_get(two)));
    Json::Value widgets = positions(two);
    ASSERT_TRUE(widgets.isArray() && !widgets.empty());
    EXPECT_EQ(widgets[0]["rectangle"]["w"], 64);
    EXPECT_EQ(widgets[0]["rectangle"]["h"], 48);

    testing::internal::CaptureStderr();
    destroy(7101);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("no window with this id"), std::string::npos);
    EXPECT_EQ(freed[0], 1) << "a second destroy frees nothing again";
    destroy(7102);
    EXPECT_EQ(freed[1], 1);
}

// Both windows torn down in one go, before either draws again, and a window
// the toolkit deletes without the destroy command: each frees its own data
// exactly once (the sanitizer build turns a second free into a failure).
TEST_F(WindowCommands, TearingDownTwoWindowsAtOnceFreesEachOnce)
{
    Evas_Object* one = create(7201, 100, 80, "/projects/a");
    Evas_Object* two = create(7202, 100, 80, "/projects/a");
    ASSERT_TRUE(one && two);
    ASSERT_NE(one, two);
    watch(one, 0);
    watch(two, 1);
    render(7201, 100, 80, "a");
    render(7202, 100, 80, "b");
    destroy(7202);
    destroy(7201);
    EXPECT_EQ(freed[0], 1);
    EXPECT_EQ(freed[1], 1);

    Evas_Object* kept = create(7203, 50, 40, "/projects/b");
    Evas_Object* gone = create(7204, 50, 40, "/projects/b");
    ASSERT_TRUE(kept && gone);
    int goneFreed = 0;
    evas_object_event_callback_add(gone, EVAS_CALLBACK_FREE, counted, &goneFreed);
    render(7204, 50, 40, "c");
    WindowManager::getInstance()->remove(7204);
    evas_object_del(gone);
    EXPECT_EQ(goneFreed, 1) << "the data went with the window, with no destroy command";
    EXPECT_EQ(intData(kept, "win-width"), 50);
    EXPECT_EQ(textData(kept, "project-path"), "/projects/b");
    destroy(7203);
}

} // namespace
