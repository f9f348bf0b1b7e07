#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"
#include "components/adapters/widget_adapter/memory_bounds.h"
#include "components/adapters/widget_adapter/value_shared.h"

namespace {

// The toolkit stores any number as the mode; only its list and grid views exist.
void fileselector_mode(Evas_Object* fileselector, const std::string& v, WalkSlots&)
{
    int mode;
    if (!prop_int(v, mode))
        return;
    if (mode < 0 || mode >= ELM_FILESELECTOR_LAST) {
        value_diag(fileselector, "mode %d is neither list (0) nor grid (1); ignored", mode);
        return;
    }
    elm_fileselector_mode_set(fileselector, static_cast<Elm_Fileselector_Mode>(mode));
}

const PropertyRule FILESELECTOR_RULES[] = {
    { "path", value_rule::set_text_null_if_empty<elm_fileselector_path_set> },
    { "selected", value_rule::set_text_null_if_empty<elm_fileselector_selected_set> },
    { "save", rule::set_bool<elm_fileselector_is_save_set> },
    { "folder-only", rule::set_bool<elm_fileselector_folder_only_set> },
    { "buttons-set", rule::set_bool<elm_fileselector_buttons_ok_cancel_set> },
    { "expandable", rule::set_bool<elm_fileselector_expandable_set> },
    { "thumbnail-size-width", rule::ignore },
    { "thumbnail-size-height", rule::ignore },
    { "mode", fileselector_mode },
    { "multi-select", rule::ignore },
    { "hidded-visible", rule::ignore },
    { "sort", rule::ignore },
};

bool fileselector_set_property(Evas_Object* fileselector, _WidgetInfo* node, std::string)
{
    WalkSlots slots;
    return walk_succeeded(walk_properties(fileselector, node, FILESELECTOR_RULES, slots));
}

} // namespace

extern const WidgetAdapter fileselector_adapter = {
    .add = elm_fileselector_add,
    .remove = remove_file_picker,
    .set_property = fileselector_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
