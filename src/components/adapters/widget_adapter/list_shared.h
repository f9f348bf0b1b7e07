#pragma once
// Shared by the list adapters (genlist, gengrid, list, index and their
// items) and by every other genlist-like kind: the item data record, the
// item class tables and their callbacks, realize tracking, re-creation of a
// genlist item, carrier removal, and the scroller policy and bounce scheme.
#include <Elementary.h>

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "components/adapters/item_shared.h"
#include "components/adapters/property_walk.h"

inline constexpr size_t ITEM_TEXT_SIZE = 256;

// --- Item data record ----------------------------------------------------
// The data of one genlist or gengrid item. It is made with the node's
// carrier, which holds it under "item-record" until the toolkit item that
// takes it is made; from then on the item owns it and its class's del
// callback releases it. Record and carrier point at each other; whichever
// goes first clears the other's link.
struct ItemRecord {
    char text[ITEM_TEXT_SIZE] {};     // "label"/"text"
    char sub[ITEM_TEXT_SIZE] {};      // "sub-label"
    char iconFile[ITEM_TEXT_SIZE] {}; // "image-path"
    char iconName[ITEM_TEXT_SIZE] {}; // "standard-icon"
    char endFile[ITEM_TEXT_SIZE] {};  // "end-image-path"
    char endName[ITEM_TEXT_SIZE] {};  // "end-standard-icon"
    Evas_Object* carrier = nullptr;
    Elm_Object_Item* item = nullptr;          // the item that owns this record
    Elm_Object_Item* pendingParent = nullptr; // a nested genlist item's parent, until the item is made
};

inline constexpr char KEY_ITEM_RECORD[] = "item-record";

ItemRecord* carrier_record(const Evas_Object* carrier);

// The class del callback of every table: releases the record and, when the
// toolkit deletes the item first, clears the carrier's "widgetitem",
// "item-track" and "item-record".
void item_record_del(void* data, Evas_Object* obj);

// --- Item class callbacks ------------------------------------------------
// Which text parts show the sub text; the main text is always "elm.text".
struct SubTextParts {
    const char* const* names;
    size_t count;
};

// A heap copy (freed by the toolkit) of the text `part` shows, "" if none.
char* item_text(const ItemRecord* rec, const char* part, const SubTextParts& sub);

template <const SubTextParts& SUB>
char* item_text_get(void* data, Evas_Object*, const char* part)
{
    return item_text(static_cast<const ItemRecord*>(data), part, SUB);
}

// Genlist icons: the start icon from its file before its theme name, then
// the end icon, each only in its own parts.
Evas_Object* item_icon_get(void* data, Evas_Object* obj, const char* part);
// Gengrid: the label in every text part, the image in "elm.swallow.icon".
char* grid_text_get(void* data, Evas_Object* obj, const char* part);
Evas_Object* grid_icon_get(void* data, Evas_Object* obj, const char* part);

// --- Item class tables ---------------------------------------------------
// What a table makes its classes from: the style names by index (unknown
// names take index 0), the group styles, the class constructor and its own
// release (the genlist's release does not free a gengrid class), and the
// text and content callbacks. Every class gets `item_record_del`.
struct ItemClassKind {
    const char* const* styles;
    size_t count;
    const char* const* groupStyles;
    size_t groupCount;
    Elm_Gen_Item_Class* (*make)();
    void (*release)(Elm_Gen_Item_Class*);
    Elm_Gen_Item_Text_Get_Cb text;
    Elm_Gen_Item_Content_Get_Cb content;
};

template <size_t N, size_t G>
constexpr ItemClassKind item_class_kind(const char* const (&styles)[N], const char* const (&groups)[G],
                                        Elm_Gen_Item_Class* (*make)(), void (*release)(Elm_Gen_Item_Class*),
                                        Elm_Gen_Item_Text_Get_Cb text, Elm_Gen_Item_Content_Get_Cb content)
{
    return { styles, N, groups, G, make, release, text, content };
}

// One process-wide class per style index, made on first use with the name
// that first reached the index. A list's removal releases the classes no
// live item uses; a class still shown by an item of another list (in
// another window, say) is kept, with its style text, until it is unused.
class ItemClassTable {
public:
    explicit ItemClassTable(const ItemClassKind& kind);
    // Classes may still be referenced by the toolkit's items at process end,
    // so the tables are never destroyed: they keep their classes reachable
    // and let them go with the process.
    ~ItemClassTable() = default;
    ItemClassTable(const ItemClassTable&) = delete;
    ItemClassTable& operator=(const ItemClassTable&) = delete;

    size_t styleIndex(const std::string& name) const;
    bool isGroupStyle(const std::string& name) const;
    Elm_Gen_Item_Class* get(const std::string& name);
    void releaseUnused();
    size_t live() const; // classes held now
    bool holds(const Elm_Gen_Item_Class* cls) const;

private:
    const ItemClassKind& m_kind;
    std::vector<Elm_Gen_Item_Class*> m_classes;
};

ItemClassTable& genlist_item_classes(); // the 18 genlist styles
ItemClassTable& gengrid_item_classes(); // the 8 gengrid styles

// --- Carriers of genlist and gengrid items -------------------------------
// A hidden object on the list's canvas (one a removed node left there, or a
// new one), with an empty record; with
// `withContainer` the list is kept under "container". It has no geometry of
// its own, so the item's position comes from "item-track" or the list.
Evas_Object* record_carrier_add(Evas_Object* list, bool withContainer);
// The render command shows every node's object; a carrier is never drawn,
// and each shown object costs the canvas work in every frame.
void carrier_hide(Evas_Object* carrier);
// Hands the carrier's record to `item`, which was made with it.
void record_carrier_bind(Evas_Object* carrier, ItemRecord* rec, Elm_Object_Item* item);

// Removal of a carrier node: untracks its item, deletes the carrier (its
// tags and links go with it), then the item.
bool carrier_remove(Evas_Object* carrier);
// Removal of a genlist or gengrid item node: untracks the item and leaves it
// with its list. The teardown removes a list right after its items (children
// first), and a list deleted whole takes its items with it at a fraction of
// what deleting them one by one from the living list costs (each deletion
// updates the list's layout and focus chain). The carrier, stripped of its
// tags and links, waits hidden for the next render of its window.
bool record_carrier_remove(Evas_Object* carrier);
// Carriers waiting on `canvas`; none once its window is deleted.
size_t carriers_pooled(const Evas* canvas);

// --- Realize tracking ----------------------------------------------------
// "item-track" on a carrier holds the item's tracking object while the item
// is realized. The key is cleared whichever goes first: the carrier, the
// item, or the tracking object (the toolkit deletes it with the item's view).
void carrier_track(Evas_Object* carrier, Elm_Object_Item* item);
void carrier_untrack(Evas_Object* carrier, Elm_Object_Item* item);
// A carrier whose item is tracked by someone else's code keeps no stale
// "item-track" when it is deleted.
void carrier_forget_track_on_del(Evas_Object* carrier);

// "realized"/"unrealized" of a genlist or gengrid whose items carry
// ItemRecords: track the item on its carrier while it is on screen.
void track_realized_items(Evas_Object* list);

// --- Genlist-like widgets --------------------------------------------------
// `add`: a null parent gives null; the list's items are tracked while realized.
template <Evas_Object* (*ADD)(Evas_Object*)>
Evas_Object* tracked_list_add(Evas_Object* parent)
{
    if (!parent)
        return nullptr;
    Evas_Object* list = ADD(parent);
    track_realized_items(list);
    return list;
}

// `remove`: the widget goes first, taking any item left in it; then the
// classes of TABLE that no item of any list uses any more.
template <ItemClassTable& (*TABLE)()>
bool class_list_remove(Evas_Object* list)
{
    if (!remove_widget(list))
        return false;
    TABLE().releaseUnused();
    return true;
}

// --- Genlist items -------------------------------------------------------
// A genlist item is made once its node's properties are known, at the end of
// its set_property, with its final class, type and parent. Appending it with
// the default class at `add` and re-making it for "style" or "item-type"
// would look the same (the render command applies a node's properties before
// it makes the node's later siblings, so the item is still the last one) but
// costs a deletion and an append per item.
struct GenlistItemShape {
    int type = ELM_GENLIST_ITEM_NONE; // "item-type": 1 tree, 2 group, others nothing
    std::string style;                // "style": any name but "default" re-makes the item
    std::optional<bool> selected;     // "selected"
};

// The carrier of an item of `genlist`, nested under `parentItem` when given.
// Null, with the refusal recorded, when the toolkit makes no object.
Evas_Object* genlist_item_carrier_add(Evas_Object* genlist, Elm_Object_Item* parentItem);

// Makes the carrier's item: a style re-makes it at the top level with
// `table`'s class of that name, as a group item for a group style, and an
// item made for a style starts unselected (as a re-made item would); an item
// type keeps the class and parent. Group items are display-only. An item
// already made is re-made at the end of the list only when the shape asks
// for a style or a type. False, with one diagnostic, when the node has no
// record or the toolkit makes no item.
bool genlist_item_place(Evas_Object* carrier, ItemClassTable& table, const GenlistItemShape& shape);

// True when `obj` is a widget of toolkit type `toolkitType` ("Elm_Genlist").
bool widget_is(const Evas_Object* obj, const char* toolkitType);

// set_property of a genlist item kind: the walk, then the item is made with
// a class of `classes` (also for a node without properties).
bool genlist_item_set(Evas_Object* carrier, const _WidgetInfo* node, const PropertyTable<GenlistItemShape>& table,
                      ItemClassTable& classes);

template <const PropertyTable<GenlistItemShape>& TABLE, ItemClassTable& (*CLASSES)()>
bool genlist_item_set_property(Evas_Object* carrier, _WidgetInfo* node, std::string)
{
    return genlist_item_set(carrier, node, TABLE, CLASSES());
}

// --- Item rows of the typed walk -------------------------------------------
// Before the walk of an item node made with its item: false, with one
// diagnostic, when the node has no toolkit item.
bool node_item_present(Evas_Object* node);

template <class S>
bool item_present(Evas_Object* node, S&)
{
    return node_item_present(node);
}

void record_text_set(Evas_Object* carrier, char* field, const std::string& value, void (*update)(Elm_Object_Item*));

// A text of the carrier's record (skip empty), then the item's update call
// when the item is made.
template <char (ItemRecord::*FIELD)[ITEM_TEXT_SIZE], void (*UPDATE)(Elm_Object_Item*), class S>
void record_text(Evas_Object* carrier, const std::string& v, S&)
{
    if (ItemRecord* rec = carrier_record(carrier))
        record_text_set(carrier, rec->*FIELD, v, UPDATE);
}

// A boolean setter of the node's toolkit item.
template <auto F, class S>
void item_bool(Evas_Object* node, const std::string& v, S&)
{
    Elm_Object_Item* item = node_item(node);
    bool b;
    if (item && prop_bool(v, b))
        F(item, b ? EINA_TRUE : EINA_FALSE);
}

// --- Scroller policy and bounce ---------------------------------------------
// Per walk: both policies start off; "policy-h"/"policy-v" set one half (0
// reads as off) and apply both at once; the bounce texts apply after the
// walk when both are exactly "true" or "false".
struct ScrollerScheme {
    int policyH = ELM_SCROLLER_POLICY_OFF;
    int policyV = ELM_SCROLLER_POLICY_OFF;
    std::string bounceH;
    std::string bounceV;
};

// Where both halves go once one is set: the widget's own scroller, unless
// the kind shows its scroll position some other way.
using PolicyApply = void (*)(Evas_Object* obj, Elm_Scroller_Policy h, Elm_Scroller_Policy v);
void widget_policy_apply(Evas_Object* obj, Elm_Scroller_Policy h, Elm_Scroller_Policy v);

void scroller_policy(Evas_Object* obj, const std::string& v, ScrollerScheme& s, bool horizontal,
                     PolicyApply apply = widget_policy_apply);
void scroller_bounce(Evas_Object* obj, const ScrollerScheme& s);

namespace scroller_row {

template <class S, PolicyApply APPLY = widget_policy_apply>
void policy_h(Evas_Object* obj, const std::string& v, S& s)
{
    scroller_policy(obj, v, s, true, APPLY);
}

template <class S, PolicyApply APPLY = widget_policy_apply>
void policy_v(Evas_Object* obj, const std::string& v, S& s)
{
    scroller_policy(obj, v, s, false, APPLY);
}

// The after-walk step of a widget whose state is (or extends) the scheme.
template <class S>
void after(Evas_Object* obj, S& s)
{
    scroller_bounce(obj, s);
}

template <class S>
constexpr RowApply<S> bounce_h = row::keep_text<&ScrollerScheme::bounceH, S>;
template <class S>
constexpr RowApply<S> bounce_v = row::keep_text<&ScrollerScheme::bounceV, S>;

} // namespace scroller_row

// --- Rows of the genlist kinds ----------------------------------------------
// The genlist widget's rows after those the kind puts first (names are
// unique, so the order does not change which row handles a name); the
// policies reach the screen through APPLY, the bounce after the walk.
template <PolicyApply APPLY = widget_policy_apply, class... First>
constexpr std::array<Row<ScrollerScheme>, sizeof...(First) + 8> genlist_rows(First... first)
{
    using S = ScrollerScheme;
    return { {
        first...,
        { "homogeneous", row::set_bool<elm_genlist_homogeneous_set, S> },
        { "select-mode", row::set_int<elm_genlist_select_mode_set, S> },
        { "mode", row::set_int<elm_genlist_mode_set, S> },
        { "multi-select", row::set_bool<elm_genlist_multi_select_set, S> },
        { "policy-h", scroller_row::policy_h<S, APPLY> },
        { "policy-v", scroller_row::policy_v<S, APPLY> },
        { "h-bounce", scroller_row::bounce_h<S> },
        { "v-bounce", scroller_row::bounce_v<S> },
    } };
}

template <size_t N>
constexpr PropertyTable<ScrollerScheme> genlist_table(const std::array<Row<ScrollerScheme>, N>& rows)
{
    return property_table(rows, { .after = scroller_row::after<ScrollerScheme> });
}

// A genlist item's rows (texts, icons, "selected", "style"), then the kind's
// own; other names are ignored.
template <char (ItemRecord::*FIELD)[ITEM_TEXT_SIZE]>
constexpr RowApply<GenlistItemShape> genlist_text_row = record_text<FIELD, elm_genlist_item_update, GenlistItemShape>;

template <class... More>
constexpr std::array<Row<GenlistItemShape>, sizeof...(More) + 9> genlist_item_rows(More... more)
{
    using S = GenlistItemShape;
    return { {
        { "label", genlist_text_row<&ItemRecord::text> },
        { "text", genlist_text_row<&ItemRecord::text> },
        { "sub-label", genlist_text_row<&ItemRecord::sub> },
        { "end-standard-icon", genlist_text_row<&ItemRecord::endName> },
        { "end-image-path", genlist_text_row<&ItemRecord::endFile> },
        { "standard-icon", genlist_text_row<&ItemRecord::iconName> },
        { "image-path", genlist_text_row<&ItemRecord::iconFile> },
        { "selected", row::keep_bool<&S::selected, S> },
        { "style", row::keep_text<&S::style, S> },
        more...,
    } };
}

template <size_t N>
constexpr PropertyTable<GenlistItemShape> genlist_item_table(const std::array<Row<GenlistItemShape>, N>& rows)
{
    return property_table(rows, { .unknown = UnknownNames::Ignore });
}
