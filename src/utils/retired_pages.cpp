#include "utils/retired_pages.h"

#include <Ecore_Evas.h>

#include <algorithm>
#include <vector>

#include "utils/efl_util.h"
#include "utils/idle_once.h"
#include "utils/window_canvas.h"

namespace {

const char* const KEY_QUIET = "retired-page-deleting";

struct Retired {
    Evas_Object* window;
    Evas_Object* page;
};

// Cleared entry by entry as pages go, however they go (a window's deletion
// takes its retired page with it).
std::vector<Retired> s_retired;
// The flush a frame asked for. A flush that comes first drops it: left
// pending, it could run before the next request's render and draw that
// request's first frame as the quiet render of a deletion.
IdleOnce s_flushWhenIdle(retired_pages_flush);

void page_deleted(void*, Evas*, Evas_Object* page, void*)
{
    std::erase_if(s_retired, [page](const Retired& r) { return r.page == page; });
}

// Draws the window now, so the render the deletion asked for is the one
// marked quiet, and waits for it to end.
void draw_quietly(Evas_Object* window)
{
    evas_object_data_set(window, KEY_QUIET, window);
    ecore_evas_manual_render(ecore_evas_ecore_evas_get(evas_object_evas_get(window)));
    window_canvas_settle(window);
    evas_object_data_del(window, KEY_QUIET);
}

} // namespace

void retired_pages_add(Evas_Object* window, Evas_Object* page)
{
    if (!window || !page)
        return;
    window_canvas_take_out_tree(window, page);
    evas_object_event_callback_add(page, EVAS_CALLBACK_DEL, page_deleted, nullptr);
    s_retired.push_back({ window, page });
}

void retired_pages_flush()
{
    s_flushWhenIdle.cancel();
    while (!s_retired.empty()) {
        Retired r = s_retired.back();
        s_retired.pop_back();
        evas_object_event_callback_del(r.page, EVAS_CALLBACK_DEL, page_deleted);
        // A frame still being drawn may show the page's objects.
        window_canvas_settle(r.window);
        free_evas_object(r.page);
        draw_quietly(r.window);
    }
}

void retired_pages_flush_when_idle()
{
    if (!s_retired.empty())
        s_flushWhenIdle.schedule();
}

bool retired_pages_pending()
{
    return !s_retired.empty();
}

bool retired_pages_contain(const Evas_Object* obj)
{
    while (obj) {
        if (std::any_of(s_retired.begin(), s_retired.end(), [obj](const Retired& r) { return r.page == obj; }))
            return true;
        const Evas_Object* up = elm_object_parent_widget_get(obj);
        obj = up ? up : evas_object_smart_parent_get(obj);
    }
    return false;
}

bool retired_pages_quiet(const Evas_Object* window)
{
    return window && evas_object_data_get(window, KEY_QUIET);
}
