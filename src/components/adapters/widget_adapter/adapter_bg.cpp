// Background; also the page-level "zelva.doc" and "zelva.content".
#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"

namespace {

const Row<IntPair> BG_ROWS[] = {
    { "image-path", row::set_path<elm_bg_file_set> },
    { "option", row::set_int<elm_bg_option_set> },
    { "color", row::set_color<elm_bg_color_set> },
    { "load-size-width", row::keep_int<&IntPair::first> },
    { "load-size-height", row::keep_int<&IntPair::second> },
};

constexpr auto BG_TABLE = property_table(BG_ROWS, { .after = int_pair_after<elm_bg_load_size_set> });
constexpr auto bg_set_property = set_property_by<BG_TABLE>;

} // namespace

extern const WidgetAdapter bg_adapter = {
    .add = elm_bg_add,
    .remove = remove_widget,
    .set_property = bg_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
