#include "components/adapters/Adapter.h"

#include <cstdlib>
#include <cstring>

#include "components/adapters/adapter_records.h"
#include "components/adapters/property_walk.h"
#include "utils/efl_util.h"

namespace {

struct AdapterName {
    const char* name;
    const WidgetAdapter* record;
};

// Lookup order matters only for speed; every name is distinct.
const AdapterName ADAPTERS[] = {
    { "efl.box", &box_adapter },
    { "zelva.doc", &bg_adapter },
    { "zelva.view", &view_adapter },
    { "zelva.content", &bg_adapter },
    { "zelva.popup", &conformant_adapter },
    { "efl.bg", &bg_adapter },
    { "efl.button", &button_adapter },
    { "efl.calendar", &calendar_adapter },
    { "efl.colorselector", &colorselector_adapter },
    { "efl.grid", &grid_adapter },
    { "efl.datetime", &datetime_adapter },
    { "efl.clock", &clock_adapter },
    { "efl.progressbar", &progressbar_adapter },
    { "efl.check", &check_adapter },
    { "efl.dayselector", &dayselector_adapter },
    { "efl.entry", &entry_adapter },
    { "efl.icon", &icon_adapter },
    { "efl.image", &image_adapter },
    { "efl.label", &label_adapter },
    { "efl.radio", &radio_adapter },
    { "efl.spinner", &spinner_adapter },
    { "efl.slider", &slider_adapter },
    { "efl.separator", &separator_adapter },
    { "efl.fileselector", &fileselector_adapter },
    { "efl.fileselectorbutton", &fileselectorbutton_adapter },
    { "efl.fileselectorentry", &fileselectorentry_adapter },
    { "efl.photo", &photo_adapter },
    { "efl.photocam", &photocam_adapter },
    { "efl.bubble", &bubble_adapter },
    { "efl.actionslider", &actionslider_adapter },
    { "efl.scroller", &scroller_adapter },
    { "efl.list", &list_adapter },
    { "efl.listitem", &listitem_adapter },
    { "efl.genlist", &genlist_adapter },
    { "efl.genlistitem", &genlistitem_adapter },
    { "efl.naviframe", &naviframe_adapter },
    { "efl.conformant", &conformant_adapter },
    { "efl.diskselector", &diskselector_adapter },
    { "efl.diskselectoritem", &diskselectoritem_adapter },
    { "efl.flipselector", &flipselector_adapter },
    { "efl.flipselectoritem", &flipselectoritem_adapter },
    { "efl.table", &table_adapter },
    { "efl.panes", &panes_adapter },
    { "efl.panel", &panel_adapter },
    { "efl.toolbar", &toolbar_adapter },
    { "efl.toolbaritem", &toolbaritem_adapter },
    { "efl.multibuttonentry", &multibuttonentry_adapter },
    { "efl.multibuttonentryitem", &multibuttonentryitem_adapter },
    { "efl.layout", &layout_adapter },
    { "efl.gengrid", &gengrid_adapter },
    { "efl.gengriditem", &gengriditem_adapter },
    { "efl.index", &index_adapter },
    { "efl.indexitem", &indexitem_adapter },
    { "efl.segmentcontrol", &segmentcontrol_adapter },
    { "efl.segmentcontrolitem", &segmentcontrolitem_adapter },
    { "efl.tabbar", &tabbar_adapter },
    { "efl.tabbaritem", &tabbaritem_adapter },
    { "efl.popup", &popup_adapter },
    { "efl.ctxpopup", &ctxpopup_adapter },
    { "efl.ctxpopupitem", &ctxpopupitem_adapter },
    { "efl.map", &map_adapter },
    { "efl.circleprogressbar", &circle_progressbar_adapter },
    { "efl.circleslider", &circle_slider_adapter },
    { "efl.circlegenlist", &circle_genlist_adapter },
    { "efl.circlegenlistitem", &circle_genlistitem_adapter },
    { "efl.circledatetime", &circle_datetime_adapter },
    { "efl.circlescroller", &circle_scroller_adapter },
};

const char* const HINT_KEYS[] = { "align-x", "align-y", "weight-x", "weight-y" };

// "FILL" (alignments) or a finite number; "nan" and "inf" would reach the
// layout as coordinates, so they are reported and not kept.
bool hint_accepted(Evas_Object* obj, const std::string& value)
{
    double d;
    return value == "FILL" || prop_finite(obj, value, d);
}

double align_value(const char* text)
{
    return strcmp(text, "FILL") == 0 ? EVAS_HINT_FILL : atof(text);
}

// Hints are applied once both halves of a pair have been seen, whatever
// order the properties arrive in.
void recompute_hints(Evas_Object* obj)
{
    auto* ax = static_cast<const char*>(evas_object_data_get(obj, "align-x"));
    auto* ay = static_cast<const char*>(evas_object_data_get(obj, "align-y"));
    auto* wx = static_cast<const char*>(evas_object_data_get(obj, "weight-x"));
    auto* wy = static_cast<const char*>(evas_object_data_get(obj, "weight-y"));
    if (ax && ay)
        evas_object_size_hint_align_set(obj, align_value(ax), align_value(ay));
    if (wx && wy)
        evas_object_size_hint_weight_set(obj, atof(wx), atof(wy));
}

} // namespace

const WidgetAdapter* getAdapter(std::string name)
{
    for (const AdapterName& entry : ADAPTERS)
        if (name == entry.name)
            return entry.record;
    return nullptr;
}

void adapter_attach(Evas_Object* obj, const WidgetAdapter* adapter)
{
    if (obj)
        evas_object_data_set(obj, KEY_ADAPTER, const_cast<WidgetAdapter*>(adapter));
}

const WidgetAdapter* adapter_of(const Evas_Object* obj)
{
    return obj ? static_cast<const WidgetAdapter*>(evas_object_data_get(obj, KEY_ADAPTER)) : nullptr;
}

const WidgetAdapter* adapter_detach(Evas_Object* obj)
{
    return obj ? static_cast<const WidgetAdapter*>(evas_object_data_del(obj, KEY_ADAPTER)) : nullptr;
}

bool common_set_property(Evas_Object* obj, const std::string& name, const std::string& value)
{
    if (!obj)
        return false;
    if (name == "text") {
        elm_object_part_text_set(obj, nullptr, value.c_str());
    } else if (name == "style") {
        elm_object_style_set(obj, value.c_str());
    } else if (name == "disable") {
        if (value == "true" || value == "false")
            elm_object_disabled_set(obj, value == "true");
    } else if (name == "visible") {
        if (value == "true")
            evas_object_show(obj);
        else if (value == "false")
            evas_object_hide(obj);
    } else {
        for (const char* key : HINT_KEYS)
            if (name == key && hint_accepted(obj, value))
                efl_util_tag_text(obj, key, value.c_str());
    }
    recompute_hints(obj);
    return true;
}

bool remove_widget(Evas_Object* obj)
{
    if (!obj)
        return false;
    efl_util_tag_text_del(obj, KEY_WID);
    efl_util_tag_text_del(obj, KEY_WIDGET_TYPE);
    evas_object_del(obj);
    return true;
}

namespace {
std::string g_add_refusal;
}

void adapter_refuse_add(const char* reason)
{
    g_add_refusal = reason ? reason : "";
}

std::string adapter_take_refusal()
{
    std::string reason;
    reason.swap(g_add_refusal);
    return reason;
}

bool pack_unsupported(Evas_Object*, Evas_Object*, _WidgetInfo*) { return false; }
bool unpack_unsupported(Evas_Object*, Evas_Object*, _WidgetInfo*) { return false; }

Evas_Object* makePlaceHolder(Evas_Object* obj)
{
    if (!obj)
        return nullptr;
    Evas_Object* rect = evas_object_rectangle_add(evas_object_evas_get(obj));
    evas_object_size_hint_weight_set(rect, 1.0, 1.0);
    evas_object_size_hint_align_set(rect, EVAS_HINT_FILL, EVAS_HINT_FILL);
    evas_object_hide(rect);
    return rect;
}
