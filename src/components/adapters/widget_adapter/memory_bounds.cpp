#include "components/adapters/widget_adapter/memory_bounds.h"

#include <malloc.h>

#include "components/adapters/Adapter.h"
#include "utils/idle_once.h"

namespace {

// Blocks from this size up are mapped and unmapped on their own.
const int LARGE_BLOCK_BYTES = 1 << 20;
// The toolkit's queue of deferred frees lets freed objects pile up to 32 MB
// before the oldest go; a re-render frees a whole tree, so the queue stayed
// full and the engine some 35 MB larger. The oldest frees are long past any
// late access the queue guards against.
const size_t DEFERRED_FREE_BYTES = 1 << 20;

IdleOnce s_release([] { malloc_trim(0); });

} // namespace

void memory_bounds_init()
{
    elm_config_cursor_engine_only_set(EINA_TRUE);
    mallopt(M_MMAP_THRESHOLD, LARGE_BLOCK_BYTES);
    eina_freeq_mem_max_set(eina_freeq_main_get(), DEFERRED_FREE_BYTES);
}

void memory_bounds_release_when_idle()
{
    s_release.schedule();
}

void memory_bounds_release_pending()
{
    s_release.run_now();
}
