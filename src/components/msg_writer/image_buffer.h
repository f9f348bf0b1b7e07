#pragma once
#include <Evas.h>

// A snapshot of a window's pixels, cropped to the size the window was created with.
class ImageBuffer {
public:
    // Why a snapshot holds no pixels.
    enum class Status {
        Pixels,    // width x height pixels were copied
        NoArea,    // the created size or the canvas is empty: nothing to show
        NoCanvas,  // the toolkit has no canvas pixels for the window
        Outside,   // the page lies outside its canvas
        NoMemory,  // the copy could not be allocated
    };

    ~ImageBuffer() = default; // the block goes to whoever took it
    // Copies the pixels into a new block, after `room` spare bytes at its start
    // (a message preamble can go there, so the block is sent without another copy).
    Status updateImageBuffer(Evas_Object* win, int room = 0);
    int getWidth() const { return m_iWidth; }
    int getHeight() const { return m_iHeight; }
    int getDepth() const { return m_iDepth; }
    int getByteSize() const { return m_iByteSize; }
    // The pixels; the block to free is getBlock(), `room` bytes before them.
    void* getBuf() const { return m_pBlock ? static_cast<char*>(m_pBlock) + m_iRoom : nullptr; }
    void* getBlock() const { return m_pBlock; }

private:
    Status clear(Status why);

    int m_iWidth = 0;
    int m_iHeight = 0;
    int m_iDepth = 0;
    int m_iByteSize = 0;
    int m_iRoom = 0;
    void* m_pBlock = nullptr;
};
