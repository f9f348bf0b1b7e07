#pragma once
// The memory canvas behind a window. The toolkit draws a frame on a render
// thread while the main loop goes on; resizing or deleting the window frees
// the pixels that thread may still be writing. And a page whose minimum size
// is larger than the window makes the toolkit grow the window (and its
// canvas) to that size, up to 32767 x 32767.
#include <Elementary.h>

// Largest canvas side a page may make the window grow to: the largest window
// a create command may ask for.
inline constexpr int MAX_CANVAS_SIDE = 8192;

// Starts tracking frames in flight on the window's canvas.
void window_canvas_watch(Evas_Object* window);
void window_canvas_unwatch(Evas_Object* window);
// Waits until no frame of the window is being drawn (the frame completes as
// usual, render-post callbacks included). False, with a diagnostic, if the
// toolkit did not finish it within a long deadline.
bool window_canvas_settle(Evas_Object* window);

// Makes `obj` fill the window, as a resize object would, but lets the window
// grow for it only up to MAX_CANVAS_SIDE on each side: a larger page is laid
// out at that size and clipped, with one diagnostic line naming it.
void window_canvas_fill(Evas_Object* window, Evas_Object* obj);

// Undoes window_canvas_fill: the window no longer lays `obj` out or grows for it.
void window_canvas_unfill(Evas_Object* window, Evas_Object* obj);

// Takes the tree of `root` out of the picture: undoes window_canvas_fill for
// every node the window fills (a document's children are laid out by the
// window, not by their parent) and hides every node that would still show
// once `root` is hidden (those, `root`, and children their parent only owns).
void window_canvas_take_out_tree(Evas_Object* window, Evas_Object* root);

// Whether building and tearing down pages defers the toolkit's layout
// recalculation (the result is the same; only repeated work is avoided).
extern bool g_render_batching;

// Builds and tears down widget trees with recalculation batched, so that each
// added or removed widget does not relayout everything already there. Batches
// nest; `obj` is the window or any object on its canvas.
class RenderBatch {
public:
    explicit RenderBatch(Evas_Object* obj);
    ~RenderBatch();
    RenderBatch(const RenderBatch&) = delete;
    RenderBatch& operator=(const RenderBatch&) = delete;

private:
    bool m_frozen = false;
    Evas* m_canvas = nullptr;
};
