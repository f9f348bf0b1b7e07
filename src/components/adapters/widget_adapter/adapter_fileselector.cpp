#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/picker_shared.h"

namespace {

// The toolkit stores any number as the mode; only its list and grid views exist.
void fileselector_mode(Evas_Object* fileselector, const std::string& v, NoState&)
{
    int mode;
    if (!prop_int(v, mode))
        return;
    if (mode < 0 || mode >= ELM_FILESELECTOR_LAST) {
        node_diag(fileselector, "mode %d is neither list (0) nor grid (1); ignored", mode);
        return;
    }
    elm_fileselector_mode_set(fileselector, static_cast<Elm_Fileselector_Mode>(mode));
}

constexpr auto FILE_ROWS = picker_file_rows<NoState>();

const Row<NoState> FILESELECTOR_ROWS[] = {
    FILE_ROWS[0],
    FILE_ROWS[1],
    FILE_ROWS[2],
    FILE_ROWS[3],
    FILE_ROWS[4],
    { "buttons-set", row::set_bool<elm_fileselector_buttons_ok_cancel_set> },
    { "mode", fileselector_mode },
    { "thumbnail-size-width", row::ignore },
    { "thumbnail-size-height", row::ignore },
    { "multi-select", row::ignore },
    { "hidded-visible", row::ignore },
    { "sort", row::ignore },
};

constexpr PropertyTable<NoState> FILESELECTOR_TABLE = property_table(FILESELECTOR_ROWS);

bool fileselector_set_property(Evas_Object* fileselector, _WidgetInfo* node, std::string)
{
    return set_properties(fileselector, node, FILESELECTOR_TABLE);
}

} // namespace

extern const WidgetAdapter fileselector_adapter = {
    .add = elm_fileselector_add,
    .remove = remove_file_picker,
    .set_property = fileselector_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
