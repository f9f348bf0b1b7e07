#pragma once
// Item nodes. Toolkit items (list rows, toolbar buttons, ...) are not Evas
// objects, yet every node of a tree needs an object carrying "wid" and
// "widget-type" whose geometry can be measured. An item node's object is
// either the item's tracking object (it follows the item's geometry and is
// released with the item) or a carrier box made inside the container that
// holds the item under "widgetitem".
#include <Elementary.h>

#include <cstddef>
#include <string>

inline constexpr char KEY_WIDGETITEM[] = "widgetitem";
inline constexpr char KEY_CONTAINER[] = "container";
inline constexpr char KEY_ITEM_TRACK[] = "item-track";

Elm_Object_Item* node_item(const Evas_Object* node);
Evas_Object* node_container(const Evas_Object* node);

// True when `parent` is a widget of toolkit type `toolkitType` ("Elm_List");
// otherwise the refusal is recorded for the render command's diagnostic.
bool item_parent_is(Evas_Object* parent, const char* toolkitType);

// --- Tracking-object nodes -----------------------------------------------
// The tracking object of `item` with "widgetitem" and, when given, "container".
// Null when the toolkit gives no item or no tracking object.
Evas_Object* item_track_node(Elm_Object_Item* item, Evas_Object* container);
// The same for an item the toolkit draws through another one (a context
// popup's rows are rows of an inner list, and only those have a view to
// follow): the node follows `shown` and stands for `item`.
Evas_Object* item_track_node_shown(Elm_Object_Item* item, Elm_Object_Item* shown, Evas_Object* container);
// Frees the node's tags, untracks the item (which releases the tracking
// object, the node itself, exactly once) and deletes the item.
bool item_track_node_remove(Evas_Object* track);

// --- Carrier-box nodes ---------------------------------------------------
// A box made inside `container`, holding `item` under "widgetitem" (and the
// container under "container" when `withContainer`). The link is cleared on
// whichever side goes first: an item the toolkit deletes leaves the carrier
// without "widgetitem", a carrier deleted first leaves the item alone.
// Genlist-like items whose data record holds the carrier use their own link.
Evas_Object* item_carrier_add(Evas_Object* container, Elm_Object_Item* item, bool withContainer);
// Points an existing carrier at a re-created item.
void item_carrier_rebind(Evas_Object* carrier, Elm_Object_Item* item);

// --- Texts ---------------------------------------------------------------
// Copies `src` into `dst` of `size` bytes, NUL-terminated; a text that does
// not fit is cut at the last whole UTF-8 character.
void utf8_copy(char* dst, size_t size, const char* src);
