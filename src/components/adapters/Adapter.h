#pragma once
#include <Elementary.h>

#include <string>

#include "components/adapters/widget_info.h"

// The five operations of one widget kind. Records are constant tables of
// function pointers; getAdapter maps type names onto them.
struct WidgetAdapter {
    Evas_Object* (*add)(Evas_Object* parent);
    bool (*remove)(Evas_Object* obj);
    bool (*set_property)(Evas_Object* obj, _WidgetInfo* node, std::string renderType);
    bool (*pack)(Evas_Object* container, Evas_Object* child, _WidgetInfo* childNode);
    bool (*unpack)(Evas_Object* container, Evas_Object* child, _WidgetInfo* childNode);
};

// The record of a widget type name, or null for a name without one.
const WidgetAdapter* getAdapter(std::string name);

// The record that built `obj`, kept on it by the render command, so that
// packing its children and tearing it down need no lookup by name. Null for
// an object no render built.
void adapter_attach(Evas_Object* obj, const WidgetAdapter* adapter);
const WidgetAdapter* adapter_of(const Evas_Object* obj);
// Takes the record off `obj` and returns it: teardown removes an object
// through its record once, however often it is reached.
const WidgetAdapter* adapter_detach(Evas_Object* obj);

// Properties every widget understands; false only for a null object.
bool common_set_property(Evas_Object* obj, const std::string& name, const std::string& value);

bool remove_widget(Evas_Object* obj);
bool pack_unsupported(Evas_Object* container, Evas_Object* child, _WidgetInfo* childNode);
bool unpack_unsupported(Evas_Object* container, Evas_Object* child, _WidgetInfo* childNode);

// An `add` that cannot build its node (an item under the wrong parent, say)
// returns null after naming the reason here; the render command reports the
// reason in its one line about the skipped node.
void adapter_refuse_add(const char* reason);
// The reason given since the last call, or "" (and forgets it).
std::string adapter_take_refusal();

// A hidden rectangle standing for an empty container slot.
Evas_Object* makePlaceHolder(Evas_Object* obj);

// Object data keys shared between the render command, adapters and the position walk.
inline constexpr char KEY_WID[] = "wid";
inline constexpr char KEY_WIDGET_TYPE[] = "widget-type";
inline constexpr char KEY_CHILDREN[] = "children";
inline constexpr char KEY_PLACEHOLDER[] = "placeholder";
inline constexpr char KEY_PAGE[] = "page";
inline constexpr char KEY_ADAPTER[] = "adapter";
