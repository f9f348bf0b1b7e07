// Render data: the backslash marker, the JSON reader, node shapes, property
// escapes and the tree limits, as the render command reads them before it
// builds anything.
#include <cstdlib>

#include "components/adapters/widget_info.h"
#include "fuzz_support.h"
#include "threads/dequeue_thread/cmd_render.h"

namespace {

// Every node within the limits and linked to its parent; property names in
// ascending byte order.
void check(const _WidgetInfo* node, const _WidgetInfo* parent, int depth, int& count)
{
    FUZZ_REQUIRE(depth <= MAX_RENDER_DEPTH && ++count <= MAX_RENDER_NODES && node->parent == parent);
    const Eina_List* l;
    void* data;
    const std::string* previous = nullptr;
    EINA_LIST_FOREACH(node->properties, l, data)
    {
        auto* p = static_cast<const Property*>(data);
        FUZZ_REQUIRE(!previous || *previous < p->name);
        previous = &p->name;
    }
    EINA_LIST_FOREACH(node->children, l, data)
        check(static_cast<const _WidgetInfo*>(data), node, depth + 1, count);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz_init_once();
    CmdRender cmd;
    cmd.setRenderData(fuzz_text(data, size));
    WidgetInfoPtr root = cmd.createWingetsInfo();
    FUZZ_REQUIRE(!root || cmd.refusal().empty());
    int count = 0;
    if (root)
        check(root.get(), nullptr, 1, count);
    return 0;
}
