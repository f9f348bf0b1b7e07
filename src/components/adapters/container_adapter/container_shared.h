#pragma once
// Steps shared by the containers that hold their children in named slots
// (scrollers, naviframe, panel, conformant, tab bar, view).
#include <Elementary.h>

#include <string>

#include "components/adapters/property_walk.h"
#include "components/adapters/widget_info.h"

// `add` of a kind made by the toolkit call `Add`: a null parent gives null.
template <Evas_Object* (*Add)(Evas_Object*)>
Evas_Object* add_in_parent(Evas_Object* parent)
{
    return parent ? Add(parent) : nullptr;
}

// --- One child per slot ----------------------------------------------------
// A slot holds one child. A later child packed into a filled slot replaces
// the earlier one and the toolkit deletes the earlier one with its subtree;
// the tree's "children" lists drop deleted members at once (see
// efl_util_list_append), so neither the position walk nor teardown reaches
// it. `subject` (the node named in the diagnostic) gets one line per
// replaced child; `previous` may be null or an object that is no node.
void note_replaced_content(Evas_Object* subject, Evas_Object* previous, Evas_Object* child);

// Puts `child` into `part` of `holder` (null part: the default one), with
// the replacement noted against `subject`.
void slot_content_set(Evas_Object* subject, Evas_Object* holder, const char* part, Evas_Object* child);

// pack/unpack of a kind whose one child lives in content part `Part`
// (nullptr: the widget's default content part).
template <const char* Part>
bool content_part_pack(Evas_Object* container, Evas_Object* child, _WidgetInfo*)
{
    if (!container || !child)
        return false;
    slot_content_set(container, container, Part, child);
    return true;
}

template <const char* Part>
bool content_part_unpack(Evas_Object* container, Evas_Object*, _WidgetInfo*)
{
    if (!container)
        return false;
    elm_object_part_content_unset(container, Part);
    return true;
}

inline constexpr char CONFORMANT_CONTENT_PART[] = "elm.swallow.content";

// --- Naviframe pages -------------------------------------------------------
// Pops the page shown (the toolkit deletes its content at once: it is the
// only page) and pushes `content` as the new one, without title texts.
Elm_Object_Item* naviframe_replace_page(Evas_Object* subject, Evas_Object* naviframe, Evas_Object* content);

// A naviframe page without a title bar.
Elm_Object_Item* naviframe_push_untitled(Evas_Object* naviframe, Evas_Object* content);

// --- Conformant-like kinds ("efl.conformant", "zelva.popup", "zelva.view") --
// "indicator": "true" shows the indicator area opaque, "false" hides it.
extern const PropertyTable<NoState> INDICATOR_TABLE;
inline constexpr auto indicator_set_property = set_property_by<INDICATOR_TABLE>;

// --- Enumerations ------------------------------------------------------------
// The integer when it lies in [lo, hi); otherwise one diagnostic naming the
// property and false (the toolkit would store a number its layout code
// does not know).
bool prop_int_in(Evas_Object* obj, const char* name, const std::string& value, int lo, int hi, int& out);

// --- Tab bars ("efl.tabbar" and its "efl.tabbaritem" tabs) ------------------
// The tab bar a new tab joins: `parent` when it is a tab bar; otherwise the
// tab bar created last, if it is still alive and in the tab's window. Null
// when there is none, with the reason recorded for the render's diagnostic.
Evas_Object* tabbar_for_tab(Evas_Object* parent);
// The toolbar a tab bar made for its tabs (null once it is gone).
Evas_Object* tabbar_toolbar(const Evas_Object* tabbar);
// Shows `content` as the tab bar's page content; a later tab's content
// replaces an earlier one's.
void tabbar_show_content(Evas_Object* tabbar, Evas_Object* content);
