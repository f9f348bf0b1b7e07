#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"

namespace {

Evas_Object* ctxpopup_add(Evas_Object* parent)
{
    if (!parent)
        return nullptr;
    Evas_Object* popup = elm_ctxpopup_add(parent);
    // The toolkit dismisses a context popup when its window is resized, and
    // the render command sizes the window after building the tree.
    elm_ctxpopup_auto_hide_disabled_set(popup, EINA_TRUE);
    evas_object_move(popup, 0, 0);
    evas_object_show(popup);
    return popup;
}

const Row<NoState> CTXPOPUP_ROWS[] = {
    { "horizontal", row::set_bool<elm_ctxpopup_horizontal_set> },
};

constexpr PropertyTable<NoState> CTXPOPUP_TABLE = property_table(CTXPOPUP_ROWS);

constexpr auto ctxpopup_set_property = set_property_by<CTXPOPUP_TABLE>;

} // namespace

extern const WidgetAdapter ctxpopup_adapter = {
    .add = ctxpopup_add,
    .remove = remove_widget,
    .set_property = ctxpopup_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
