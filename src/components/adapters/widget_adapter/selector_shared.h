#pragma once
// What the selector, toolbar and popup adapters share: building an item node
// under its container (a tracking object or a carrier box), the walk over an
// item's properties, a child in an item's "icon" part, and the checks on
// values the toolkit would misuse.
#include <Elementary.h>

#include <cstddef>
#include <string>

#include "components/adapters/item_shared.h"
#include "components/adapters/property_walk.h"

// --- Adding items --------------------------------------------------------
// Appends one item to `container`, the toolkit's default item.
using ItemAppend = Elm_Object_Item* (*)(Evas_Object* container);

// A carrier box holding the new item. Refused (null, with the reason for the
// render command's line) when `parent` is not of toolkit type `toolkitType`.
Evas_Object* carrier_item_add(Evas_Object* parent, const char* toolkitType, ItemAppend append);
// The new item's tracking object; refused the same way.
Evas_Object* track_item_add(Evas_Object* parent, const char* toolkitType, ItemAppend append);

// --- Item properties -----------------------------------------------------
// The toolkit item a node stands for, read once before the walk, and whether
// the walk gave it a text (some items show a new text only after an
// animation, so the item cannot be asked yet).
struct ItemState {
    Elm_Object_Item* item = nullptr;
    bool textSet = false;
};

// The walk's `before` hook: false (the call fails) without "widgetitem".
bool item_state_load(Evas_Object* node, ItemState& s);

// Item kinds ignore names they do not know: the shared widget properties
// make no sense on a tracking object or an invisible carrier.
template <size_t N>
constexpr PropertyTable<ItemState> item_table(const Row<ItemState> (&rows)[N])
{
    return property_table(rows, { .unknown = UnknownNames::Ignore, .before = item_state_load });
}

namespace item_row {

// "label" / "text": the item's main text; the empty text is skipped.
void text(Evas_Object* node, const std::string& v, ItemState& s);

template <auto F>
void set_bool(Evas_Object*, const std::string& v, ItemState& s)
{
    bool b;
    if (prop_bool(v, b))
        F(s.item, b ? EINA_TRUE : EINA_FALSE);
}

} // namespace item_row

// The table of the item kinds whose only property is their text.
extern const PropertyTable<ItemState> ITEM_TEXT_TABLE;

// set_property of containers whose every property is a shared one.
extern const PropertyTable<NoState> COMMON_ONLY_TABLE;
inline constexpr auto common_only_set_property = set_property_by<COMMON_ONLY_TABLE>;

// --- A child placed under an item node -------------------------------------
// The child becomes the item's "icon" content; `square` gives it a vertical
// 1:1 aspect hint, so it stays as wide as the row is high.
bool item_icon_pack(Evas_Object* node, Evas_Object* child, bool square);
// Takes the icon back; true when the item held `child`.
bool item_icon_unpack(Evas_Object* node, Evas_Object* child);

template <bool SQUARE>
bool item_icon_packed(Evas_Object* node, Evas_Object* child, _WidgetInfo*)
{
    return item_icon_pack(node, child, SQUARE);
}

bool item_icon_unpacked(Evas_Object* node, Evas_Object* child, _WidgetInfo*);

// Disk selector and segment control items cannot give an icon back: the
// toolkit refuses to unset it and would delete it to replace it. So the
// child is never detached and the result is false.
bool item_icon_kept(Evas_Object* node, Evas_Object* child, _WidgetInfo*);

// --- Values the toolkit would misuse --------------------------------------
// An image path the toolkit opens at once. A pipe, device or directory under
// that name would block the main loop or be read forever, so only a regular
// file, or a name that does not exist (the toolkit reports that itself), is
// let through; otherwise one diagnostic line names the node.
bool image_path_usable(Evas_Object* node, const std::string& path);


// --- Multi-button entry ----------------------------------------------------
// The entry's pending "disable" text, applied to an entry when an item is
// added to it: "true" disables (after enabling, so the items take the
// disabled look too), "false" enables, other texts change nothing.
void multibuttonentry_apply_pending_disable(Evas_Object* entry);
