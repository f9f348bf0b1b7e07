#include <optional>

#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/value_shared.h"

namespace {

// A file is loaded after the walk, with the text format given anywhere in it.
struct EntryFile {
    std::string path; // empty: none given
    std::optional<int> format;
};

// Larger files would stall the main loop while the toolkit lays the text out.
const long long ENTRY_FILE_LIMIT = 1 << 20;

const Row<EntryFile> ENTRY_ROWS[] = {
    { "single-line", row::set_bool<elm_entry_single_line_set> },
    { "password", row::set_bool<elm_entry_password_set> },
    { "editable", row::set_bool<elm_entry_editable_set> },
    { "context-menu-disabled", row::set_bool<elm_entry_context_menu_disabled_set> },
    { "scrollable", row::set_bool<elm_entry_scrollable_set> },
    { "file-path", row::keep_text_skip_empty<&EntryFile::path> },
    { "autosave", row::set_bool<elm_entry_autosave_set> },
    { "text-format", row::keep_int<&EntryFile::format> },
};

// A preview must never write the IDE's file: with autosave on, the toolkit
// rewrites a loaded file (line ends and markup normalised) or creates a
// missing one, so autosave is turned off before a file is attached.
void entry_load_file(Evas_Object* entry, EntryFile& f)
{
    if (f.path.empty() || !value_file_loadable(entry, f.path, ENTRY_FILE_LIMIT))
        return;
    elm_entry_autosave_set(entry, EINA_FALSE);
    int format = f.format.value_or(ELM_TEXT_FORMAT_PLAIN_UTF8);
    if (!elm_entry_file_set(entry, f.path.c_str(), static_cast<Elm_Text_Format>(format)))
        node_diag(entry, "cannot load \"%s\" with text format %d", f.path.c_str(), format);
}

constexpr auto ENTRY_TABLE = property_table(ENTRY_ROWS, { .after = entry_load_file });
constexpr auto entry_set_property = set_property_by<ENTRY_TABLE>;

} // namespace

extern const WidgetAdapter entry_adapter = {
    .add = elm_entry_add,
    .remove = remove_widget,
    .set_property = entry_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
