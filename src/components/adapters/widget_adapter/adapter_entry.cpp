#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/value_shared.h"

namespace {

enum { FILE_PATH = 0, TEXT_FORMAT = 0 }; // a text slot and an int slot

// Larger files would stall the main loop while the toolkit lays the text out.
const long long ENTRY_FILE_LIMIT = 1 << 20;

const PropertyRule ENTRY_RULES[] = {
    { "single-line", rule::set_bool<elm_entry_single_line_set> },
    { "password", rule::set_bool<elm_entry_password_set> },
    { "editable", rule::set_bool<elm_entry_editable_set> },
    { "context-menu-disabled", rule::set_bool<elm_entry_context_menu_disabled_set> },
    { "scrollable", rule::set_bool<elm_entry_scrollable_set> },
    { "file-path", value_rule::keep_text_skip_empty<FILE_PATH> },
    { "autosave", rule::set_bool<elm_entry_autosave_set> },
    { "text-format", rule::keep_int<TEXT_FORMAT> },
};

// A preview must never write the IDE's file: with autosave on, the toolkit
// rewrites a loaded file (line ends and markup normalised) or creates a
// missing one, so autosave is turned off before a file is attached.
void entry_load_file(Evas_Object* entry, const std::string& path, int format)
{
    if (!value_file_loadable(entry, path, ENTRY_FILE_LIMIT))
        return;
    elm_entry_autosave_set(entry, EINA_FALSE);
    if (!elm_entry_file_set(entry, path.c_str(), static_cast<Elm_Text_Format>(format)))
        value_diag(entry, "cannot load \"%s\" with text format %d", path.c_str(), format);
}

bool entry_set_property(Evas_Object* entry, _WidgetInfo* node, std::string)
{
    WalkSlots slots;
    WalkResult r = walk_properties(entry, node, ENTRY_RULES, slots);
    if (r == WalkResult::Walked && slots.textGiven[FILE_PATH]) {
        int format = slots.ints[TEXT_FORMAT] == -1 ? 0 : slots.ints[TEXT_FORMAT];
        entry_load_file(entry, slots.texts[FILE_PATH], format);
    }
    return walk_succeeded(r);
}

} // namespace

extern const WidgetAdapter entry_adapter = {
    .add = elm_entry_add,
    .remove = remove_widget,
    .set_property = entry_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
