#pragma once
// A re-rendered window's previous page. Tearing a page down costs about a
// fifth of building one, and none of it shows in the picture: the render
// command takes the old page out of the window (hidden, no longer laid out)
// and the dispatcher deletes it once the loop is idle after the new page's
// frame, or at the latest just before the next request runs. Its deletion changes no
// pixel; the render it causes is drawn at once and sends no frame.
#include <Elementary.h>

// Takes `page` out of `window`; it stays alive, hidden, until the next flush.
void retired_pages_add(Evas_Object* window, Evas_Object* page);

// Deletes every retired page through the adapters, as a render used to.
void retired_pages_flush();

// Flushes once the loop is idle, unless a flush comes first.
void retired_pages_flush_when_idle();

// True while a retired page waits for the flush.
bool retired_pages_pending();

// True when `obj` belongs to a retired page: what the next tree may not join.
bool retired_pages_contain(const Evas_Object* obj);

// True while `window` draws the deletion of its retired page: a frame of that
// render without an updated area is not sent.
bool retired_pages_quiet(const Evas_Object* window);
