#pragma once
#include <memory>

// Buffers are deleted through this interface (the writer holds the body of
// every message it sends as one).
class IBuffer {
public:
    virtual ~IBuffer() = default;
    virtual void setSize(int size) = 0;
    virtual int getSize() const = 0;
    virtual void setBuffer(const void* data) = 0;
    virtual const void* getBuffer() const = 0;
    virtual void* allocNewBuffer(int n) = 0;
    virtual void freeAllocBuffer() = 0;
};

// A view: never owns the bytes it points at.
class Buffer : public virtual IBuffer {
public:
    void setSize(int size) override { m_iSize = size; }
    int getSize() const override { return m_iSize; }
    void setBuffer(const void* data) override { m_pData = data; }
    const void* getBuffer() const override { return m_pData; }
    void* allocNewBuffer(int) override { return nullptr; }
    void freeAllocBuffer() override {}

protected:
    int m_iSize = 0;
    const void* m_pData = nullptr;
};
