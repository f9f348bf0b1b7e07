#pragma once
#include <Ecore_Evas.h>
#include <Elementary.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

#include "components/adapters/Adapter.h"
#include "components/adapters/widget_info.h"
#include "utils/window_canvas.h"

// Runs the main loop until it has been idle once; false if it never was
// within the deadline. Idlers run in the order they were added: when this
// one runs, those added before it have.
inline bool run_until_idle(double deadlineSeconds = 10.0)
{
    bool idle = false;
    Ecore_Idler* marker = ecore_idler_add(
        [](void* flag) {
            *static_cast<bool*>(flag) = true;
            ecore_main_loop_quit();
            return ECORE_CALLBACK_CANCEL;
        },
        &idle);
    Ecore_Timer* deadline = ecore_timer_add(
        deadlineSeconds, [](void*) { ecore_main_loop_quit(); return ECORE_CALLBACK_CANCEL; }, nullptr);
    ecore_main_loop_begin();
    // Whichever did not fire must not outlive `idle`.
    if (idle)
        ecore_timer_del(deadline);
    else
        ecore_idler_del(marker);
    return idle;
}

// A buffer-engine window per test, laid out and rendered on demand.
class ToolkitTest : public ::testing::Test {
protected:
    Evas_Object* win = nullptr;

    void SetUp() override
    {
        win = elm_win_util_standard_add("", "");
        evas_object_resize(win, 480, 800);
        evas_object_show(win);
        window_canvas_watch(win);
    }
    // As the destroy command does: a frame still being drawn writes into the
    // canvas the deletion frees (a large one takes seconds under the sanitizers).
    void TearDown() override
    {
        window_canvas_settle(win);
        window_canvas_unwatch(win);
        evas_object_del(win);
    }

    void renderOnce() { ecore_evas_manual_render(ecore_evas_ecore_evas_get(evas_object_evas_get(win))); }

    // The record of `name` builds a widget of toolkit type `type` and keeps
    // the operation contract: null object or node refused, empty list accepted.
    void expectAdapterContract(const char* name, const char* type)
    {
        const WidgetAdapter* a = getAdapter(name);
        ASSERT_NE(a, nullptr) << name;
        ASSERT_TRUE(a->add && a->remove && a->set_property && a->pack && a->unpack) << name;
        Evas_Object* obj = a->add(win);
        ASSERT_NE(obj, nullptr) << name;
        EXPECT_STREQ(elm_object_widget_type_get(obj), type) << name;
        _WidgetInfo* withText = makeNode(name, "n", { { "text", "x" } });
        _WidgetInfo* empty = makeNode(name, "n");
        EXPECT_FALSE(a->set_property(nullptr, withText, "")) << name;
        EXPECT_FALSE(a->set_property(obj, nullptr, "")) << name;
        EXPECT_TRUE(a->set_property(obj, empty, "")) << name;
        deleteWidgetsInfo(withText);
        deleteWidgetsInfo(empty);
        EXPECT_FALSE(a->unpack(nullptr, obj, nullptr)) << name;
        EXPECT_TRUE(a->remove(obj)) << name;
    }

    static _WidgetInfo* makeNode(const std::string& type, const std::string& wid,
                                 std::initializer_list<std::pair<const char*, const char*>> props = {})
    {
        auto* node = new _WidgetInfo;
        node->widgetType = type;
        node->wid = wid;
        for (const auto& p : props)
            node->properties = eina_list_append(node->properties, new Property { p.first, p.second });
        return node;
    }
};
