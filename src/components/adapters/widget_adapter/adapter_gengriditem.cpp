#include "components/adapters/Adapter.h"
#include "components/adapters/item_shared.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/list_shared.h"

namespace {

// The toolkit's class update neither references the new class nor releases
// the old one, yet deleting the item releases the class it has then. Without
// the balance here a class used only through an update could be freed under
// a live item.
void gengriditem_style(Evas_Object* carrier, const std::string& v, NoState&)
{
    Elm_Object_Item* item = node_item(carrier);
    if (!item || v.empty())
        return;
    Elm_Gengrid_Item_Class* cls = gengrid_item_classes().get(v);
    auto* old = const_cast<Elm_Gengrid_Item_Class*>(elm_gengrid_item_item_class_get(item));
    if (!cls || cls == old)
        return;
    elm_gengrid_item_class_ref(cls);
    elm_gengrid_item_item_class_update(item, cls);
    elm_gengrid_item_class_unref(old);
}

template <char (ItemRecord::*FIELD)[ITEM_TEXT_SIZE]>
constexpr RowApply<NoState> text_row = record_text<FIELD, elm_gengrid_item_update, NoState>;

const Row<NoState> GENGRIDITEM_ROWS[] = {
    { "label", text_row<&ItemRecord::text> },
    { "text", text_row<&ItemRecord::text> },
    { "image-path", text_row<&ItemRecord::iconFile> },
    { "selected", item_bool<elm_gengrid_item_selected_set, NoState> },
    { "disabled", item_bool<elm_object_item_disabled_set, NoState> },
    { "style", gengriditem_style },
};

constexpr PropertyTable<NoState> GENGRIDITEM_TABLE
    = property_table(GENGRIDITEM_ROWS, { .unknown = UnknownNames::Ignore, .before = item_present<NoState> });

bool gengriditem_set_property(Evas_Object* carrier, _WidgetInfo* node, std::string)
{
    carrier_hide(carrier);
    return set_properties(carrier, node, GENGRIDITEM_TABLE);
}

Evas_Object* gengriditem_add(Evas_Object* grid)
{
    if (!item_parent_is(grid, "Elm_Gengrid"))
        return nullptr;
    Evas_Object* carrier = record_carrier_add(grid, false);
    ItemRecord* rec = carrier_record(carrier);
    Elm_Object_Item* item
        = rec ? elm_gengrid_item_append(grid, gengrid_item_classes().get("default"), rec, nullptr, nullptr) : nullptr;
    if (!item) {
        evas_object_del(carrier);
        adapter_refuse_add("the toolkit made no gengrid item");
        return nullptr;
    }
    record_carrier_bind(carrier, rec, item);
    return carrier;
}

} // namespace

extern const WidgetAdapter gengriditem_adapter = {
    .add = gengriditem_add,
    .remove = record_carrier_remove,
    .set_property = gengriditem_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
