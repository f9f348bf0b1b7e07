#include "components/adapters/widget_adapter/memory_bounds.h"

#include <malloc.h>

#include "components/adapters/Adapter.h"

namespace {

// Blocks from this size up are mapped and unmapped on their own.
const int LARGE_BLOCK_BYTES = 1 << 20;
// The toolkit's queue of deferred frees lets freed objects pile up to 32 MB
// before the oldest go; a re-render frees a whole tree, so the queue stayed
// full and the engine some 35 MB larger. The oldest frees are long past any
// late access the queue guards against.
const size_t DEFERRED_FREE_BYTES = 1 << 20;

Ecore_Idler* s_release = nullptr;

Eina_Bool release_free_pages(void*)
{
    s_release = nullptr;
    malloc_trim(0);
    return ECORE_CALLBACK_CANCEL;
}

} // namespace

void memory_bounds_init()
{
    elm_config_cursor_engine_only_set(EINA_TRUE);
    mallopt(M_MMAP_THRESHOLD, LARGE_BLOCK_BYTES);
    eina_freeq_mem_max_set(eina_freeq_main_get(), DEFERRED_FREE_BYTES);
}

void memory_bounds_release_when_idle()
{
    if (!s_release)
        s_release = ecore_idler_add(release_free_pages, nullptr);
}

void memory_bounds_release_pending()
{
    if (!s_release)
        return;
    ecore_idler_del(s_release);
    release_free_pages(nullptr);
}
