#pragma once
#include <cstdlib>
#include <memory>

// A malloc block with one owner: request bodies, pixel snapshots and JSON
// texts cross module boundaries as such blocks and are released with free().
struct FreeBlock {
    void operator()(void* block) const noexcept { std::free(block); }
};
template <class T = void>
using HeapBlock = std::unique_ptr<T, FreeBlock>;
