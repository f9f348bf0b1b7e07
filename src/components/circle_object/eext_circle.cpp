#include "components/circle_object/eext_circle.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ctime>

namespace {

// The record of every circle object, on both its widget and its handle (the
// object the creation call returned).
const char KEY_CIRCLE[] = "circle-object";

enum class Kind { Progressbar, Slider, Genlist, Datetime };

struct Rgba {
    int r, g, b, a;
};

const Rgba TRACK = { 255, 255, 255, 56 };
const Rgba KNOB = { 255, 255, 255, 255 };
const Rgba PROGRESS_ARC = { 58, 160, 255, 255 };
const Rgba SLIDER_ARC = { 255, 154, 30, 255 };
const Rgba RIM_ARC = { 46, 196, 182, 255 };
const Rgba THUMB = { 255, 255, 255, 210 };
// Disabled rings keep their shape at this share of their opacity.
const double DIM = 0.35;

// The indicator runs on the right-hand side, from one to five o'clock.
const double INDICATOR_FROM = 30.0;
const double INDICATOR_SPAN = 120.0;

// What one frame draws; a redraw happens only when it changes.
struct Drawing {
    int x = 0, y = 0, w = 0, h = 0;
    bool visible = false;
    bool dim = false;
    double trackFrom = 0, trackSweep = 0; // degrees
    double arcFrom = 0, arcSweep = 0;
    bool knob = false;

    bool operator==(const Drawing&) const = default;
};

struct Record {
    Kind kind = Kind::Progressbar;
    Evas_Object* widget = nullptr;
    Evas_Object* handle = nullptr;
    Evas_Object* vg = nullptr;
    Evas* canvas = nullptr;
    Evas_Vg_Shape* track = nullptr;
    Evas_Vg_Shape* arc = nullptr;
    Evas_Vg_Shape* knob = nullptr;
    double min = 0.0, max = 1.0, value = 0.0;
    bool disabled = false;
    Elm_Scroller_Policy policyV = ELM_SCROLLER_POLICY_AUTO;
    Drawing drawn;
    bool everDrawn = false;
};

Record* record_of(const Evas_Object* obj)
{
    return obj ? static_cast<Record*>(evas_object_data_get(obj, KEY_CIRCLE)) : nullptr;
}

bool is_widget_of_type(const Evas_Object* obj, const char* type)
{
    const char* t = obj ? elm_object_widget_type_get(obj) : nullptr;
    return t && strcmp(t, type) == 0;
}

double share_of(const Record& r)
{
    if (r.max <= r.min)
        return 0.0;
    return (std::clamp(r.value, r.min, r.max) - r.min) / (r.max - r.min);
}

// --- What to draw ---------------------------------------------------------

void value_drawing(const Record& r, Drawing& d)
{
    d.trackFrom = 0.0;
    d.trackSweep = 360.0;
    d.arcFrom = 0.0;
    d.arcSweep = 360.0 * share_of(r);
    d.knob = r.kind == Kind::Slider;
}

void rim_drawing(const Record& r, Drawing& d)
{
    struct tm t;
    memset(&t, 0, sizeof t);
    d.trackFrom = 0.0;
    d.trackSweep = 360.0;
    d.knob = true;
    if (!elm_datetime_value_get(r.widget, &t))
        return;
    static const int DAYS[12] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    int year = t.tm_year + 1900;
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    int month = std::clamp(t.tm_mon, 0, 11);
    int days = DAYS[month] + (month == 1 && leap ? 1 : 0);
    d.arcSweep = 360.0 * std::clamp(t.tm_mday, 0, days) / days;
}

void indicator_drawing(const Record& r, Drawing& d)
{
    Evas_Coord x = 0, y = 0, w = 0, h = 0, cw = 0, ch = 0;
    elm_scroller_region_get(r.widget, &x, &y, &w, &h);
    elm_scroller_child_size_get(r.widget, &cw, &ch);
    bool longer = ch > h && h > 0;
    if (r.policyV == ELM_SCROLLER_POLICY_OFF || (r.policyV == ELM_SCROLLER_POLICY_AUTO && !longer)) {
        d.visible = false;
        return;
    }
    d.trackFrom = INDICATOR_FROM;
    d.trackSweep = INDICATOR_SPAN;
    double visibleShare = longer ? double(h) / ch : 1.0;
    double offsetShare = longer ? std::clamp(double(y) / (ch - h), 0.0, 1.0) : 0.0;
    d.arcSweep = INDICATOR_SPAN * visibleShare;
    d.arcFrom = INDICATOR_FROM + (INDICATOR_SPAN - d.arcSweep) * offsetShare;
}

Drawing drawing_of(const Record& r)
{
    Drawing d;
    evas_object_geometry_get(r.widget, &d.x, &d.y, &d.w, &d.h);
    d.visible = d.w > 0 && d.h > 0;
    d.dim = r.disabled || elm_object_disabled_get(r.widget);
    switch (r.kind) {
    case Kind::Progressbar:
    case Kind::Slider:
        value_drawing(r, d);
        break;
    case Kind::Datetime:
        rim_drawing(r, d);
        break;
    case Kind::Genlist:
        indicator_drawing(r, d);
        break;
    }
    return d;
}

// --- Drawing it -----------------------------------------------------------

struct RingMetrics {
    double cx, cy, radius, stroke, knobRadius;
};

// The stroke grows with the ring; the knob, when there is one, must fit
// inside the widget too.
RingMetrics metrics_of(const Drawing& d)
{
    double diameter = std::min(d.w, d.h);
    RingMetrics m;
    m.stroke = std::clamp(diameter / 24.0, 2.0, 14.0);
    m.knobRadius = m.stroke * 0.9;
    double outer = d.knob ? m.knobRadius : m.stroke / 2.0;
    m.radius = std::max(diameter / 2.0 - outer - 1.0, 1.0);
    m.cx = d.w / 2.0;
    m.cy = d.h / 2.0;
    return m;
}

void set_stroke_color(Evas_Vg_Shape* shape, Rgba c, bool dim)
{
    double f = (dim ? DIM : 1.0) * c.a / 255.0; // premultiplied
    evas_vg_shape_stroke_color_set(shape, int(c.r * f), int(c.g * f), int(c.b * f), int(c.a * (dim ? DIM : 1.0)));
}

void set_fill_color(Evas_Vg_Shape* shape, Rgba c, bool dim)
{
    double f = (dim ? DIM : 1.0) * c.a / 255.0;
    evas_vg_node_color_set(shape, int(c.r * f), int(c.g * f), int(c.b * f), int(c.a * (dim ? DIM : 1.0)));
}

// Clockwise from twelve o'clock in our terms; the shape API counts
// counter-clockwise from three o'clock.
void append_arc(Evas_Vg_Shape* shape, const RingMetrics& m, double from, double sweep)
{
    if (sweep <= 0.0)
        return;
    if (sweep >= 360.0) {
        evas_vg_shape_append_circle(shape, m.cx, m.cy, m.radius);
        return;
    }
    evas_vg_shape_append_arc(shape, m.cx - m.radius, m.cy - m.radius, 2 * m.radius, 2 * m.radius, 90.0 - from, -sweep);
}

Rgba arc_color(Kind kind)
{
    switch (kind) {
    case Kind::Progressbar:
        return PROGRESS_ARC;
    case Kind::Slider:
        return SLIDER_ARC;
    case Kind::Datetime:
        return RIM_ARC;
    case Kind::Genlist:
        break;
    }
    return THUMB;
}

void paint(Record& r, const Drawing& d)
{
    evas_object_move(r.vg, d.x, d.y);
    evas_object_resize(r.vg, d.w, d.h);
    if (!d.visible) {
        evas_object_hide(r.vg);
        return;
    }
    evas_object_show(r.vg);
    RingMetrics m = metrics_of(d);
    evas_vg_shape_reset(r.track);
    append_arc(r.track, m, d.trackFrom, d.trackSweep);
    evas_vg_shape_stroke_width_set(r.track, m.stroke);
    evas_vg_shape_stroke_cap_set(r.track, EVAS_VG_CAP_ROUND);
    set_stroke_color(r.track, TRACK, d.dim);

    evas_vg_shape_reset(r.arc);
    append_arc(r.arc, m, d.arcFrom, d.arcSweep);
    evas_vg_shape_stroke_width_set(r.arc, m.stroke);
    evas_vg_shape_stroke_cap_set(r.arc, EVAS_VG_CAP_ROUND);
    set_stroke_color(r.arc, arc_color(r.kind), d.dim);

    evas_vg_shape_reset(r.knob);
    if (d.knob) {
        double a = (d.arcFrom + d.arcSweep) * M_PI / 180.0;
        evas_vg_shape_append_circle(r.knob, m.cx + m.radius * sin(a), m.cy - m.radius * cos(a), m.knobRadius);
        set_fill_color(r.knob, KNOB, d.dim);
    }
}

bool is_value_kind(const Record* r) { return r && (r->kind == Kind::Progressbar || r->kind == Kind::Slider); }

// A bar or slider is its ring: its own theme drawing (the bar, the knob, the
// indicator popup) stays out of sight, however often the widget shows it
// again, while the widget keeps its size, style and value.
void hide_own_look(Record& r)
{
    if (!is_value_kind(&r))
        return;
    Eina_List* members = evas_object_smart_members_get(r.widget);
    void* data;
    EINA_LIST_FREE(members, data)
    {
        auto* member = static_cast<Evas_Object*>(data);
        if (member != r.vg && evas_object_visible_get(member))
            evas_object_hide(member);
    }
}

void sync(Record& r)
{
    hide_own_look(r);
    Drawing d = drawing_of(r);
    if (r.everDrawn && d == r.drawn)
        return;
    paint(r, d);
    r.drawn = d;
    r.everDrawn = true;
}

// --- Life -----------------------------------------------------------------

void on_geometry(void* data, Evas*, Evas_Object*, void*) { sync(*static_cast<Record*>(data)); }

// Each frame brings the ring up to date before it is drawn (disabled state,
// a date-time's value) and after it (a list lays itself out while the frame
// is computed: the indicator catches up in the next frame).
void on_frame(void* data, Evas*, void*) { sync(*static_cast<Record*>(data)); }

// The toolkit tells a widget's theme when the widget is disabled or enabled
// by any call; the ring dims along.
const char STATE_SIGNALS[] = "elm,state,*abled";

void on_state(void* data, Evas_Object*, const char*, const char*) { sync(*static_cast<Record*>(data)); }

void on_widget_del(void* data, Evas*, Evas_Object*, void*);
void on_vg_del(void* data, Evas*, Evas_Object*, void*);

const Evas_Callback_Type GEOMETRY_EVENTS[] = { EVAS_CALLBACK_MOVE, EVAS_CALLBACK_RESIZE, EVAS_CALLBACK_SHOW };
const Evas_Callback_Type FRAME_EVENTS[] = { EVAS_CALLBACK_RENDER_PRE, EVAS_CALLBACK_RENDER_POST };

// Whichever of the widget and the ring goes first takes the other's links
// down, so no callback ever reaches a freed record.
void release(Record* r)
{
    for (Evas_Callback_Type t : GEOMETRY_EVENTS)
        evas_object_event_callback_del_full(r->widget, t, on_geometry, r);
    for (Evas_Callback_Type t : FRAME_EVENTS)
        evas_event_callback_del_full(r->canvas, t, on_frame, r);
    evas_object_event_callback_del_full(r->widget, EVAS_CALLBACK_DEL, on_widget_del, r);
    elm_layout_signal_callback_del(r->widget, STATE_SIGNALS, "elm", on_state);
    evas_object_data_del(r->widget, KEY_CIRCLE);
    evas_object_data_del(r->handle, KEY_CIRCLE);
    if (r->vg) {
        evas_object_event_callback_del_full(r->vg, EVAS_CALLBACK_DEL, on_vg_del, r);
        evas_object_del(r->vg);
    }
    delete r;
}

void on_widget_del(void* data, Evas*, Evas_Object*, void*) { release(static_cast<Record*>(data)); }

void on_vg_del(void* data, Evas*, Evas_Object*, void*)
{
    auto* r = static_cast<Record*>(data);
    r->vg = nullptr;
    release(r);
}

Record* attach(Evas_Object* widget, Kind kind, bool ringIsHandle)
{
    auto* r = new Record;
    r->kind = kind;
    r->widget = widget;
    r->handle = widget;
    r->canvas = evas_object_evas_get(widget);
    r->vg = evas_object_vg_add(r->canvas);
    Evas_Vg_Container* root = evas_vg_container_add(r->vg);
    evas_object_vg_root_node_set(r->vg, root);
    r->track = evas_vg_shape_add(root);
    r->arc = evas_vg_shape_add(root);
    r->knob = evas_vg_shape_add(root);
    // A member of the widget: clipped, shown, hidden and stacked with it.
    evas_object_smart_member_add(r->vg, widget);
    evas_object_pass_events_set(r->vg, EINA_TRUE);
    if (ringIsHandle)
        r->handle = r->vg;
    evas_object_data_set(widget, KEY_CIRCLE, r);
    evas_object_data_set(r->handle, KEY_CIRCLE, r);
    for (Evas_Callback_Type t : GEOMETRY_EVENTS)
        evas_object_event_callback_add(widget, t, on_geometry, r);
    for (Evas_Callback_Type t : FRAME_EVENTS)
        evas_event_callback_add(r->canvas, t, on_frame, r);
    evas_object_event_callback_add(widget, EVAS_CALLBACK_DEL, on_widget_del, r);
    elm_layout_signal_callback_add(widget, STATE_SIGNALS, "elm", on_state, r);
    evas_object_event_callback_add(r->vg, EVAS_CALLBACK_DEL, on_vg_del, r);
    sync(*r);
    return r;
}

Evas_Object* value_widget_add(Evas_Object* widget, Kind kind)
{
    if (!widget)
        return nullptr;
    attach(widget, kind, false);
    return widget;
}

// The toolkit widget mirrors the circle's range and value, so its getters
// tell what the ring shows.
void mirror_value(Record& r)
{
    if (r.kind == Kind::Slider) {
        elm_slider_min_max_set(r.widget, r.min, r.max);
        elm_slider_value_set(r.widget, r.value);
        return;
    }
    elm_progressbar_value_set(r.widget, share_of(r));
}

} // namespace

Evas_Object* eext_circle_object_progressbar_add(Evas_Object* parent, CircleSurface*)
{
    if (!parent)
        return nullptr;
    return value_widget_add(elm_progressbar_add(parent), Kind::Progressbar);
}

Evas_Object* eext_circle_object_slider_add(Evas_Object* parent, CircleSurface*)
{
    if (!parent)
        return nullptr;
    Evas_Object* slider = elm_slider_add(parent);
    if (slider)
        elm_slider_min_max_set(slider, 0.0, 1.0);
    return value_widget_add(slider, Kind::Slider);
}

Evas_Object* eext_circle_object_genlist_add(Evas_Object* genlist, CircleSurface*)
{
    if (!is_widget_of_type(genlist, "Elm_Genlist"))
        return nullptr;
    if (Record* existing = record_of(genlist))
        return existing->handle;
    Elm_Scroller_Policy h = ELM_SCROLLER_POLICY_AUTO;
    elm_scroller_policy_get(genlist, &h, nullptr);
    elm_scroller_policy_set(genlist, h, ELM_SCROLLER_POLICY_OFF);
    return attach(genlist, Kind::Genlist, true)->handle;
}

void eext_circle_object_genlist_scroller_policy_set(Evas_Object* obj, Elm_Scroller_Policy h, Elm_Scroller_Policy v)
{
    Record* r = record_of(obj);
    if (!r || r->kind != Kind::Genlist)
        return;
    if (h < ELM_SCROLLER_POLICY_AUTO || h >= ELM_SCROLLER_POLICY_LAST || v < ELM_SCROLLER_POLICY_AUTO
        || v >= ELM_SCROLLER_POLICY_LAST)
        return;
    elm_scroller_policy_set(r->widget, h, ELM_SCROLLER_POLICY_OFF);
    r->policyV = v;
    sync(*r);
}

Evas_Object* eext_circle_object_datetime_add(Evas_Object* datetime, CircleSurface*)
{
    if (!is_widget_of_type(datetime, "Elm_Datetime"))
        return nullptr;
    if (Record* existing = record_of(datetime))
        return existing->handle;
    Record* r = attach(datetime, Kind::Datetime, true);
    // Behind the fields: the rim frames them.
    evas_object_stack_below(r->vg, elm_layout_edje_get(datetime));
    return r->handle;
}

void eext_circle_object_value_set(Evas_Object* obj, double value)
{
    Record* r = record_of(obj);
    if (!is_value_kind(r) || !std::isfinite(value))
        return;
    r->value = std::clamp(value, r->min, r->max);
    mirror_value(*r);
    sync(*r);
}

void eext_circle_object_value_min_max_set(Evas_Object* obj, double min, double max)
{
    Record* r = record_of(obj);
    if (!is_value_kind(r) || !std::isfinite(min) || !std::isfinite(max) || min > max)
        return;
    r->min = min;
    r->max = max;
    r->value = std::clamp(r->value, min, max);
    mirror_value(*r);
    sync(*r);
}

void eext_circle_object_disabled_set(Evas_Object* obj, Eina_Bool disabled)
{
    Record* r = record_of(obj);
    if (!r)
        return;
    r->disabled = disabled;
    if (is_value_kind(r))
        elm_object_disabled_set(r->widget, disabled);
    sync(*r);
}
