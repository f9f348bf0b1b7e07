#include "components/adapters/Adapter.h"
#include "components/adapters/property_walk.h"

namespace {

const Row<NoState> LABEL_ROWS[] = {
    { "ellipsis", row::set_bool<elm_label_ellipsis_set> },
    { "wrap-width", row::set_int<elm_label_wrap_width_set> },
    { "wrap-set", row::set_int<elm_label_line_wrap_set> },
    { "slide-mode", row::set_int<elm_label_slide_mode_set> },
    { "duration", row::set_real<elm_label_slide_duration_set> },
    { "slide-speed", row::ignore },
};

constexpr auto LABEL_TABLE = property_table(LABEL_ROWS);
constexpr auto label_set_property = set_property_by<LABEL_TABLE>;

} // namespace

extern const WidgetAdapter label_adapter = {
    .add = elm_label_add,
    .remove = remove_widget,
    .set_property = label_set_property,
    .pack = pack_unsupported,
    .unpack = unpack_unsupported,
};
