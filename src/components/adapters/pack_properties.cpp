#include "components/adapters/pack_properties.h"

#include "components/adapters/property_walk.h"

namespace {

int read_int(const _WidgetInfo* node, const char* name, int absent)
{
    const std::string* value = widget_info_property(node, name);
    int out = absent;
    if (value)
        prop_int(*value, out);
    return out;
}

} // namespace

PackArea read_pack_area(const _WidgetInfo* child, int absentPosition, int absentSize)
{
    return PackArea {
        read_int(child, "pack-left", absentPosition),
        read_int(child, "pack-top", absentPosition),
        read_int(child, "pack-width", absentSize),
        read_int(child, "pack-height", absentSize),
    };
}
