#include <strings.h>

#include "components/adapters/Adapter.h"
#include "components/adapters/container_adapter/container_shared.h"

namespace {

// A view is a conformant holding a naviframe whose one page, without a
// title bar, shows the view's child. The view finds its naviframe in its
// own content part, so nothing process-wide can point at another view's.
Evas_Object* view_naviframe(Evas_Object* view)
{
    Evas_Object* nf = elm_object_part_content_get(view, CONFORMANT_CONTENT_PART);
    const char* type = nf ? elm_object_widget_type_get(nf) : nullptr;
    return type && strcasecmp(type, "Elm_Naviframe") == 0 ? nf : nullptr;
}

Evas_Object* view_add(Evas_Object* parent)
{
    if (!parent)
        return nullptr;
    Evas_Object* view = elm_conformant_add(parent);
    Evas_Object* nf = elm_naviframe_add(view);
    elm_object_part_content_set(view, CONFORMANT_CONTENT_PART, nf);
    naviframe_push_untitled(nf, nullptr);
    return view;
}

bool view_pack(Evas_Object* view, Evas_Object* child, _WidgetInfo*)
{
    if (!view || !child)
        return false;
    Evas_Object* nf = view_naviframe(view);
    if (!nf)
        return true;
    Elm_Object_Item* page = naviframe_replace_page(view, nf, child);
    if (page)
        elm_naviframe_item_title_enabled_set(page, EINA_FALSE, EINA_FALSE);
    return true;
}

bool view_unpack(Evas_Object* view, Evas_Object*, _WidgetInfo*)
{
    if (!view)
        return false;
    if (Evas_Object* nf = view_naviframe(view))
        elm_naviframe_item_pop(nf);
    return true;
}

} // namespace

extern const WidgetAdapter view_adapter = {
    .add = view_add,
    .remove = remove_widget,
    .set_property = indicator_set_property,
    .pack = view_pack,
    .unpack = view_unpack,
};
