#include "components/adapters/Adapter.h"
#include "components/adapters/item_shared.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/circle_shared.h"
#include "components/adapters/widget_adapter/list_shared.h"

namespace {

const char* const CIRCLE_STYLES[] = {
    "default", "title", "groupindex", "1text", "1text.1icon", "2text", "1text.1icon.divider", "1text.1icon.1",
    "2text.1icon.1", "editfield",
};
const char* const CIRCLE_GROUP_STYLES[] = { "groupindex" };
// Round styles show the sub text in "elm.text.1" alone.
const char* const CIRCLE_SUB_NAMES[] = { "elm.text.1" };
const SubTextParts CIRCLE_SUB_PARTS = { CIRCLE_SUB_NAMES, 1 };

const ItemClassKind CIRCLE_KIND = item_class_kind(CIRCLE_STYLES, CIRCLE_GROUP_STYLES, elm_genlist_item_class_new, elm_genlist_item_class_free,
                                                  item_text_get<CIRCLE_SUB_PARTS>, item_icon_get);

// No "item-type": round lists are flat.
constexpr auto CIRCLE_GENLISTITEM_ROWS = genlist_item_rows();
constexpr PropertyTable<GenlistItemShape> CIRCLE_GENLISTITEM_TABLE = genlist_item_table(CIRCLE_GENLISTITEM_ROWS);
constexpr auto circle_genlistitem_set_property
    = genlist_item_set_property<CIRCLE_GENLISTITEM_TABLE, circle_genlist_item_classes>;

// A top-level item of a genlist; items do not nest here.
Evas_Object* circle_genlistitem_add(Evas_Object* parent)
{
    if (widget_is(parent, "Elm_Genlist"))
        return genlist_item_carrier_add(parent, nullptr);
    adapter_refuse_add(node_item(parent) ? "nesting under another item is not supported; its parent must be a genlist"
                                         : "its parent is not a genlist");
    return nullptr;
}

} // namespace

ItemClassTable& circle_genlist_item_classes()
{
    static ItemClassTable* const table = new ItemClassTable(CIRCLE_KIND);
    return *table;
}

extern const WidgetAdapter circle_genlistitem_adapter = {
    .add = circle_genlistitem_add,
    .remove = record_carrier_remove,
    .set_property = circle_genlistitem_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
