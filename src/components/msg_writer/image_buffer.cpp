#include "components/msg_writer/image_buffer.h"

#include <Ecore_Evas.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {
int int_data(Evas_Object* obj, const char* key, int fallback)
{
    auto* value = static_cast<int*>(evas_object_data_get(obj, key));
    return value ? *value : fallback;
}
} // namespace

ReusedBlock::~ReusedBlock()
{
    free(m_pBlock);
}

void* ReusedBlock::get(size_t bytes)
{
    if (bytes <= m_iCapacity)
        return m_pBlock;
    free(m_pBlock);
    m_pBlock = nullptr;
    m_iCapacity = 0;
    if (bytes > LIMIT)
        return nullptr;
    m_pBlock = malloc(bytes);
    m_iCapacity = m_pBlock ? bytes : 0;
    return m_pBlock;
}

ImageBuffer::Status ImageBuffer::clear(Status why)
{
    if (m_bOwned)
        free(m_pBlock);
    m_pBlock = nullptr;
    m_bOwned = true;
    m_iWidth = m_iHeight = m_iDepth = m_iByteSize = 0;
    return why;
}

// The IDE wants the created size at the page's origin. The canvas may be
// larger or smaller than that, so the copy is clipped to the real canvas and
// the image declares the size actually copied; when nothing is left, no
// pixels at all (the protocol's empty paint), never a size without them.
ImageBuffer::Status ImageBuffer::updateImageBuffer(Evas_Object* win, int room, ReusedBlock* reuse)
{
    int W = int_data(win, "win-width", 1);
    int H = int_data(win, "win-height", 1);
    auto* page = static_cast<Evas_Object*>(evas_object_data_get(win, "page"));
    int px = 0, py = 0;
    if (page)
        evas_object_geometry_get(page, &px, &py, nullptr, nullptr);

    Ecore_Evas* ee = ecore_evas_ecore_evas_get(evas_object_evas_get(win));
    const auto* pixels = ee ? static_cast<const uint32_t*>(ecore_evas_buffer_pixels_get(ee)) : nullptr;
    int cw = 0, ch = 0;
    if (ee)
        ecore_evas_geometry_get(ee, nullptr, nullptr, &cw, &ch);
    if (W <= 0 || H <= 0)
        return clear(Status::NoArea);
    if (!pixels || cw <= 0 || ch <= 0)
        return clear(Status::NoCanvas);

    int ox = 0, oy = 0, w = cw, h = ch;
    if (W < cw || H < ch) {
        ox = std::clamp(-px, 0, cw);
        oy = std::clamp(-py, 0, ch);
        w = std::clamp(W, 0, cw - ox);
        h = std::clamp(H, 0, ch - oy);
    }
    if (w <= 0 || h <= 0)
        return clear(Status::Outside);
    size_t bytes = size_t(w) * size_t(h) * 4;
    clear(Status::Pixels);
    m_pBlock = reuse ? reuse->get(size_t(room) + bytes) : nullptr;
    m_bOwned = !m_pBlock;
    if (!m_pBlock)
        m_pBlock = malloc(size_t(room) + bytes);
    if (!m_pBlock)
        return clear(Status::NoMemory);
    m_iRoom = room;
    m_iWidth = w;
    m_iHeight = h;
    m_iDepth = 32;
    m_iByteSize = int(bytes);
    auto* out = static_cast<char*>(m_pBlock) + room;
    const auto* from = reinterpret_cast<const char*>(pixels + size_t(oy) * size_t(cw) + size_t(ox));
    if (w == cw) {
        memcpy(out, from, bytes);
        return Status::Pixels;
    }
    for (int r = 0; r < h; ++r)
        memcpy(out + size_t(r) * size_t(w) * 4, from + size_t(r) * size_t(cw) * 4, size_t(w) * 4);
    return Status::Pixels;
}
