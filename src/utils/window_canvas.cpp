#include "utils/window_canvas.h"

#include <Ecore.h>
#include <Edje.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "components/adapters/Adapter.h"
#include "utils/efl_util.h"
#include "utils/log_util.h"

namespace {

const char* const KEY_IN_FLIGHT = "frame-in-flight";
const char* const KEY_SLOT = "canvas-slot";
// A frame of the largest canvas takes well under a second; the toolkit's own
// wait gives up after 0.2 s, so it is repeated up to this long.
const double SETTLE_SECONDS = 30.0;

void frame_started(void* window, Evas*, void*)
{
    evas_object_data_set(static_cast<Evas_Object*>(window), KEY_IN_FLIGHT, window);
}

void frame_done(void* window, Evas*, void*)
{
    evas_object_data_del(static_cast<Evas_Object*>(window), KEY_IN_FLIGHT);
}

// --- Filling the window -----------------------------------------------------
// The window lays out an invisible slot; the object follows the slot's
// geometry, and the slot asks for the object's minimum size, capped.

Evas_Object* slot_of(Evas_Object* obj)
{
    return static_cast<Evas_Object*>(evas_object_data_get(obj, KEY_SLOT));
}

// Whether `obj` is drawn inside `parent`, so that it hides with it. A child a
// widget cannot hold (a background's, say) is only its sub-object: it is
// drawn on its own, wherever it is.
bool held_by(Evas_Object* obj, Evas_Object* parent)
{
    for (Evas_Object* up = evas_object_smart_parent_get(obj); up; up = evas_object_smart_parent_get(up))
        if (up == parent)
            return true;
    return false;
}

void follow_slot(void* data, Evas*, Evas_Object* slot, void*)
{
    int x, y, w, h;
    evas_object_geometry_get(slot, &x, &y, &w, &h);
    evas_object_geometry_set(static_cast<Evas_Object*>(data), x, y, w, h);
}

void cap_min_size(void* window, Evas*, Evas_Object* obj, void*)
{
    Evas_Object* slot = slot_of(obj);
    if (!slot)
        return;
    Eina_Size2D min = efl_gfx_hint_size_combined_min_get(obj);
    int w = min.w, h = min.h;
    int cw = std::clamp(w, 0, MAX_CANVAS_SIDE);
    int ch = std::clamp(h, 0, MAX_CANVAS_SIDE);
    if ((cw != w || ch != h) && !evas_object_data_get(obj, "canvas-capped")) {
        evas_object_data_set(obj, "canvas-capped", obj);
        auto* wid = static_cast<const char*>(evas_object_data_get(obj, KEY_WID));
        diag("node \"%s\": the page needs %dx%d pixels; the canvas stays within %dx%d and the page is clipped",
             wid ? wid : "", w, h, MAX_CANVAS_SIDE, MAX_CANVAS_SIDE);
    }
    evas_object_size_hint_min_set(slot, cw, ch);
    (void)window;
}

void obj_deleted(void* window, Evas*, Evas_Object* obj, void*)
{
    Evas_Object* slot = static_cast<Evas_Object*>(evas_object_data_del(obj, KEY_SLOT));
    if (!slot)
        return;
    evas_object_event_callback_del_full(slot, EVAS_CALLBACK_MOVE, follow_slot, obj);
    evas_object_event_callback_del_full(slot, EVAS_CALLBACK_RESIZE, follow_slot, obj);
    elm_win_resize_object_del(static_cast<Evas_Object*>(window), slot);
    evas_object_del(slot);
}

} // namespace

void window_canvas_watch(Evas_Object* window)
{
    Evas* canvas = evas_object_evas_get(window);
    evas_event_callback_add(canvas, EVAS_CALLBACK_RENDER_PRE, frame_started, window);
    evas_event_callback_add(canvas, EVAS_CALLBACK_RENDER_POST, frame_done, window);
}

void window_canvas_unwatch(Evas_Object* window)
{
    Evas* canvas = evas_object_evas_get(window);
    evas_event_callback_del_full(canvas, EVAS_CALLBACK_RENDER_PRE, frame_started, window);
    evas_event_callback_del_full(canvas, EVAS_CALLBACK_RENDER_POST, frame_done, window);
    evas_object_data_del(window, KEY_IN_FLIGHT);
}

bool window_canvas_settle(Evas_Object* window)
{
    Evas* canvas = evas_object_evas_get(window);
    double deadline = ecore_time_get() + SETTLE_SECONDS;
    while (evas_object_data_get(window, KEY_IN_FLIGHT)) {
        if (ecore_time_get() > deadline) {
            diag("the toolkit did not finish drawing the window within %.0f s", SETTLE_SECONDS);
            return false;
        }
        evas_sync(canvas);
    }
    return true;
}

void window_canvas_unfill(Evas_Object* window, Evas_Object* obj)
{
    evas_object_event_callback_del_full(obj, EVAS_CALLBACK_DEL, obj_deleted, window);
    evas_object_event_callback_del_full(obj, EVAS_CALLBACK_CHANGED_SIZE_HINTS, cap_min_size, window);
    obj_deleted(window, nullptr, obj, nullptr);
}

void window_canvas_take_out_tree(Evas_Object* window, Evas_Object* root)
{
    std::vector<std::pair<Evas_Object*, Evas_Object*>> todo { { root, nullptr } };
    while (!todo.empty()) {
        auto [obj, parent] = todo.back();
        todo.pop_back();
        bool filled = slot_of(obj) != nullptr;
        if (filled)
            window_canvas_unfill(window, obj);
        if (filled || !parent || !held_by(obj, parent))
            evas_object_hide(obj);
        for (const Eina_List* l = efl_util_list_get(obj, KEY_CHILDREN); l; l = eina_list_next(l))
            if (auto* child = static_cast<Evas_Object*>(eina_list_data_get(l)))
                todo.push_back({ child, obj });
    }
}

void window_canvas_fill(Evas_Object* window, Evas_Object* obj)
{
    Evas_Object* slot = evas_object_rectangle_add(evas_object_evas_get(window));
    evas_object_size_hint_weight_set(slot, EVAS_HINT_EXPAND, EVAS_HINT_EXPAND);
    evas_object_size_hint_align_set(slot, EVAS_HINT_FILL, EVAS_HINT_FILL);
    evas_object_data_set(obj, KEY_SLOT, slot);
    evas_object_event_callback_add(slot, EVAS_CALLBACK_MOVE, follow_slot, obj);
    evas_object_event_callback_add(slot, EVAS_CALLBACK_RESIZE, follow_slot, obj);
    evas_object_event_callback_add(obj, EVAS_CALLBACK_CHANGED_SIZE_HINTS, cap_min_size, window);
    evas_object_event_callback_add(obj, EVAS_CALLBACK_DEL, obj_deleted, window);
    cap_min_size(window, nullptr, obj, nullptr);
    elm_win_resize_object_add(window, slot);
}

bool g_render_batching = true;

RenderBatch::RenderBatch(Evas_Object* obj)
{
    if (!g_render_batching)
        return;
    m_frozen = true;
    m_canvas = evas_object_evas_get(obj);
    edje_freeze();
    if (m_canvas)
        evas_event_freeze(m_canvas);
}

RenderBatch::~RenderBatch()
{
    // What this batch froze, whatever the switch says now.
    if (!m_frozen)
        return;
    if (m_canvas)
        evas_event_thaw(m_canvas);
    edje_thaw();
}
