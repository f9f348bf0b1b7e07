#pragma once
#include "components/connector/buffer.h"

// Hands out malloc blocks. Deleting it does not free the block: whoever took
// the pointer releases it with free(), or calls freeAllocBuffer() first.
class AllocBuffer : public Buffer {
public:
    void* allocNewBuffer(int n) override;
    void freeAllocBuffer() override;
};
