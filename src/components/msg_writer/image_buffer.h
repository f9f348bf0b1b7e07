#pragma once
#include <Evas.h>

// A snapshot of a window's pixels, cropped to the size the window was created with.
class ImageBuffer {
public:
    ~ImageBuffer() = default; // the block goes to whoever took it
    void updateImageBuffer(Evas_Object* win);
    int getWidth() const { return m_iWidth; }
    int getHeight() const { return m_iHeight; }
    int getDepth() const { return m_iDepth; }
    int getByteSize() const { return m_iByteSize; }
    void* getBuf() const { return m_pBuf; }

private:
    int m_iWidth = 0;
    int m_iHeight = 0;
    int m_iDepth = 0;
    int m_iByteSize = 0;
    void* m_pBuf = nullptr;
};
