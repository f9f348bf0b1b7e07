#pragma once
#include "components/messages/frame_limits.h"
#include "components/messages/msg.h"

// A paint message: a 20-byte preamble (id, 11, width, height, depth) and the pixels.
class MsgResponsePaint : public virtual Msg {
public:
    MsgResponsePaint();
    ~MsgResponsePaint() override;

    void setWidth(int w) { m_iWidth = w; }
    int getWidth() const { return m_iWidth; }
    void setHeight(int h) { m_iHeight = h; }
    int getHeight() const { return m_iHeight; }
    void setDepth(int d) { m_iDepth = d; }
    int getDepth() const { return m_iDepth; }
    void setBuffer(const void* b) { m_pBuffer = b; }
    // The pixels sit PREAMBLE spare bytes into a block of their own (see
    // ImageBuffer): serialize writes the preamble there and returns a view of
    // the block, so the megabytes are not copied again.
    void setBufferAfterRoom(void* b)
    {
        m_pBuffer = b;
        m_pRoom = static_cast<char*>(b) - PREAMBLE;
    }
    const void* getBuffer() const { return m_pBuffer; }
    void setBufferSize(int n) { m_iBufferSize = n; }
    int getBufferSize() const { return m_iBufferSize; }

    std::unique_ptr<IBuffer> serialize() const override;
    void deserialize() override {}
    void doMsg() override {}

    static const int PREAMBLE = PAINT_PREAMBLE_SIZE;

private:
    int m_iWidth = 0;
    int m_iHeight = 0;
    int m_iDepth = 0;
    const void* m_pBuffer = nullptr;
    char* m_pRoom = nullptr;
    int m_iBufferSize = 0;
};
