#include "components/msg_writer/image_buffer.h"

#include <Ecore_Evas.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {
int int_data(Evas_Object* obj, const char* key, int fallback)
{
    auto* value = static_cast<int*>(evas_object_data_get(obj, key));
    return value ? *value : fallback;
}
} // namespace

// The IDE wants the created size at the page's origin. The canvas may be
// larger or smaller than that, so the copy is clipped to the real canvas and
// the image declares the size actually copied.
void ImageBuffer::updateImageBuffer(Evas_Object* win)
{
    int W = int_data(win, "win-width", 1);
    int H = int_data(win, "win-height", 1);
    auto* page = static_cast<Evas_Object*>(evas_object_data_get(win, "page"));
    int px = 0, py = 0;
    if (page)
        evas_object_geometry_get(page, &px, &py, nullptr, nullptr);

    Ecore_Evas* ee = ecore_evas_ecore_evas_get(evas_object_evas_get(win));
    if (!ee)
        return;
    const auto* pixels = static_cast<const uint32_t*>(ecore_evas_buffer_pixels_get(ee));
    if (!pixels)
        return;
    int cw = 0, ch = 0;
    ecore_evas_geometry_get(ee, nullptr, nullptr, &cw, &ch);

    free(m_pBuf);
    m_pBuf = nullptr;
    m_iDepth = 32;
    int ox = 0, oy = 0, w = cw, h = ch;
    if (W < cw || H < ch) {
        ox = std::clamp(-px, 0, cw);
        oy = std::clamp(-py, 0, ch);
        w = std::clamp(W, 0, cw - ox);
        h = std::clamp(H, 0, ch - oy);
    }
    m_iWidth = std::max(w, 0);
    m_iHeight = std::max(h, 0);
    m_iByteSize = m_iWidth * m_iHeight * 4;
    if (m_iByteSize == 0)
        return;
    m_pBuf = malloc(size_t(m_iByteSize));
    if (!m_pBuf) {
        m_iWidth = m_iHeight = m_iByteSize = 0;
        return;
    }
    auto* out = static_cast<uint32_t*>(m_pBuf);
    for (int r = 0; r < m_iHeight; ++r)
        memcpy(out + size_t(r) * m_iWidth, pixels + size_t(r + oy) * cw + ox, size_t(m_iWidth) * 4);
}
