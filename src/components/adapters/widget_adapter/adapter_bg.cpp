// Background; also the page-level "zelva.doc" and "zelva.content".
#include <optional>

#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"

namespace {

struct LoadSize {
    std::optional<int> width, height;
};

const Row<LoadSize> BG_ROWS[] = {
    { "image-path", row::set_path<elm_bg_file_set> },
    { "option", row::set_int<elm_bg_option_set> },
    { "color", row::set_color<elm_bg_color_set> },
    { "load-size-width", row::keep_int<&LoadSize::width> },
    { "load-size-height", row::keep_int<&LoadSize::height> },
};

void bg_load_size(Evas_Object* bg, LoadSize& s)
{
    if (s.width && s.height)
        elm_bg_load_size_set(bg, *s.width, *s.height);
}

constexpr auto BG_TABLE = property_table(BG_ROWS, { .after = bg_load_size });
constexpr auto bg_set_property = set_property_by<BG_TABLE>;

} // namespace

extern const WidgetAdapter bg_adapter = {
    .add = elm_bg_add,
    .remove = remove_widget,
    .set_property = bg_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
