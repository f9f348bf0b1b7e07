#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"

namespace {

struct LayoutFile {
    std::string file, group;
};

const Row<LayoutFile> LAYOUT_ROWS[] = {
    { "file-path", row::keep_text<&LayoutFile::file> },
    { "group-name", row::keep_text<&LayoutFile::group> },
};

void layout_file(Evas_Object* layout, LayoutFile& f)
{
    if (!f.file.empty() && !f.group.empty() && prop_file(layout, f.file))
        elm_layout_file_set(layout, f.file.c_str(), f.group.c_str());
}

constexpr auto LAYOUT_TABLE = property_table(LAYOUT_ROWS, { .after = layout_file });
constexpr auto layout_set_property = set_property_by<LAYOUT_TABLE>;

} // namespace

extern const WidgetAdapter layout_adapter = {
    .add = elm_layout_add,
    .remove = remove_widget,
    .set_property = layout_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
