#pragma once
// Engine-side bounds on memory the toolkit would otherwise keep for every
// re-render: settings applied once after the toolkit starts, and the heap's
// free pages given back after each request's frames.
#include <Elementary.h>

// Once, after elm_init. Cursors only matter under a real pointer, which a
// memory canvas never has, so they come from the (absent) engine instead of
// the theme: the toolkit loses a themed cursor's hotspot object whenever the
// cursor is unset, one per entry-like widget per render. Large blocks (the
// paint snapshot) are kept out of the heap so that freeing them returns the
// pages instead of leaving holes that later small blocks pin. The toolkit's
// deferred frees are held to a megabyte.
void memory_bounds_init();

// After a request's frames: once the loop is idle, the heap's free pages go
// back to the system. A render frees and remakes whole trees, and a peak
// that finds no hole big enough extends the heap; without this the pages of
// that peak stay resident for the process's life, a step of megabytes at a
// moment no one can predict.
void memory_bounds_release_when_idle();
// A release still waiting for an idle moment runs now: before the next
// request, so that its answer always follows it.
void memory_bounds_release_pending();
