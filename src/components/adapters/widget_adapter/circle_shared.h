#pragma once
// What the circular adapters share: the surface their circle objects draw on
// and the process-wide pointers to the most recent circle objects.
#include <Elementary.h>

#include "components/circle_object/eext_circle.h"

// The "circle-surface" value of the parent's top-level widget (never set by
// the engine itself, so usually null).
CircleSurface* circle_surface_of(Evas_Object* parent);

// Points `*slot` at `circle` and clears it when that object is deleted (it
// goes with its widget), so no later call reaches a freed object.
void circle_pointer_keep(Evas_Object** slot, Evas_Object* circle);

// The rim of the most recently added circle date-time, while it lives.
extern Evas_Object* circle_datetime;

// The scroll indicator of the most recently added circle genlist, while it
// lives; every circle genlist's policies are applied through it.
extern Evas_Object* circle_genlist;

// The item classes of circle genlist items: 10 round-screen styles, one
// group style ("groupindex"), the sub text in "elm.text.1" only.
class ItemClassTable;
ItemClassTable& circle_genlist_item_classes();
