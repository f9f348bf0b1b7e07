#pragma once
#include <Evas.h>

#include <cstddef>

// A block kept from one snapshot to the next: a fresh block of a frame's size
// is mapped page by page as the copy first touches it, which costs four times
// the copy itself. Blocks over LIMIT bytes are not kept.
class ReusedBlock {
public:
    static constexpr size_t LIMIT = size_t(16) << 20;
    ReusedBlock() = default;
    ReusedBlock(const ReusedBlock&) = delete;
    ReusedBlock& operator=(const ReusedBlock&) = delete;
    ~ReusedBlock();
    // At least `bytes` bytes, valid until the next call; null over LIMIT or
    // when memory runs out.
    void* get(size_t bytes);

private:
    void* m_pBlock = nullptr;
    size_t m_iCapacity = 0;
};

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

    ~ImageBuffer() = default; // an owned block goes to whoever took it
    // Copies the pixels into a block, after `room` spare bytes at its start
    // (a message preamble can go there, so the block is sent without another
    // copy): `reuse`'s block when given and large enough, else a new one.
    Status updateImageBuffer(Evas_Object* win, int room = 0, ReusedBlock* reuse = nullptr);
    int getWidth() const { return m_iWidth; }
    int getHeight() const { return m_iHeight; }
    int getDepth() const { return m_iDepth; }
    int getByteSize() const { return m_iByteSize; }
    // The pixels, `room` bytes into getBlock(); the caller frees that block
    // unless it came from a ReusedBlock (ownsBlock() false).
    void* getBuf() const { return m_pBlock ? static_cast<char*>(m_pBlock) + m_iRoom : nullptr; }
    void* getBlock() const { return m_pBlock; }
    bool ownsBlock() const { return m_pBlock && m_bOwned; }

private:
    Status clear(Status why);

    int m_iWidth = 0;
    int m_iHeight = 0;
    int m_iDepth = 0;
    int m_iByteSize = 0;
    int m_iRoom = 0;
    bool m_bOwned = true;
    void* m_pBlock = nullptr;
};
