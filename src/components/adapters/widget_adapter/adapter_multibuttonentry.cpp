#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/selector_shared.h"

namespace {

// Process-wide on purpose: an entry without "disable" passes on the text the
// last entry carrying it asked for. It is applied when an item is added, not
// after the entry's own walk.
DeferredStyleDisable multibuttonentry_pending { "", "false" };

void entry_text(Evas_Object* entry, const char* text)
{
    elm_object_part_text_set(entry, nullptr, text);
}

const Row<NoState> MULTIBUTTONENTRY_ROWS[] = {
    { "label", row::set_text_skip_empty<entry_text> },
    { "text", row::set_text_skip_empty<entry_text> },
    { "expanded", row::set_bool<elm_multibuttonentry_expanded_set> },
    { "editable", row::set_bool<elm_multibuttonentry_editable_set> },
    { "disable", row::defer_disable<&multibuttonentry_pending> },
};

constexpr PropertyTable<NoState> MULTIBUTTONENTRY_TABLE = property_table(MULTIBUTTONENTRY_ROWS);

constexpr auto multibuttonentry_set_property = set_property_by<MULTIBUTTONENTRY_TABLE>;

} // namespace

void multibuttonentry_apply_pending_disable(Evas_Object* entry)
{
    const std::string& disable = multibuttonentry_pending.disable;
    if (disable != "true" && disable != "false")
        return;
    elm_object_disabled_set(entry, EINA_FALSE);
    if (disable == "true")
        elm_object_disabled_set(entry, EINA_TRUE);
}

extern const WidgetAdapter multibuttonentry_adapter = {
    .add = elm_multibuttonentry_add,
    .remove = remove_widget,
    .set_property = multibuttonentry_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
