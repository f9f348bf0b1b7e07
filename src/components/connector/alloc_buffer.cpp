#include "components/connector/alloc_buffer.h"

#include <cstdlib>

void* AllocBuffer::allocNewBuffer(int n)
{
    freeAllocBuffer();
    void* block = malloc(n > 0 ? size_t(n) : 1);
    m_iSize = block ? n : 0;
    m_pData = block;
    return block;
}

void AllocBuffer::freeAllocBuffer()
{
    free(take());
}

void* AllocBuffer::take()
{
    void* block = const_cast<void*>(m_pData);
    m_pData = nullptr;
    m_iSize = 0;
    return block;
}
