#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"

namespace {

enum { FILE_PATH, GROUP_NAME };

const PropertyRule LAYOUT_RULES[] = {
    { "file-path", rule::keep_text<FILE_PATH> },
    { "group-name", rule::keep_text<GROUP_NAME> },
};

bool layout_set_property(Evas_Object* layout, _WidgetInfo* node, std::string)
{
    WalkSlots slots;
    WalkResult r = walk_properties(layout, node, LAYOUT_RULES, slots);
    const std::string& file = slots.texts[FILE_PATH];
    const std::string& group = slots.texts[GROUP_NAME];
    if (r == WalkResult::Walked && !file.empty() && !group.empty() && prop_file(layout, file))
        elm_layout_file_set(layout, file.c_str(), group.c_str());
    return walk_succeeded(r);
}

} // namespace

extern const WidgetAdapter layout_adapter = {
    .add = elm_layout_add,
    .remove = remove_widget,
    .set_property = layout_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
