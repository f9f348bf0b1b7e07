#include "components/adapters/widget_adapter/list_shared.h"

#include <strings.h>

#include <cstdlib>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "components/adapters/Adapter.h"
#include "utils/efl_util.h"

// --- Item data record ----------------------------------------------------

namespace {

void forget_track(Evas_Object* carrier);

} // namespace

ItemRecord* carrier_record(const Evas_Object* carrier)
{
    return carrier ? static_cast<ItemRecord*>(evas_object_data_get(carrier, KEY_ITEM_RECORD)) : nullptr;
}

void item_record_del(void* data, Evas_Object*)
{
    auto* rec = static_cast<ItemRecord*>(data);
    if (!rec)
        return;
    if (rec->carrier && carrier_record(rec->carrier) == rec) {
        forget_track(rec->carrier);
        evas_object_data_del(rec->carrier, KEY_WIDGETITEM);
        evas_object_data_del(rec->carrier, KEY_ITEM_RECORD);
    }
    delete rec;
}

// --- Item class callbacks ------------------------------------------------

namespace {

bool is(const char* part, const char* name) { return part && strcmp(part, name) == 0; }

char* heap_text(const char* text) { return strdup(text ? text : ""); }

// Icons keep a fixed size in the design's units whatever the screen scale.
Evas_Object* sized(Evas_Object* icon)
{
    double base = elm_app_base_scale_get();
    int side = int(30 / (base > 0 ? base : 1.0) * elm_config_scale_get());
    evas_object_size_hint_min_set(icon, side, side);
    return icon;
}

Evas_Object* file_icon(Evas_Object* obj, const char* file)
{
    Evas_Object* icon = elm_icon_add(obj);
    elm_image_file_set(icon, file, nullptr);
    return sized(icon);
}

Evas_Object* theme_icon(Evas_Object* obj, const char* name)
{
    Evas_Object* icon = elm_icon_add(obj);
    elm_icon_standard_set(icon, name);
    return sized(icon);
}

} // namespace

char* item_text(const ItemRecord* rec, const char* part, const SubTextParts& sub)
{
    if (!rec)
        return heap_text("");
    if (is(part, "elm.text"))
        return heap_text(rec->text);
    for (size_t i = 0; i < sub.count; ++i)
        if (is(part, sub.names[i]))
            return heap_text(rec->sub);
    return heap_text("");
}

Evas_Object* item_icon_get(void* data, Evas_Object* obj, const char* part)
{
    auto* rec = static_cast<const ItemRecord*>(data);
    if (!rec)
        return nullptr;
    // The start icon's file wins over its theme name, also in parts where the
    // file is not shown.
    if (rec->iconFile[0]) {
        if (is(part, "elm.swallow.icon") || is(part, "elm.icon"))
            return file_icon(obj, rec->iconFile);
    } else if (rec->iconName[0] && is(part, "elm.swallow.icon")) {
        return theme_icon(obj, rec->iconName);
    }
    if (rec->endFile[0])
        return is(part, "elm.swallow.end") ? file_icon(obj, rec->endFile) : nullptr;
    if (rec->endName[0] && is(part, "elm.swallow.end"))
        return theme_icon(obj, rec->endName);
    return nullptr;
}

char* grid_text_get(void* data, Evas_Object*, const char*)
{
    auto* rec = static_cast<const ItemRecord*>(data);
    return heap_text(rec ? rec->text : "");
}

Evas_Object* grid_icon_get(void* data, Evas_Object* obj, const char* part)
{
    auto* rec = static_cast<const ItemRecord*>(data);
    if (!rec || !rec->iconFile[0] || !is(part, "elm.swallow.icon"))
        return nullptr;
    Evas_Object* icon = elm_icon_add(obj);
    elm_image_file_set(icon, rec->iconFile, nullptr);
    evas_object_show(icon);
    return icon;
}

// --- Item class tables ---------------------------------------------------

ItemClassTable::ItemClassTable(const ItemClassKind& kind) : m_kind(kind), m_classes(kind.count, nullptr) {}

size_t ItemClassTable::styleIndex(const std::string& name) const
{
    for (size_t i = 0; i < m_kind.count; ++i)
        if (name == m_kind.styles[i])
            return i;
    return 0;
}

bool ItemClassTable::isGroupStyle(const std::string& name) const
{
    for (size_t i = 0; i < m_kind.groupCount; ++i)
        if (name == m_kind.groupStyles[i])
            return true;
    return false;
}

// A class takes its index's own style name: an unknown name reaches the
// "default" class, even as the first name to ask for it.
Elm_Gen_Item_Class* ItemClassTable::get(const std::string& name)
{
    size_t index = styleIndex(name);
    Elm_Gen_Item_Class*& slot = m_classes[index];
    if (slot)
        return slot;
    Elm_Gen_Item_Class* cls = m_kind.make();
    if (!cls)
        return nullptr;
    cls->item_style = strdup(m_kind.styles[index]);
    cls->func.text_get = m_kind.text;
    cls->func.content_get = m_kind.content;
    cls->func.state_get = nullptr; // no states: reads as false
    cls->func.del = item_record_del;
    slot = cls;
    return cls;
}

// The toolkit counts one reference for the class's creator and one per
// item using it (see the gengrid class update in adapter_gengriditem.cpp),
// and frees a class once it is released and unused. Its style text is ours:
// it must live as long as the class can still be read by an item.
void ItemClassTable::releaseUnused()
{
    for (Elm_Gen_Item_Class*& slot : m_classes) {
        if (!slot || slot->refcount > 1)
            continue;
        char* style = const_cast<char*>(slot->item_style);
        m_kind.release(slot);
        free(style);
        slot = nullptr;
    }
}

size_t ItemClassTable::live() const
{
    size_t n = 0;
    for (const Elm_Gen_Item_Class* cls : m_classes)
        n += cls != nullptr;
    return n;
}

bool ItemClassTable::holds(const Elm_Gen_Item_Class* cls) const
{
    for (const Elm_Gen_Item_Class* c : m_classes)
        if (cls && c == cls)
            return true;
    return false;
}

namespace {

const char* const GENLIST_STYLES[] = {
    "default",   "default_style", "double_label", "end_icon",   "full",
    "group_index", "one_icon",    "message",      "groupindex", "1text",
    "1text.1icon", "2text",       "2text.1",      "1text.1icon.divider",
    "1text.1icon.1", "2text.1icon.1", "multiline/1text", "multiline/2text",
};
const char* const GENLIST_GROUP_STYLES[] = { "group_index", "groupindex" };
const char* const GENLIST_SUB_NAMES[] = { "elm.text.sub", "elm.text.1" };
const SubTextParts GENLIST_SUB_PARTS = { GENLIST_SUB_NAMES, 2 };

const char* const GENGRID_STYLES[] = {
    "default",      "album-preview",     "block",            "group_index",
    "default_grid", "default_gridtext2", "default_gridtext", "default_style",
};
const char* const GENGRID_GROUP_STYLES[] = { "group_index" };

const ItemClassKind GENLIST_KIND = item_class_kind(GENLIST_STYLES, GENLIST_GROUP_STYLES, elm_genlist_item_class_new, elm_genlist_item_class_free,
                                                   item_text_get<GENLIST_SUB_PARTS>, item_icon_get);
const ItemClassKind GENGRID_KIND = item_class_kind(GENGRID_STYLES, GENGRID_GROUP_STYLES, elm_gengrid_item_class_new, elm_gengrid_item_class_free,
                                                   grid_text_get, grid_icon_get);

} // namespace

ItemClassTable& genlist_item_classes()
{
    static ItemClassTable* const table = new ItemClassTable(GENLIST_KIND);
    return *table;
}

ItemClassTable& gengrid_item_classes()
{
    static ItemClassTable* const table = new ItemClassTable(GENGRID_KIND);
    return *table;
}

// --- Realize tracking ----------------------------------------------------

namespace {

void track_deleted(void* data, Evas*, Evas_Object* track, void*)
{
    auto* carrier = static_cast<Evas_Object*>(data);
    if (evas_object_data_get(carrier, KEY_ITEM_TRACK) == track)
        evas_object_data_del(carrier, KEY_ITEM_TRACK);
}

void forget_track(Evas_Object* carrier)
{
    auto* track = static_cast<Evas_Object*>(evas_object_data_del(carrier, KEY_ITEM_TRACK));
    if (track)
        evas_object_event_callback_del_full(track, EVAS_CALLBACK_DEL, track_deleted, carrier);
}

void carrier_deleted_forget_track(void*, Evas*, Evas_Object* carrier, void*) { forget_track(carrier); }

ItemRecord* record_of(Elm_Object_Item* item)
{
    auto* rec = item ? static_cast<ItemRecord*>(elm_object_item_data_get(item)) : nullptr;
    return rec && rec->item == item ? rec : nullptr;
}

void record_item_realized(void*, Evas_Object*, void* event)
{
    auto* item = static_cast<Elm_Object_Item*>(event);
    if (ItemRecord* rec = record_of(item))
        carrier_track(rec->carrier, item);
}

void record_item_unrealized(void*, Evas_Object*, void* event)
{
    auto* item = static_cast<Elm_Object_Item*>(event);
    if (ItemRecord* rec = record_of(item))
        carrier_untrack(rec->carrier, item);
}

} // namespace

void carrier_track(Evas_Object* carrier, Elm_Object_Item* item)
{
    if (!carrier || !item || elm_object_item_track_get(item) > 0)
        return;
    Evas_Object* track = elm_object_item_track(item);
    if (!track)
        return;
    forget_track(carrier);
    evas_object_event_callback_add(track, EVAS_CALLBACK_DEL, track_deleted, carrier);
    evas_object_data_set(carrier, KEY_ITEM_TRACK, track);
}

void carrier_untrack(Evas_Object* carrier, Elm_Object_Item* item)
{
    if (!item || elm_object_item_track_get(item) == 0)
        return;
    if (carrier)
        forget_track(carrier);
    elm_object_item_untrack(item);
}

void carrier_forget_track_on_del(Evas_Object* carrier)
{
    evas_object_event_callback_add(carrier, EVAS_CALLBACK_DEL, carrier_deleted_forget_track, nullptr);
}

void track_realized_items(Evas_Object* list)
{
    evas_object_smart_callback_add(list, "realized", record_item_realized, nullptr);
    evas_object_smart_callback_add(list, "unrealized", record_item_unrealized, nullptr);
}

// --- Carriers of genlist and gengrid items -------------------------------

namespace {

// The carrier going first leaves no pointer to it in the record; a record
// no item took yet goes with it.
bool release_record(Evas_Object* carrier)
{
    auto* rec = static_cast<ItemRecord*>(evas_object_data_del(carrier, KEY_ITEM_RECORD));
    if (!rec)
        return false;
    if (!rec->item)
        delete rec;
    else
        rec->carrier = nullptr;
    return true;
}

// Carriers of removed item nodes, hidden and bare, by canvas: the next render
// of the same window takes them again, since making and deleting an object
// per item costs about as much as the item itself. A carrier leaves its pool
// when the toolkit deletes it (with its window).
std::unordered_map<Evas*, std::vector<Evas_Object*>> carrier_pool;

void record_carrier_deleted(void*, Evas* canvas, Evas_Object* carrier, void*)
{
    forget_track(carrier);
    release_record(carrier);
    auto pool = carrier_pool.find(canvas);
    if (pool == carrier_pool.end())
        return;
    std::erase(pool->second, carrier);
    if (pool->second.empty())
        carrier_pool.erase(pool);
}

Evas_Object* pooled_carrier(Evas* canvas)
{
    auto pool = carrier_pool.find(canvas);
    if (pool == carrier_pool.end())
        return nullptr;
    Evas_Object* carrier = pool->second.back();
    pool->second.pop_back();
    if (pool->second.empty())
        carrier_pool.erase(pool);
    return carrier;
}

Evas_Object* new_carrier(Evas* canvas)
{
    Evas_Object* carrier = evas_object_rectangle_add(canvas);
    if (carrier)
        evas_object_event_callback_add(carrier, EVAS_CALLBACK_DEL, record_carrier_deleted, nullptr);
    return carrier;
}

} // namespace

// A plain rectangle, kept hidden: lists hold hundreds of items, and a widget
// per item would cost more than the items themselves.
Evas_Object* record_carrier_add(Evas_Object* list, bool withContainer)
{
    Evas* canvas = list ? evas_object_evas_get(list) : nullptr;
    Evas_Object* carrier = pooled_carrier(canvas);
    if (!carrier)
        carrier = canvas ? new_carrier(canvas) : nullptr;
    if (!carrier)
        return nullptr;
    if (withContainer)
        evas_object_data_set(carrier, KEY_CONTAINER, list);
    auto* rec = new ItemRecord;
    rec->carrier = carrier;
    evas_object_data_set(carrier, KEY_ITEM_RECORD, rec);
    return carrier;
}

void carrier_hide(Evas_Object* carrier)
{
    if (carrier)
        evas_object_hide(carrier);
}

void record_carrier_bind(Evas_Object* carrier, ItemRecord* rec, Elm_Object_Item* item)
{
    rec->carrier = carrier;
    rec->item = item;
    rec->pendingParent = nullptr;
    evas_object_data_set(carrier, KEY_ITEM_RECORD, rec);
    evas_object_data_set(carrier, KEY_WIDGETITEM, item);
}

namespace {

// The carrier's item, no longer tracked by it.
Elm_Object_Item* untracked_item(Evas_Object* carrier)
{
    Elm_Object_Item* item = node_item(carrier);
    forget_track(carrier);
    while (item && elm_object_item_track_get(item) > 0)
        elm_object_item_untrack(item);
    return item;
}

} // namespace

// The carrier's tags ("wid", "widget-type") and links go with it.
bool carrier_remove(Evas_Object* carrier)
{
    if (!carrier)
        return false;
    Elm_Object_Item* item = untracked_item(carrier);
    evas_object_del(carrier);
    if (item)
        elm_object_item_del(item);
    return true;
}

// A carrier whose record is gone (its item was deleted by the toolkit, or
// it was removed before) is deleted rather than pooled.
bool record_carrier_remove(Evas_Object* carrier)
{
    if (!carrier)
        return false;
    untracked_item(carrier);
    efl_util_tag_text_del(carrier, KEY_WID);
    efl_util_tag_text_del(carrier, KEY_WIDGET_TYPE);
    evas_object_data_del(carrier, KEY_CONTAINER);
    evas_object_data_del(carrier, KEY_WIDGETITEM);
    if (!release_record(carrier)) {
        evas_object_del(carrier);
        return true;
    }
    evas_object_hide(carrier);
    carrier_pool[evas_object_evas_get(carrier)].push_back(carrier);
    return true;
}

size_t carriers_pooled(const Evas* canvas)
{
    auto pool = carrier_pool.find(const_cast<Evas*>(canvas));
    return pool == carrier_pool.end() ? 0 : pool->second.size();
}

// --- Genlist items -------------------------------------------------------

namespace {

ItemRecord* clone_item_data(const ItemRecord* from)
{
    auto* rec = new ItemRecord;
    utf8_copy(rec->text, ITEM_TEXT_SIZE, from->text);
    utf8_copy(rec->sub, ITEM_TEXT_SIZE, from->sub);
    utf8_copy(rec->iconFile, ITEM_TEXT_SIZE, from->iconFile);
    utf8_copy(rec->iconName, ITEM_TEXT_SIZE, from->iconName);
    utf8_copy(rec->endFile, ITEM_TEXT_SIZE, from->endFile);
    utf8_copy(rec->endName, ITEM_TEXT_SIZE, from->endName);
    rec->carrier = from->carrier;
    return rec;
}

// Deletes the made item and appends a new one with a copy of its record.
Elm_Object_Item* remake(Evas_Object* genlist, ItemRecord*& rec, const Elm_Genlist_Item_Class* cls,
                        Elm_Object_Item* parent, Elm_Genlist_Item_Type type)
{
    ItemRecord* copy = clone_item_data(rec);
    // The old item may hold the only item reference to its class.
    auto* held = const_cast<Elm_Genlist_Item_Class*>(cls);
    elm_genlist_item_class_ref(held);
    elm_object_item_del(rec->item); // releases `rec`
    rec = copy;
    Elm_Object_Item* item = elm_genlist_item_append(genlist, cls, copy, parent, type, nullptr, nullptr);
    elm_genlist_item_class_unref(held);
    if (!item)
        delete copy;
    return item;
}

} // namespace

Evas_Object* genlist_item_carrier_add(Evas_Object* genlist, Elm_Object_Item* parentItem)
{
    Evas_Object* carrier = record_carrier_add(genlist, true);
    if (!carrier) {
        adapter_refuse_add("the toolkit made no carrier object");
        return nullptr;
    }
    carrier_record(carrier)->pendingParent = parentItem;
    return carrier;
}

bool genlist_item_place(Evas_Object* carrier, ItemClassTable& table, const GenlistItemShape& shape)
{
    ItemRecord* rec = carrier_record(carrier);
    Evas_Object* genlist = node_container(carrier);
    if (!rec || !genlist) {
        node_diag(carrier, "the node has no genlist item; its properties are ignored");
        return false;
    }
    bool restyled = !shape.style.empty() && shape.style != "default";
    bool retyped = shape.type == ELM_GENLIST_ITEM_TREE || shape.type == ELM_GENLIST_ITEM_GROUP;
    Elm_Object_Item* old = rec->item;
    Elm_Object_Item* item = old;
    if (!old || restyled || retyped) {
        const Elm_Genlist_Item_Class* cls = restyled ? table.get(shape.style)
            : old                                    ? elm_genlist_item_item_class_get(old)
                                                     : table.get("default");
        Elm_Object_Item* parent = restyled ? nullptr : old ? elm_genlist_item_parent_get(old) : rec->pendingParent;
        auto type = static_cast<Elm_Genlist_Item_Type>(retyped ? shape.type : ELM_GENLIST_ITEM_NONE);
        if (restyled)
            type = table.isGroupStyle(shape.style) ? ELM_GENLIST_ITEM_GROUP : ELM_GENLIST_ITEM_NONE;
        item = old ? remake(genlist, rec, cls, parent, type)
                   : elm_genlist_item_append(genlist, cls, rec, parent, type, nullptr, nullptr);
        if (!item) {
            node_diag(carrier, "the toolkit made no genlist item; the node has none");
            return false;
        }
        record_carrier_bind(carrier, rec, item);
        if (type == ELM_GENLIST_ITEM_GROUP)
            elm_genlist_item_select_mode_set(item, ELM_OBJECT_SELECT_MODE_DISPLAY_ONLY);
    }
    if (shape.selected && !restyled)
        elm_genlist_item_selected_set(item, *shape.selected);
    return true;
}

bool genlist_item_set(Evas_Object* carrier, const _WidgetInfo* node, const PropertyTable<GenlistItemShape>& table,
                      ItemClassTable& classes)
{
    GenlistItemShape shape;
    if (!set_properties(carrier, node, table, shape))
        return false;
    carrier_hide(carrier);
    return genlist_item_place(carrier, classes, shape);
}

bool widget_is(const Evas_Object* obj, const char* toolkitType)
{
    const char* type = obj ? elm_object_widget_type_get(obj) : nullptr;
    return type && strcasecmp(type, toolkitType) == 0;
}

// --- Item rows -------------------------------------------------------------

bool node_item_present(Evas_Object* node)
{
    if (node_item(node))
        return true;
    node_diag(node, "the node has no toolkit item; its properties are ignored");
    return false;
}

void record_text_set(Evas_Object* carrier, char* field, const std::string& value, void (*update)(Elm_Object_Item*))
{
    if (value.empty())
        return;
    utf8_copy(field, ITEM_TEXT_SIZE, value.c_str());
    if (Elm_Object_Item* item = node_item(carrier))
        update(item);
}

// --- Scroller policy and bounce ---------------------------------------------

void widget_policy_apply(Evas_Object* obj, Elm_Scroller_Policy h, Elm_Scroller_Policy v)
{
    elm_scroller_policy_set(obj, h, v);
}

void scroller_policy(Evas_Object* obj, const std::string& v, ScrollerScheme& s, bool horizontal, PolicyApply apply)
{
    int policy;
    if (!prop_int(v, policy))
        return;
    (horizontal ? s.policyH : s.policyV) = policy == 0 ? ELM_SCROLLER_POLICY_OFF : policy;
    apply(obj, static_cast<Elm_Scroller_Policy>(s.policyH), static_cast<Elm_Scroller_Policy>(s.policyV));
}

void scroller_bounce(Evas_Object* obj, const ScrollerScheme& s)
{
    bool h, v;
    if (prop_bool(s.bounceH, h) && prop_bool(s.bounceV, v))
        elm_scroller_bounce_set(obj, h, v);
}
