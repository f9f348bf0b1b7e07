#include "components/adapters/widget_adapter/memory_bounds.h"

#include <malloc.h>

#include "components/adapters/Adapter.h"

namespace {

// Blocks from this size up are mapped and unmapped on their own.
const int LARGE_BLOCK_BYTES = 1 << 20;

} // namespace

void memory_bounds_init()
{
    elm_config_cursor_engine_only_set(EINA_TRUE);
    mallopt(M_MMAP_THRESHOLD, LARGE_BLOCK_BYTES);
}
