#pragma once
// Circle objects: rings drawn with vector shapes around toolkit widgets, for
// round screens. A ring is inscribed in its widget's rectangle (diameter the
// shorter side, centred) and follows the widget's geometry, visibility,
// clipping and stacking. Angles run clockwise from twelve o'clock.
//
// Every call accepts null objects and objects that are not circle objects
// (nothing happens). A circle object goes with its widget: deleting the
// widget deletes it (listen to its EVAS_CALLBACK_DEL to forget a pointer).
#include <Elementary.h>

// A drawing area shared by the circle objects of one screen. The engine never
// has one: null is always accepted, and rings always draw inside their own
// widget, so the value is not read.
struct CircleSurface;

// An elm_progressbar (every elm_progressbar_* call works on it, and it shows,
// sizes, styles and measures like one) drawn as a ring instead of a bar: a
// track circle and an arc over the value's share of [min, max]. Range starts
// at [0, 1], value at 0. Null for a null parent. The bar is the circle object.
Evas_Object* eext_circle_object_progressbar_add(Evas_Object* parent, CircleSurface* surface);

// An elm_slider drawn as the same ring with a knob at the arc's end. Its
// elm_slider range and value follow the circle calls. Null for a null parent.
Evas_Object* eext_circle_object_slider_add(Evas_Object* parent, CircleSurface* surface);

// Attaches a circular scroll indicator to any elm_genlist: on the right-hand
// side of the ring, a thumb whose length is the visible share of the content
// and whose position follows the scroll offset. The list's own vertical bar
// is turned off. Returns the indicator (one per list: a second call returns
// the first); null for a null object or one that is not a genlist.
Evas_Object* eext_circle_object_genlist_add(Evas_Object* genlist, CircleSurface* surface);

// For a genlist indicator: `v` decides whether it shows (AUTO while the
// content is longer than the list, ON always, OFF never); `h` becomes the
// list's own horizontal bar policy. Invalid policies and other objects: ignored.
void eext_circle_object_genlist_scroller_policy_set(Evas_Object* obj, Elm_Scroller_Policy h, Elm_Scroller_Policy v);

// Attaches a circular rim to an elm_datetime: a track circle, and an arc with
// a knob over the share of its month that the widget's date has reached. It
// follows the widget's value by itself. Returns the rim (one per widget);
// null for a null object or one that is not a date-time.
Evas_Object* eext_circle_object_datetime_add(Evas_Object* datetime, CircleSurface* surface);

// Progress bar and slider: the value, kept clamped to [min, max] (a range
// that ends where it starts draws no arc). Non-finite values are ignored.
void eext_circle_object_value_set(Evas_Object* obj, double value);

// Progress bar and slider: the range; the value is clamped into it again.
// An inverted or non-finite range is ignored.
void eext_circle_object_value_min_max_set(Evas_Object* obj, double min, double max);

// Progress bar and slider: disables the widget itself. Rims and indicators:
// dims the ring only. A ring is also drawn dimmed while its widget is
// disabled by other means.
void eext_circle_object_disabled_set(Evas_Object* obj, Eina_Bool disabled);
