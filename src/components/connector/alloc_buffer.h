#pragma once
#include "components/connector/buffer.h"

// Owns the malloc block it hands out: a new allocation, freeAllocBuffer() or
// the buffer's end frees it, unless take() passed it on first.
class AllocBuffer : public Buffer {
public:
    AllocBuffer() = default;
    AllocBuffer(const AllocBuffer&) = delete;
    AllocBuffer& operator=(const AllocBuffer&) = delete;
    ~AllocBuffer() override { freeAllocBuffer(); }
    void* allocNewBuffer(int n) override;
    void freeAllocBuffer() override;
    // The block, now the caller's to free; the buffer is left empty.
    void* take();
};
